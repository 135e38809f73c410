#!/usr/bin/env bash
# What the real editor costs while the user thinks and while the user paints:
# CPU-seconds over 10 s idle (focused, no input) and over 10 s of a FREE
# stroke across the map, and the pictures pushed to the window per second in
# each, on a 256 x 256 map under Xvfb at 1280 x 1024 (picture scaled 1.6x)
# with openbox. Each figure is the median of RUNS runs (default 5).
#   bench/idle.sh [BRINDLECOT]        (default build/brindlecot)
#
# CPU-seconds come from the process's own user + system time, which other
# load on the machine barely changes. Pushes are counted with a gdb breakpoint
# on the window's paint handler in windows of their own, so that the stops do
# not touch the CPU figures. The longest frame of the stroke is read from the
# editor's frame-time history after the stroke, where the binary has one.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$(realpath "${1:-$root/build/brindlecot}")"
runs="${RUNS:-5}"
if [ -z "${IDLE_INNER:-}" ]; then
  exec env IDLE_INNER=1 RUNS="$runs" xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$bin"
fi

work="$(mktemp -d)"
pid=""
wm=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
openbox >/dev/null 2>&1 & wm=$!
sleep 1

# A 256 x 256 map of 32 x 32 chips, every cell one of the 64 sample chips.
awk 'BEGIN {
  printf "BrindlecotVer0.93b\r\n--------------------------------\r\n@BMP chips.bmp\r\n"
  printf "@KOMA_X 256\r\n@KOMA_Y 256\r\n@TIP_X 32\r\n@TIP_Y 32\r\n--------------------------------\r\n"
  for (r = 0; r < 256; ++r) {
    for (p = 0; p < 3; ++p) {
      printf "@%05d:%s", r, substr("XYA", p + 1, 1)
      for (c = 0; c < 256; ++c) {
        v = p == 0 ? ((c * 7 + r) % 8) * 32 : (p == 1 ? ((c + r * 3) % 8) * 32 : 0)
        printf ",%4d", v
      }
      printf "\r\n"
    }
  }
}' > "$work/map256.bct"
cp "$root/samples/chips.bmp" "$root/samples/Brin.bmp" "$work/"
section="$(printf 'ふぁいる' | iconv -f UTF-8 -t CP932)"
printf '[%s]\r\nBMP=%s/chips.bmp\r\nBCT=%s/map256.bct\r\nBG=%s/Brin.bmp\r\n' "$section" "$work" "$work" "$work" \
  > "$work/Brindlecot.ini"

tck="$(getconf CLK_TCK)"
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# Screen position of a picture position (the picture is scaled 1.6x and
# centred: 1280 x 960 at y 32).
sx() { echo $(( $1 * 8 / 5 )); }
sy() { echo $(( 32 + $1 * 8 / 5 )); }

# stroke SECONDS: the primary button held over the map window while the
# pointer sweeps back and forth across it.
stroke() {
  local end=$((SECONDS + $1)) x=320 dx=24
  xdotool mousemove "$(sx $x)" "$(sy 300)" mousedown 1
  while [ $SECONDS -lt $end ]; do
    x=$((x + dx))
    if [ $x -gt 760 ] || [ $x -lt 320 ]; then dx=$((-dx)); x=$((x + 2 * dx)); fi
    xdotool mousemove "$(sx $x)" "$(sy $(( 200 + (x % 200) )))"
    sleep 0.05
  done
  xdotool mouseup 1
}

# pushes SECONDS COMMAND...: paint events of the editor while COMMAND runs
# (COMMAND takes about SECONDS); prints pushes per second.
pushes() {
  local secs=$1; shift
  local log="$work/gdb.log"
  "$@" &
  local driver=$!
  timeout -s INT "$secs" gdb -q -p "$pid" -batch \
    -ex "break '(anonymous namespace)::MainWidget::paintEvent'" -ex 'ignore 1 10000000' -ex continue \
    -ex 'info breakpoints' >"$log" 2>&1 || true
  wait "$driver" || true
  local hits
  hits="$(sed -nE 's/.*already hit ([0-9]+) time.*/\1/p' "$log" | head -1)"
  awk -v h="${hits:-0}" -v s="$secs" 'BEGIN { printf "%.1f", h / s }'
}

idle10() { sleep 10; }
stroke10() { stroke 10; }

longest_stroke_frame() {
  # The frame-time history: the newest entries are the stroke's frames.
  { gdb -q -p "$pid" -batch -ex 'print frameTimeNext' -ex 'print/u frameTimeLog' 2>/dev/null || true; } | awk '
    /^\$1 = / { next_ = $3 }
    /^\$2 = / { sub(/^\$2 = \{/, ""); sub(/\}$/, ""); n = split($0, v, ", ");
      for (i = 0; i < 600; ++i) { k = (next_ - 1 - i) % n; if (k < 0) k += n; if (v[k + 1] + 0 > m) m = v[k + 1] + 0 }
      found = 1 }
    END { if (found) print m; else print "n/a" }'
}

declare -a idle_cpu stroke_cpu idle_push stroke_push longest
for run in $(seq 1 "$runs"); do
  rm -f "$work/Brindlecot.ini.bak"
  (cd "$work" && exec "$bin") >/dev/null 2>&1 & pid=$!
  for _ in $(seq 100); do xdotool search --onlyvisible --name Brindlecot2D >/dev/null 2>&1 && break; sleep 0.1; done
  dlg="$(xdotool search --onlyvisible --name Brindlecot2D | head -1)"
  xdotool windowactivate --sync "$dlg" 2>/dev/null || xdotool windowfocus --sync "$dlg"
  sleep 0.3
  xdotool key Return
  for _ in $(seq 100); do xdotool search --onlyvisible --name '^Brindlecot$' >/dev/null 2>&1 && break; sleep 0.1; done
  win="$(xdotool search --onlyvisible --name '^Brindlecot$' | head -1)"
  xdotool windowactivate --sync "$win" 2>/dev/null || true
  xdotool mousemove "$(sx 520)" "$(sy 330)"
  sleep 3

  t0=$(cpu_ticks "$pid"); sleep 10; t1=$(cpu_ticks "$pid")
  idle_cpu+=("$(awk -v a="$t0" -v b="$t1" -v t="$tck" 'BEGIN { printf "%.2f", (b - a) / t }')")
  idle_push+=("$(pushes 10 idle10)")

  # FREE mode, then the stroke.
  xdotool mousemove "$(sx 464)" "$(sy 40)"; sleep 0.2; xdotool click 1; sleep 0.3
  t0=$(cpu_ticks "$pid"); stroke 10; t1=$(cpu_ticks "$pid")
  stroke_cpu+=("$(awk -v a="$t0" -v b="$t1" -v t="$tck" 'BEGIN { printf "%.2f", (b - a) / t }')")
  longest+=("$(longest_stroke_frame)")
  stroke_push+=("$(pushes 10 stroke10)")

  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
  echo "run $run: idle ${idle_cpu[-1]} CPU-s, ${idle_push[-1]} pushes/s; stroke ${stroke_cpu[-1]} CPU-s," \
    "${stroke_push[-1]} pushes/s, longest frame ${longest[-1]} ms" >&2
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "bench/idle.sh on $(basename "$bin"), $(date -u +%Y-%m-%d), $(nproc) cores $(uname -m)," \
  "load average at the end $(cut -d' ' -f1-3 /proc/loadavg); median of $runs runs"
echo "| case | CPU-s per 10 s | pushes per s | longest frame (ms) |"
echo "|---|---|---|---|"
echo "| idle, focused | $(median "${idle_cpu[@]}") | $(median "${idle_push[@]}") | |"
lf="$(median "${longest[@]}")"
[ "${longest[0]}" = "n/a" ] && lf="n/a"
echo "| FREE stroke | $(median "${stroke_cpu[@]}") | $(median "${stroke_push[@]}") | $lf (worst run: $(printf '%s\n' "${longest[@]}" | sort -g | tail -1)) |"
