#!/usr/bin/env bash
# The canvas the size of the display, on a 1920 x 1080 screen: the windows
# stand at their usual places, the clock at the bottom right; at 1/4x clicks
# paint the cells under the pointer and the saved map holds them.
#   big_canvas_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
# e2e-screen: 1920x1080
# e2e-also-under: openbox
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"

enter_work_dir
[ "$(xdpyinfo | awk '/dimensions:/ {print $2}')" = 1920x1080 ] || fail "the screen is not 1920x1080"
start_window_manager
cp "$SRC/samples/chips.bmp" "$SRC/samples/Brin.bmp" .
write_ini "$work" "$work/chips.bmp" "" "$work/Brin.bmp"
printf '[%s]\r\n%s=1\r\n' "$(printf 'そのた' | iconv -f UTF-8 -t CP932)" "$(printf 'がめん' | iconv -f UTF-8 -t CP932)" >> Brindlecot.ini
"$BIN" >/dev/null 2>&1 & pid=$!
focus_window "$(wait_window Brindlecot2D)"
press_key Return
w=$(wait_window '^Brindlecot$')
sleep 1
give_keyboard "$w"

# One canvas pixel a screen pixel: the sheet's tree chip (0, 4) where it
# always is.
click_at $(( $(sheet_x 0) + 16 )) $(( $(sheet_y 4) + 16 ))
xdotool mousemove --sync 1000 700; press_key minus; press_key minus
at4() { echo $(( 300 + 8 * $1 + 4 )) $(( 112 + 8 * $2 + 4 )); }
click_at $(at4 30 25)
click_at $(at4 39 29)
click_at $(at4 0 0)

# The clock ticks at the bottom right, clear of every window.
xdotool mousemove --sync 1000 700; sleep 0.3
a=$(shot big-canvas)
sleep 1.2
b=$(shot big-canvas-later)
[ "$(region_diff "$a" "$b" 1712 1056 208 24)" -gt 0 ] || fail "no clock ticks at the bottom right"
[ "$(region_diff "$a" "$b" 592 60 208 24)" = 0 ] || fail "something still changes at the classic clock's place"

save_and_quit "$work/big"
painted=$(cells_with_y big.bct 128)
[ "$painted" = "0,0 30,25 39,29 " ] || fail "painted cells are '$painted'"
echo "big canvas session: ok"
