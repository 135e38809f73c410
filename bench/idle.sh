#!/usr/bin/env bash
# What the real editor costs while the user thinks and while the user paints:
# CPU-seconds over 10 s idle (focused, no input) and over 10 s of a FREE
# stroke across the map, and the pictures pushed to the window per second in
# each, on a 256 x 256 map under Xvfb at 1280 x 1024 (picture scaled 1.6x)
# with openbox. Each figure is the median of RUNS runs (default 5).
#   bench/idle.sh [BRINDLECOT]        (default build/brindlecot)
# IDLE_SCREEN=WxH sets the screen (default 1280x1024); IDLE_CANVAS=1 starts
# the editor with the canvas the size of the display (がめん=1);
# IDLE_DISPLAY=N runs Xvfb on display N instead of any free one.
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
  server=(-a)
  [ -z "${IDLE_DISPLAY:-}" ] || server=(-n "$IDLE_DISPLAY")
  exec env IDLE_INNER=1 RUNS="$runs" xvfb-run "${server[@]}" -s "-screen 0 ${IDLE_SCREEN:-1280x1024}x24" bash "$0" "$bin"
fi

source "$root/bench/lib.sh"
screen="${IDLE_SCREEN:-1280x1024}"
sw=${screen%x*}
sh=${screen#*x}
start_session
[ "${IDLE_CANVAS:-0}" != 1 ] || use_display_canvas

window() { frame_window "$work/frames.log" "$1" "$2"; }
lines() { log_lines "$work/frames.log"; }

declare -a idle_cpu stroke_cpu idle_fps idle_push stroke_fps stroke_push longest slow
for run in $(seq 1 "$runs"); do
  rm -f "$work/Brindlecot.ini.bak" "$work/frames.log"
  start_brindlecot "$work" "$bin" "$work/frames.log"
  xdotool mousemove "$(sx 520)" "$(sy 330)"
  sleep 3

  # Whole log lines only: the first one that starts inside the interval to
  # the last one that ends inside it.
  l0=$(( $(lines) + 2 )); t0=$(cpu_ticks "$pid"); sleep 10; t1=$(cpu_ticks "$pid"); l1=$(lines)
  idle_cpu+=("$(cpu_seconds "$t0" "$t1")")
  read -r f c _ _ _ <<<"$(window "$l0" "$l1")"
  idle_fps+=("$f"); idle_push+=("$c")

  # FREE mode, then the stroke.
  xdotool mousemove "$(sx 464)" "$(sy 40)"; sleep 0.2; xdotool click 1; sleep 0.3
  l0=$(( $(lines) + 2 )); t0=$(cpu_ticks "$pid"); stroke 10; t1=$(cpu_ticks "$pid"); l1=$(lines)
  stroke_cpu+=("$(cpu_seconds "$t0" "$t1")")
  read -r f c _ l o <<<"$(window "$l0" "$l1")"
  stroke_fps+=("$f"); stroke_push+=("$c"); longest+=("$l"); slow+=("$o")

  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
  echo "run $run: idle ${idle_cpu[-1]} CPU-s, ${idle_fps[-1]} frames/s, ${idle_push[-1]} presents/s;" \
    "stroke ${stroke_cpu[-1]} CPU-s, ${stroke_fps[-1]} frames/s, ${stroke_push[-1]} presents/s," \
    "longest frame ${longest[-1]} ms, ${slow[-1]} % of frames over 17 ms" >&2
done

echo "bench/idle.sh on $(basename "$bin"), screen $screen, canvas ${IDLE_CANVAS:-0}, $(date -u +%Y-%m-%d), $(nproc) cores $(uname -m)," \
  "load average at the end $(cut -d' ' -f1-3 /proc/loadavg); median of $runs runs"
echo "| case | CPU-s per 10 s | frames per s | presents per s | longest frame (ms) | frames over 17 ms |"
echo "|---|---|---|---|---|---|"
echo "| idle, focused | $(median "${idle_cpu[@]}") | $(median "${idle_fps[@]}") | $(median "${idle_push[@]}") | | |"
echo "| FREE stroke | $(median "${stroke_cpu[@]}") | $(median "${stroke_fps[@]}") | $(median "${stroke_push[@]}") |" \
  "$(median "${longest[@]}") (worst run $(printf '%s\n' "${longest[@]}" | sort -g | tail -1)) |" \
  "$(median "${slow[@]}") % (worst run $(printf '%s\n' "${slow[@]}" | sort -g | tail -1) %) |"
