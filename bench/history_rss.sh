#!/usr/bin/env bash
# Peak resident memory of the editor with its undo history full: on the sample
# 256 x 256 map, CLEAR and then 40 bucket fills of the whole map alternating
# between two chips (each a step of 65,536 changed cells), under Xvfb at
# 1920 x 1080. Prints the resident memory at the start and the peak, and the
# steps kept (read from the screen is left to the screenshot in $HISTORY_SHOT).
#   bench/history_rss.sh [BRINDLECOT]     (default build/brindlecot)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$(realpath "${1:-$root/build/brindlecot}")"
if [ -z "${RSS_INNER:-}" ]; then
  exec env RSS_INNER=1 xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$bin"
fi
sw=1920
sh=1080
source "$root/bench/lib.sh"
start_session
start_brindlecot "$work" "$bin" "$work/frames.log"
sleep 1
echo "resident at the start: $(awk '/^VmRSS:/ { printf "%.0f", $2 / 1024 }' "/proc/$pid/status") MB"
# CLEAR (its question answered yes), then the bucket tool.
xdotool mousemove "$(sx 344)" "$(sy 39)" click 1; sleep 0.5; xdotool key Return; sleep 0.5
xdotool mousemove "$(sx 520)" "$(sy 330)"; xdotool key f; sleep 0.3
for _ in $(seq 20); do
  for chip in 40 72; do
    xdotool mousemove "$(sx $chip)" "$(sy 128)" click 1; sleep 0.15
    xdotool mousemove "$(sx 520)" "$(sy 330)" click 1; sleep 0.6
  done
done
sleep 1
[ -n "${HISTORY_SHOT:-}" ] && import -window root "$HISTORY_SHOT"
echo "peak resident with the history full: $(peak_rss_mb "$pid") MB"
end_session
