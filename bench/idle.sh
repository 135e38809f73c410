#!/usr/bin/env bash
# What the real editor costs while the user thinks and while the user paints:
# CPU-seconds over 10 s idle (focused, no input) and over 10 s of a FREE
# stroke across the map, and the pictures pushed to the window per second in
# each, on a 256 x 256 map under Xvfb at 1280 x 1024 (picture scaled 1.6x)
# with openbox. Each figure is the median of RUNS runs (default 5).
#   bench/idle.sh [BRINDLECOT]        (default build/brindlecot)
#
# CPU-seconds come from the process's own user + system time, which other
# load on the machine barely changes. Frames, pictures that changed the
# window, its paints, the longest frame and the frames over 17 ms come from
# the editor's own once-a-second frame log (BRINDLECOT_FRAME_LOG), so nothing
# stops or slows the process while it is measured.
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

# window FIRST LAST: the frame log's lines FIRST..LAST summed; prints
# "frames/s changed/s paints/s longest-ms over17-share%".
window() {
  sed -n "$1,$2p" "$work/frames.log" | awk '
    { ms += $2; f += $4; c += $6; p += $8; if ($10 > l) l = $10; o += $12 }
    END { if (ms == 0) { print "n/a n/a n/a n/a n/a"; exit }
          printf "%.1f %.1f %.1f %d %.1f\n", f * 1000 / ms, c * 1000 / ms, p * 1000 / ms, l, f ? 100 * o / f : 0 }'
}
lines() { wc -l < "$work/frames.log"; }

declare -a idle_cpu stroke_cpu idle_fps idle_push stroke_fps stroke_push longest slow
for run in $(seq 1 "$runs"); do
  rm -f "$work/Brindlecot.ini.bak" "$work/frames.log"
  (cd "$work" && BRINDLECOT_FRAME_LOG="$work/frames.log" exec "$bin") >/dev/null 2>&1 & pid=$!
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

  # Whole log lines only: the first one that starts inside the interval to
  # the last one that ends inside it.
  l0=$(( $(lines) + 2 )); t0=$(cpu_ticks "$pid"); sleep 10; t1=$(cpu_ticks "$pid"); l1=$(lines)
  idle_cpu+=("$(awk -v a="$t0" -v b="$t1" -v t="$tck" 'BEGIN { printf "%.2f", (b - a) / t }')")
  read -r f c _ _ _ <<<"$(window "$l0" "$l1")"
  idle_fps+=("$f"); idle_push+=("$c")

  # FREE mode, then the stroke.
  xdotool mousemove "$(sx 464)" "$(sy 40)"; sleep 0.2; xdotool click 1; sleep 0.3
  l0=$(( $(lines) + 2 )); t0=$(cpu_ticks "$pid"); stroke 10; t1=$(cpu_ticks "$pid"); l1=$(lines)
  stroke_cpu+=("$(awk -v a="$t0" -v b="$t1" -v t="$tck" 'BEGIN { printf "%.2f", (b - a) / t }')")
  read -r f c _ l o <<<"$(window "$l0" "$l1")"
  stroke_fps+=("$f"); stroke_push+=("$c"); longest+=("$l"); slow+=("$o")

  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
  echo "run $run: idle ${idle_cpu[-1]} CPU-s, ${idle_fps[-1]} frames/s, ${idle_push[-1]} presents/s;" \
    "stroke ${stroke_cpu[-1]} CPU-s, ${stroke_fps[-1]} frames/s, ${stroke_push[-1]} presents/s," \
    "longest frame ${longest[-1]} ms, ${slow[-1]} % of frames over 17 ms" >&2
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "bench/idle.sh on $(basename "$bin"), $(date -u +%Y-%m-%d), $(nproc) cores $(uname -m)," \
  "load average at the end $(cut -d' ' -f1-3 /proc/loadavg); median of $runs runs"
echo "| case | CPU-s per 10 s | frames per s | presents per s | longest frame (ms) | frames over 17 ms |"
echo "|---|---|---|---|---|---|"
echo "| idle, focused | $(median "${idle_cpu[@]}") | $(median "${idle_fps[@]}") | $(median "${idle_push[@]}") | | |"
echo "| FREE stroke | $(median "${stroke_cpu[@]}") | $(median "${stroke_fps[@]}") | $(median "${stroke_push[@]}") |" \
  "$(median "${longest[@]}") (worst run $(printf '%s\n' "${longest[@]}" | sort -g | tail -1)) |" \
  "$(median "${slow[@]}") % (worst run $(printf '%s\n' "${slow[@]}" | sort -g | tail -1) %) |"
