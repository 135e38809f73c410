#!/usr/bin/env bash
# Brindlecot against the peer (Tiled, Debian's `tiled`) on the same 256 x 256
# map of 32 px chips, side by side under Xvfb with openbox at one screen size:
# CPU-seconds over 10 s idle (focused, the pointer resting on the map) and
# over 10 s of painting (the primary button held while the pointer sweeps the
# same stretch of screen: FREE in Brindlecot, the stamp brush in the peer), and
# the peak resident memory of each. The two programs run in turn, RUNS times
# (default 5, interleaved, the first to go alternating); each figure is the
# median, with the ratio Brindlecot / peer of each pair and of the medians.
#   bench/peer.sh [WIDTHxHEIGHT] [BRINDLECOT]   (default 1920x1080, build/brindlecot)
# PEER_CANVAS=1 starts Brindlecot with the canvas the size of the display.
#
# The peer opens the map exported by `bctool tmx`, maximised, with its docks
# hidden (Tab) and at 100 % zoom, so that its map view covers the stretch the
# pointer sweeps; its stamp is the chip under the sweep's start (right click).
# Brindlecot's longest frame and its share of frames over 17 ms come from its
# frame log, as in bench/idle.sh. With PEER_SHOTS naming a folder, the screen
# after each program's painting is kept there, to see that both painted.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
size="${1:-1920x1080}"
bin="$(realpath "${2:-$root/build/brindlecot}")"
runs="${RUNS:-5}"
if [ -z "${PEER_INNER:-}" ]; then
  exec env PEER_INNER=1 RUNS="$runs" xvfb-run -a -s "-screen 0 ${size}x24" bash "$0" "$size" "$bin"
fi
sw="${size%x*}"
sh="${size#*x}"
command -v tiled >/dev/null || { echo "bench/peer.sh: the peer (tiled) is not installed" >&2; exit 1; }

source "$root/bench/lib.sh"
start_session
[ "${PEER_CANVAS:-0}" != 1 ] || use_display_canvas
"$root/build/bctool" tmx "$work/map256.bct" "$work/map256.tmx" >/dev/null

# measure: idle, then painting, of the process $pid; appends to the arrays
# named by the program ("ours" or "peer").
measure() {
  local who="$1" t0 t1
  sleep 3
  t0=$(cpu_ticks "$pid"); sleep 10; t1=$(cpu_ticks "$pid")
  eval "${who}_idle+=(\"$(cpu_seconds "$t0" "$t1")\")"
  t0=$(cpu_ticks "$pid"); stroke 10; t1=$(cpu_ticks "$pid")
  eval "${who}_paint+=(\"$(cpu_seconds "$t0" "$t1")\")"
  if [ -n "${PEER_SHOTS:-}" ]; then mkdir -p "$PEER_SHOTS"; import -window root "$PEER_SHOTS/$who-$size-$run.png"; fi
  sleep 0.5
  eval "${who}_rss+=(\"$(peak_rss_mb "$pid")\")"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
}

run_ours() {
  rm -f "$work/Brindlecot.ini.bak" "$work/frames.log"
  start_brindlecot "$work" "$bin" "$work/frames.log"
  xdotool mousemove "$(sx 520)" "$(sy 330)"
  sleep 1
  # FREE mode, then back over the map to rest.
  xdotool mousemove "$(sx 464)" "$(sy 40)"; sleep 0.2; xdotool click 1; sleep 0.3
  xdotool mousemove "$(sx 520)" "$(sy 330)"
  local l0
  l0=$(( $(log_lines "$work/frames.log") + 2 ))
  measure ours
  read -r _ _ _ l o <<<"$(frame_window "$work/frames.log" "$l0" "$(log_lines "$work/frames.log")")"
  ours_longest+=("$l"); ours_slow+=("$o")
}

run_peer() {
  local home="$work/peer-home" win geo cx cy
  rm -rf "$home"; mkdir -p "$home"
  (cd "$work" && HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local" \
    XDG_CACHE_HOME="$home/.cache" exec tiled "$work/map256.tmx") >/dev/null 2>&1 & pid=$!
  for _ in $(seq 300); do xdotool search --onlyvisible --name map256 >/dev/null 2>&1 && break; sleep 0.1; done
  win="$(xdotool search --onlyvisible --name map256 | head -1)"
  xdotool windowactivate --sync "$win"
  xdotool windowmove --sync "$win" 0 0
  xdotool windowsize --sync "$win" "$sw" "$sh"
  sleep 1
  xdotool key Tab
  sleep 1
  # The map is shown whole at first; zoom in on its middle (found as the
  # part of the view that is not the grey backdrop) to 100 %.
  import -window root "$work/peer.png"
  geo="$(convert "$work/peer.png" -crop "$((sw - 40))x$((sh - 140))+0+80" +repage -fuzz 3% -trim \
    -format '%w %h %X %Y' info: 2>/dev/null || echo "$((sw - 40)) $((sh - 140)) +0 +0")"
  read -r gw gh gx gy <<<"$geo"
  cx=$(( gx + gw / 2 )); cy=$(( 80 + gy + gh / 2 ))
  xdotool mousemove "$cx" "$cy"
  xdotool keydown ctrl
  for _ in $(seq 7); do xdotool click 4; sleep 0.1; done
  xdotool keyup ctrl
  sleep 0.3
  xdotool key ctrl+0 b
  sleep 0.3
  xdotool mousemove "$(sx 320)" "$(sy 300)" click 3
  xdotool mousemove "$(sx 520)" "$(sy 330)"
  measure peer
}

declare -a ours_idle ours_paint ours_rss ours_longest ours_slow peer_idle peer_paint peer_rss
for run in $(seq 1 "$runs"); do
  if [ $((run % 2)) -eq 1 ]; then run_ours; run_peer; else run_peer; run_ours; fi
  echo "run $run: idle ${ours_idle[-1]} / ${peer_idle[-1]} CPU-s, painting ${ours_paint[-1]} / ${peer_paint[-1]} CPU-s," \
    "peak RSS ${ours_rss[-1]} / ${peer_rss[-1]} MB (Brindlecot / peer); Brindlecot's longest frame" \
    "${ours_longest[-1]} ms, ${ours_slow[-1]} % over 17 ms" >&2
done

# ratio A B: A / B, or "n/a" when B is 0.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) print "n/a"; else printf "%.2f", a / b }'; }
pairs() {
  local -n a="$1" b="$2"
  local i out=""
  for i in "${!a[@]}"; do out+="$(ratio "${a[$i]}" "${b[$i]}") "; done
  echo "${out% }"
}
echo "bench/peer.sh at ${size}, canvas ${PEER_CANVAS:-0} on $(basename "$bin") against tiled $(dpkg-query -W -f '${Version}' tiled 2>/dev/null)," \
  "$(date -u +%Y-%m-%d), $(nproc) cores $(uname -m), load average at the end $(cut -d' ' -f1-3 /proc/loadavg);" \
  "median of $runs interleaved runs"
echo "| case | Brindlecot | peer | ratio of medians | ratio per pair |"
echo "|---|---|---|---|---|"
echo "| idle, focused: CPU-s per 10 s | $(median "${ours_idle[@]}") | $(median "${peer_idle[@]}") |" \
  "$(ratio "$(median "${ours_idle[@]}")" "$(median "${peer_idle[@]}")") | $(pairs ours_idle peer_idle) |"
echo "| painting: CPU-s per 10 s | $(median "${ours_paint[@]}") | $(median "${peer_paint[@]}") |" \
  "$(ratio "$(median "${ours_paint[@]}")" "$(median "${peer_paint[@]}")") | $(pairs ours_paint peer_paint) |"
echo "| peak RSS, MB | $(median "${ours_rss[@]}") | $(median "${peer_rss[@]}") |" \
  "$(ratio "$(median "${ours_rss[@]}")" "$(median "${peer_rss[@]}")") | $(pairs ours_rss peer_rss) |"
echo "| Brindlecot painting: longest frame, frames over 17 ms | $(median "${ours_longest[@]}") ms" \
  "(worst run $(printf '%s\n' "${ours_longest[@]}" | sort -g | tail -1)), $(median "${ours_slow[@]}") % | | | |"
