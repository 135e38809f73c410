#!/usr/bin/env bash
# A whole session of a user who has never seen the program: a new map on the
# sample chips chosen through the real file chooser, picking, stamping, a FREE
# stroke and its undo, a copy with the second button, an attribute rectangle,
# a new map size, the settings, the preview, SAVE through the real chooser, quit.
# Then the saved file is checked byte for byte against the map these steps must
# give, and the program is started again on it.
#   full_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"

work="$(mktemp -d)"
pid=""
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
cp "$SRC/samples/chips.bmp" "$SRC/samples/Brin.bmp" .

# 1. The start-up dialog: a new map, the chip sheet through its chooser.
"$BIN" & pid=$!
dlg=$(wait_window Brindlecot2D)
focus_window "$dlg"
click_in "$dlg" 337 119 &   # 参照 beside the chip-sheet field
clicker=$!
choose_file 'ＢＭＰファイル？' "$work/chips.bmp"
wait $clicker || true
shot full-startup >/dev/null
focus_window "$dlg"
click_in "$dlg" 332 269   # OK (Return would press the focused 参照 again)
wait_window '^Brindlecot$' >/dev/null
sleep 1

cell() { echo $((300 + 32 * $1 + 16)) $((112 + 32 * $2 + 16)); }   # map cell centre
chip() { echo $((24 + 32 * $1 + 16)) $((112 + 32 * $2 + 16)); }    # sheet chip centre
button() { click_at $(( $1 + 24 )) 40; }

# 2. Pick chips (0..1, 4..5) and stamp them with POINT at cells (2, 2) and (6, 2).
drag $(chip 0 4) $(chip 1 5)
click_at $(cell 2 2)
click_at $(cell 6 2)
# 3. A FREE stroke along row 8, then UNDO takes the whole stroke back.
button 440
drag $(cell 2 8) $(cell 9 8)
button 256
# 4. Copy cells (2..3, 2..3) with the second button and stamp the copy at (10, 5).
drag $(cell 2 2) $(cell 3 3) 3
button 384
click_at $(cell 10 5)
xdotool mousemove --sync 400 590; sleep 0.3
shot full-painted >/dev/null
# 5. Attribute mode: cells (0..2, 10..11) get the attribute 12.
button 496
drag $(cell 0 10) $(cell 2 11) &
clicker=$!
adlg=$(wait_window '属性を入力してね。'); wait $clicker || true
focus_window "$adlg"
# The value list sits a little right of the dialog's middle (the dialog grows
# to show its caption, its controls stay centred).
adlg_width=$(xwininfo -id "$adlg" | awk '/Width:/ {print $NF}')
click_in "$adlg" $((adlg_width / 2 + 6)) 26
xdotool type --delay 30 12; sleep 0.3
press_key Return; sleep 0.3
shot full-attribute >/dev/null
press_key Return
wait_for 10 gone '属性を入力してね。' || fail "attribute dialog stayed open"
# 6. The map size: 20 x 15 cells.
sdlg=$(open_window_by_click $((200 + 24)) 40 'マップサイズ')
focus_window "$sdlg"
# Each list is opened by the click and closed again; the keys then walk it from
# its first entry "0".
choose_entry() {  # choose_entry X Y INDEX
  click_in "$sdlg" "$1" "$2"; press_key Escape; press_key Home
  local i; for i in $(seq 1 "$3"); do xdotool key Down; done; sleep 0.2
}
choose_entry 73 42 20
choose_entry 73 75 15
shot full-size >/dev/null
press_key Return
wait_for 10 gone 'マップサイズ' || fail "size dialog stayed open"
# 7. The settings: guide lines stay on, auto-scroll goes on.
odlg=$(open_window_by_click $((624 + 24)) 40 '小手先の設定')
focus_window "$odlg"
click_in "$odlg" 17 57
shot full-settings >/dev/null
press_key Return
wait_for 10 gone '小手先の設定' || fail "settings dialog stayed open"
# 8. The preview, and back.
button 568
sleep 0.5
shot full-preview >/dev/null
click_at 400 300
# 9. SAVE to a new file through the real chooser, typing a name without extension.
button 128 &
clicker=$!
choose_file 'どれにセーブする？' "$work/town"
wait $clicker || true
# 10. Quit with Esc and Yes.
quit_editor "$pid"; pid=""
[ -e town.bct ] || fail "no town.bct was saved"

# The map these steps must give, computed from the sheet's geometry: chips of
# 32 pixels; the picked block is chips (0..1, 4..5) of the sheet.
expected="$work/expected.bct"
awk 'BEGIN {
  T = 32; W = 20; H = 15
  for (c = 0; c < 256; ++c) for (r = 0; r < 256; ++r) { X[c, r] = 0; Y[c, r] = 0; A[c, r] = 0 }
  split("2 6", at, " ")
  for (k in at) for (i = 0; i < 2; ++i) for (j = 0; j < 2; ++j) { X[at[k] + i, 2 + j] = i * T; Y[at[k] + i, 2 + j] = (4 + j) * T }
  for (i = 0; i < 2; ++i) for (j = 0; j < 2; ++j) { X[10 + i, 5 + j] = X[2 + i, 2 + j]; Y[10 + i, 5 + j] = Y[2 + i, 2 + j] }
  for (i = 0; i < 3; ++i) for (j = 0; j < 2; ++j) A[i, 10 + j] = 12
  printf "BrindlecotVer0.93b\r\n--------------------------------\r\n@BMP chips.bmp\r\n"
  printf "@KOMA_X %d\r\n@KOMA_Y %d\r\n@TIP_X %d\r\n@TIP_Y %d\r\n--------------------------------\r\n", W, H, T, T
  for (r = 0; r < H; ++r) {
    printf "@%05d:X", r; for (c = 0; c < W; ++c) printf ",%4d", X[c, r]; printf "\r\n"
    printf "@%05d:Y", r; for (c = 0; c < W; ++c) printf ",%4d", Y[c, r]; printf "\r\n"
    printf "@%05d:A", r; for (c = 0; c < W; ++c) printf ",%4d", A[c, r]; printf "\r\n"
  }
}' > "$expected"
cmp "$expected" town.bct || { diff <(tr -d '\r' < "$expected") <(tr -d '\r' < town.bct) | head -20 >&2; fail "town.bct differs"; }

# The settings file: the map, the chip sheet, auto-scroll on, guide lines on, 32 x 32.
ini="$(iconv -f CP932 -t UTF-8 Brindlecot.ini)"
has_line "^BCT=$work/town.bct" "$ini" || fail "settings do not name the saved map"
has_line "^BMP=$work/chips.bmp" "$ini" || fail "settings do not name the chip sheet"
has_line '^オートＳＣＲ *= 1' "$ini" || fail "auto-scroll not saved"
has_line '^ぐりっど *= 1' "$ini" || fail "guide lines not saved"

# 11. Start again: the dialog opens the saved map, and the editor shows its cells.
"$BIN" & pid=$!
dlg=$(wait_window Brindlecot2D)
focus_window "$dlg"
press_key Return
wait_window '^Brindlecot$' >/dev/null
sleep 1
xdotool mousemove --sync 790 590; sleep 0.3
s=$(shot full-reopened)
same() {  # same SHEETCOL SHEETROW MAPCOL MAPROW: the chip shows in the cell
  local a b d
  a="$(mktemp --suffix=.png)"; b="$(mktemp --suffix=.png)"
  convert "$s" -crop "26x26+$((24 + 32 * $1 + 3))+$((112 + 32 * $2 + 3))" +repage "$a"
  convert "$s" -crop "26x26+$((300 + 32 * $3 + 3))+$((112 + 32 * $4 + 3))" +repage "$b"
  d=$(compare -metric AE "$a" "$b" null: 2>&1 | cut -d' ' -f1 || true)
  rm -f "$a" "$b"
  [ "$d" = 0 ]
}
for p in "0 4 2 2" "1 5 3 3" "0 4 6 2" "1 4 11 5" "0 5 10 6" "0 0 8 8"; do
  same $p || fail "the reopened editor does not show chip/cell $p"
done
quit_editor "$pid"; pid=""
echo "full session: ok"
