#!/usr/bin/env bash
# Keyboard, mouse and dialogs as a desktop user has them, with real X events:
# Return on a focused ｷｬﾝｾﾙ, keys held across a dialog and across switching
# away, Ctrl+F4, a held Esc at the quit question, quick clicks on PREVIEW and
# out of it, the preview's panning and the pointer given back after it.
#   input_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
# e2e-also-under: openbox
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"

work="$(mktemp -d)"
pid=""; other=""
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; [ -n "$other" ] && kill $other 2>/dev/null; [ -n "${E2E_WM_PID:-}" ] && kill $E2E_WM_PID 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
start_window_manager
tag="input${E2E_WM:+-$E2E_WM}"

# A chip sheet of a black and a white chip, and a 1024 x 960 map (32 x 30
# cells of 32 pixels) that is black but for white column 20 and white row 15:
# where they show in the preview tells its scroll position.
convert -size 32x32 xc:black xc:white +append BMP3:probe.bmp
awk 'BEGIN {
  printf "BrindlecotVer0.93b\r\n--------------------------------\r\n@BMP probe.bmp\r\n"
  printf "@KOMA_X 32\r\n@KOMA_Y 30\r\n@TIP_X 32\r\n@TIP_Y 32\r\n--------------------------------\r\n"
  for (r = 0; r < 30; ++r) {
    printf "@%05d:X", r; for (c = 0; c < 32; ++c) printf ",%4d", (c == 20 || r == 15) ? 32 : 0; printf "\r\n"
    printf "@%05d:Y", r; for (c = 0; c < 32; ++c) printf ",%4d", 0; printf "\r\n"
    printf "@%05d:A", r; for (c = 0; c < 32; ++c) printf ",%4d", 0; printf "\r\n"
  }
}' > wide.bct
# Debug overlay on (its keyboard line shows the keys the editor reads as
# held), wallpaper off (a black screen behind it).
{
  printf '[%s]\r\n%s=1\r\n%s=0\r\n' "$(printf 'せってい' | iconv -t CP932)" \
    "$(printf 'でばっぐもーど' | iconv -t CP932)" "$(printf 'ＢＧ' | iconv -t CP932)"
  printf '[%s]\r\nBMP=%s\r\nBCT=%s\r\nBG=\r\n' "$(printf 'ふぁいる' | iconv -t CP932)" "$work/probe.bmp" "$work/wide.bct"
} > Brindlecot.ini

# The overlay's keyboard line: "キーボード:" at (212, 0), then one entry per key.
overlay_on() { [ "$(lit_pixels "$(shot "$tag-probe")" 212 0 80 16)" -gt 20 ]; }
keys_held() { [ "$(lit_pixels "$(shot "$tag-probe")" 300 0 120 16)" -gt 10 ]; }
no_keys_held() { ! keys_held; }
overlay_off() { ! overlay_on; }
ended() { ! kill -0 "$1" 2>/dev/null; }
closed() { ! window_named "$1"; }
park() { xdotool mousemove --sync 400 590; sleep 0.2; }

# 1. Return on the focused ｷｬﾝｾﾙ of the start-up dialog cancels: no editor.
"$BIN" & pid=$!
dlg=$(wait_window Brindlecot2D)
give_keyboard "$dlg"
press_key Tab          # from OK, the first control, to ｷｬﾝｾﾙ
press_key Return
rc=0; wait_for 10 ended "$pid" || { shot "$tag-cancel-focused" >/dev/null; fail "Return on ｷｬﾝｾﾙ did not cancel"; }
wait "$pid" || rc=$?; pid=""
[ "$rc" -eq 0 ] || fail "cancel exit code $rc"

# 2. The start-up dialog stays on screen while its chooser is open.
"$BIN" & pid=$!
dlg=$(wait_window Brindlecot2D)
give_keyboard "$dlg"
read -r dx dy < <(window_origin "$dlg")
ch=$(open_window_by_click $((dx + 337)) $((dy + 119)) 'ＢＭＰファイル？')
sleep 0.5
shot "$tag-chooser" >/dev/null
window_named Brindlecot2D || fail "the start-up dialog vanished behind its chooser"
give_keyboard "$ch"
press_key Escape
wait_for 10 closed 'ＢＭＰファイル？' || fail "chooser stayed open"
give_keyboard "$dlg"
click_at $((dx + 332)) $((dy + 269))   # OK
main=$(wait_window '^Brindlecot$')
give_keyboard "$main"
park
wait_for 10 overlay_on || fail "no debug overlay"
wait_for 5 no_keys_held || fail "keys read as held at start"

# 3. A key released inside a dialog is released after it; a key still held
# when the dialog closes is held.
xdotool keydown Down
wait_for 5 keys_held || fail "held Down not shown"
odlg=$(open_window_by_click 648 40 '小手先の設定')
xdotool keyup Down
give_keyboard "$odlg"
press_key Escape
wait_for 10 closed '小手先の設定' || fail "settings stayed open"
give_keyboard "$main"; park
sleep 0.5
wait_for 5 no_keys_held || fail "Down released in the dialog still reads as held"
xdotool keydown Down
wait_for 5 keys_held || fail "held Down not shown"
odlg=$(open_window_by_click 648 40 '小手先の設定')
give_keyboard "$odlg"
press_key Escape
wait_for 10 closed '小手先の設定' || fail "settings stayed open"
give_keyboard "$main"; park
wait_for 5 keys_held || fail "Down still held after the dialog reads as released"
xdotool keyup Down
wait_for 5 no_keys_held || fail "Down released does not read as released"

# 4. Switching away and back with a key held: it reads as held again. Left
# Shift, as it does not repeat: a repeating key would come back by itself.
xdotool keydown shift
wait_for 5 keys_held || fail "held Shift not shown"
xmessage -name elsewhere elsewhere & other=$!
away=$(wait_window elsewhere)
give_keyboard "$away"
sleep 1                                     # long enough to count as switched away
give_keyboard "$main"; park
wait_for 5 keys_held || fail "Shift held across switching away reads as released"
xdotool keyup shift
wait_for 5 no_keys_held || fail "Shift released does not read as released"
kill $other; other=""
give_keyboard "$main"; park

# 5. Ctrl+F4 is no accelerator; F4 alone hides the overlay and shows it again.
xdotool key ctrl+F4; sleep 0.5
overlay_on || fail "Ctrl+F4 toggled the overlay"
xdotool key F4
wait_for 5 overlay_off || fail "F4 did not hide the overlay"
xdotool key F4
wait_for 5 overlay_on || fail "F4 did not show the overlay again"

# 6. A held Esc does not answer the quit question; No returns with no key held.
xdotool keydown Escape
box=$(wait_window 'いいのかな？')
sleep 1.5                                   # long enough for the key to repeat
window_named 'いいのかな？' || fail "held Esc dismissed the quit question"
xdotool keyup Escape; sleep 0.3
window_named 'いいのかな？' || fail "releasing Esc dismissed the quit question"
shot "$tag-quit" >/dev/null
give_keyboard "$box"
press_key Tab                               # from はい to いいえ
press_key Return
wait_for 10 closed 'いいのかな？' || fail "No did not close the box"
kill -0 "$pid" || fail "No ended the program"
give_keyboard "$main"; park
wait_for 5 no_keys_held || fail "Esc reads as held after the quit question"

# 7. Quick clicks, press and release between two frames, on PREVIEW and out of
# the preview; the pointer comes back where it was.
# Below the debug lines (y 0 to 16) and above the clock.
white_x() {  # first white column of row 40 of the screen, or -1
  convert "$1" -crop 800x1+0+40 +repage -threshold 50% txt:- | awk -F'[,:]' '/#FFFFFF/ && !f {v = $1; f = 1} END {print f ? v : -1}'
}
white_y() {
  convert "$1" -crop 1x560+5+20 +repage -threshold 50% txt:- | awk -F'[,:]' '/#FFFFFF/ && !f {v = $2 + 20; f = 1} END {print f ? v : -1}'
}
in_preview() { [ "$(lit_pixels "$(shot "$tag-p")" 568 16 48 48)" -lt 50 ]; }
in_editor() { ! in_preview; }
for round in 1 2 3 4 5; do
  xdotool mousemove --sync 592 40; sleep 0.2
  xdotool click 1
  wait_for 5 in_preview || fail "quick click $round on PREVIEW was lost"
  xdotool click 1
  wait_for 5 in_editor || fail "quick click $round out of the preview was lost"
done

# 8. The preview pans by the mouse's motion, pixel for pixel, both ways; the
# pointer is given back where it was when the preview began.
xdotool mousemove --sync 580 50; sleep 0.2
xdotool click 1
wait_for 5 in_preview || fail "no preview"
at_scroll() {  # at_scroll X Y: the map's white lines show scroll (X, Y)
  local s; s=$(shot "$tag-pan")
  [ "$(white_x "$s")" -eq $((640 - $1)) ] && [ "$(white_y "$s")" -eq $((480 - $2)) ]
}
sx0=$(white_x "$(shot "$tag-pan")"); sy0=$(white_y "$(shot "$tag-pan")")
for i in 1 2 3; do xdotool mousemove_relative 150 150; sleep 0.15; done
wait_for 5 at_scroll 224 360 || fail "panning to the limits: white lines at $(white_x "$(shot "$tag-pan")"),$(white_y "$(shot "$tag-pan")") from $sx0,$sy0"
xdotool mousemove_relative -- -100 -100
wait_for 5 at_scroll 124 260 || fail "100 back from the limits: white lines at $(white_x "$(shot "$tag-pan")"),$(white_y "$(shot "$tag-pan")")"
for i in 1 2 3 4 5 6 7; do xdotool mousemove_relative -- -7 -3; sleep 0.05; done
wait_for 5 at_scroll 75 239 || fail "small steps: white lines at $(white_x "$(shot "$tag-pan")"),$(white_y "$(shot "$tag-pan")")"
xdotool click 1
wait_for 5 in_editor || fail "the click did not leave the preview"
loc=$(xdotool getmouselocation --shell | sed -n 's/^[XY]=//p' | tr '\n' ' ')
[ "$loc" = "580 50 " ] || fail "pointer after the preview at $loc, not at 580 50"

quit_editor "$pid"; pid=""
echo "input session${E2E_WM:+ ($E2E_WM)}: ok"
