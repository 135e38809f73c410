#!/usr/bin/env bash
# The program runs: start-up dialog, the editor screen, command buttons, quit.
#   startup_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"

work="$(mktemp -d)"
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT

# 1. Cancel of the start-up dialog ends the program and writes nothing.
cd "$work"
"$BIN" & pid=$!
dlg=$(wait_window Brindlecot2D)
focus_window "$dlg"
press_key Escape
rc=0; wait "$pid" || rc=$?
[ "$rc" -eq 0 ] || fail "cancel exit code $rc"
[ ! -e Brindlecot.ini ] || fail "cancel left a settings file"

# Without a display the program says so in one line and ends with 1.
rc=0; env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$BIN" 2>nodisplay.txt || rc=$?
[ "$rc" -eq 1 ] || fail "without a display: exit code $rc"
[ "$(wc -l < nodisplay.txt)" -eq 1 ] || fail "without a display: $(cat nodisplay.txt)"
rm nodisplay.txt

# 2. A prepared directory: the sample chips and wallpaper, a new map.
cp "$SRC/samples/chips.bmp" "$SRC/samples/Brin.bmp" .
write_ini "$work" "$work/chips.bmp" "" "$work/Brin.bmp"
"$BIN" & pid=$!
dlg=$(wait_window Brindlecot2D)
focus_window "$dlg"
press_key Return
wait_window '^Brindlecot$' >/dev/null
sleep 1
first=$(shot startup-editor)

# The toolbar icons are drawn over the wallpaper, the clock is not black.
wall="$work/wall.png"
convert "$SRC/samples/Brin.bmp" "$wall"
icons=$(region_diff "$first" "$wall" 16 16 48 48)
[ "$icons" -gt 500 ] || fail "no icon at BmpLoad's place ($icons pixels differ)"
clock=$(convert "$first" -crop 200x16+592+584 +repage -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)
awk -v c="$clock" 'BEGIN{exit !(c > 1.5)}' || fail "clock area is dark ($clock)"

# 3. FREE moves the mode marker from POINT to FREE; POINT brings it back.
click_at 464 40
free=$(shot startup-free)
moved=$(region_diff "$first" "$free" 384 16 48 48)
[ "$moved" -gt 50 ] || fail "the marker did not leave POINT ($moved)"
click_at 408 40
point=$(shot startup-point)
back=$(region_diff "$free" "$point" 440 16 48 48)
[ "$back" -gt 50 ] || fail "the marker did not leave FREE ($back)"

# 4. Esc and Yes: exit code 0 and the settings file with 10 + 8 + 3 keys.
xdotool mousemove --sync 400 300
press_key Escape
box=$(wait_window 'いいのかな？')
focus_window "$box"
press_key Return
rc=0; wait "$pid" || rc=$?
[ "$rc" -eq 0 ] || fail "quit exit code $rc"
[ -e Brindlecot.ini ] || fail "no settings file after quitting"
keys=$(iconv -f CP932 -t UTF-8 Brindlecot.ini | grep -c '=')
[ "$keys" -eq 24 ] || fail "settings file holds $keys keys"
for s in ういんどう せってい ふぁいる そのた; do
  has_line "^\[$s\]" "$(iconv -f CP932 -t UTF-8 Brindlecot.ini)" || fail "section $s missing"
done
echo "startup session: ok"
