#!/usr/bin/env bash
# Painting for real: pick a 2 x 2 block from the chip sheet by a mouse drag,
# stamp it with POINT, paint a FREE stroke, look at the preview and at the two
# dialogs of the toolbar, then quit.
#   painting_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"

work="$(mktemp -d)"
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
cp "$SRC/samples/chips.bmp" "$SRC/samples/Brin.bmp" .
write_ini "$work" "$work/chips.bmp" "" "$work/Brin.bmp"
"$BIN" & pid=$!
focus_window "$(wait_window Brindlecot2D)"
press_key Return
wait_window '^Brindlecot$' >/dev/null
sleep 1

# Pick the tree and the pine with the bridge pieces under them: chips (0..1, 4..5).
drag $(( $(sheet_x 0) + 16 )) $(( $(sheet_y 4) + 16 )) $(( $(sheet_x 1) + 16 )) $(( $(sheet_y 5) + 16 ))
# POINT is the mode at start: one click stamps the block at map cell (2, 2).
click_at $(( $(map_x 2) + 10 )) $(( $(map_y 2) + 10 ))
xdotool mousemove --sync 400 590; sleep 0.3
s=$(shot painting-point)
for d in "0 0" "1 0" "0 1" "1 1"; do
  set -- $d
  same_chip "$s" "$1" $((4 + $2)) $((2 + $1)) $((2 + $2)) || fail "map cell ($((2 + $1)),$((2 + $2))) is not the picked chip"
done
same_chip "$s" 0 0 5 2 || fail "a cell beside the stamp changed"

# FREE: a stroke from cell (2, 8) to cell (9, 8) paints the block all along.
click_at 464 40
drag $(( $(map_x 2) + 10 )) $(( $(map_y 8) + 10 )) $(( $(map_x 9) + 10 )) $(( $(map_y 8) + 10 ))
xdotool mousemove --sync 400 590; sleep 0.3
s=$(shot painting-free)
same_chip "$s" 0 4 2 8 || fail "the stroke's first cell is not painted"
same_chip "$s" 0 4 9 8 || fail "the stroke's last cell is not painted"

# The preview shows the map from its top-left corner (it is wider than the screen).
click_at $((568 + 24)) 40
sleep 0.5
s=$(shot painting-preview)
a="$(mktemp --suffix=.png)"; b="$(mktemp --suffix=.png)"
convert "$s" -crop 26x26+67+67 +repage "$a"
convert "$SRC/samples/chips.bmp" -crop 26x26+3+131 +repage "$b"
# The screen holds 16-bit colours: compare with the tolerance of that truncation.
d=$(compare -fuzz 4% -metric AE "$a" "$b" null: 2>&1 | cut -d' ' -f1 || true)
rm -f "$a" "$b"
[ "$d" -lt 40 ] || fail "the preview does not show the stamped tree at cell (2, 2) ($d)"
click_at 400 300  # a fresh press leaves the preview

# The size and settings dialogs open over the editor and cancel with Escape.
dlg=$(open_window_by_click $((200 + 24)) 40 'マップサイズ')
shot painting-size-dialog >/dev/null
focus_window "$dlg"; press_key Escape
wait_for 10 bash -c '! xdotool search --onlyvisible --name "マップサイズ" | grep -q .' || fail "size dialog stayed open"
dlg=$(open_window_by_click $((624 + 24)) 40 '小手先の設定')
shot painting-settings-dialog >/dev/null
focus_window "$dlg"; press_key Escape
wait_for 10 bash -c '! xdotool search --onlyvisible --name "小手先の設定" | grep -q .' || fail "settings dialog stayed open"

quit_editor "$pid"
echo "painting session: ok"
