#!/usr/bin/env bash
# The tool strip for real: a 3 x 3 block picked, a rectangle filled after the
# P key, a 9-slice after the N key, a bucket fill from the strip's button and
# its undo as one step, the balloons shown on hover, then quit.
#   tools_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
# e2e-also-under: openbox
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"

enter_work_dir
cp "$SRC/samples/chips.bmp" "$SRC/samples/Brin.bmp" .
write_ini "$work" "$work/chips.bmp" "" "$work/Brin.bmp"
start_window_manager
"$BIN" & pid=$!
focus_window "$(wait_window Brindlecot2D)"
press_key Return
w=$(wait_window '^Brindlecot$')
sleep 1
give_keyboard "$w"

cell() { echo $(( $(map_x "$1") + 12 )) $(( $(map_y "$2") + 12 )); }
# Pick the 3 x 3 block of sheet chips (0..2, 3..5): brush cell (c, r) is chip (c, 3 + r).
drag $(( $(sheet_x 0) + 16 )) $(( $(sheet_y 3) + 16 )) $(( $(sheet_x 2) + 16 )) $(( $(sheet_y 5) + 16 ))

# P, then a rectangle from cell (1, 1) to cell (5, 2): tiled from its corner.
xdotool mousemove --sync $(cell 7 7); press_key p
drag $(cell 1 1) $(cell 5 2)
# N, then a 9-slice from cell (1, 4) to cell (6, 8).
xdotool mousemove --sync $(cell 7 7); press_key n
drag $(cell 1 4) $(cell 6 8)
xdotool mousemove --sync 400 590; sleep 0.3
s=$(shot tools-rectangles)
same_chip "$s" 0 3 1 1 || fail "the rectangle's corner is not the brush's first chip"
same_chip "$s" 1 3 5 1 || fail "the rectangle does not repeat the brush (cell 5, 1)"
same_chip "$s" 0 4 4 2 || fail "the rectangle's second row is not the brush's (cell 4, 2)"
for t in "0 3 1 4" "2 3 6 4" "0 5 1 8" "2 5 6 8" "1 3 3 4" "0 4 1 6" "1 4 4 6" "1 5 5 8"; do
  set -- $t
  same_chip "$s" "$1" "$2" "$3" "$4" || fail "9-slice cell ($3, $4) is not sheet chip ($1, $2)"
done

# The bucket from its strip button: the empty ground from cell (8, 9) fills,
# tiled from that cell; the filled rectangles stay as they are.
click_at $((384 + 9)) $((66 + 9))
click_at $(cell 8 9)
xdotool mousemove --sync 400 590; sleep 0.3
s=$(shot tools-bucket)
same_chip "$s" 0 3 8 9 || fail "the bucket's cell is not the brush's first chip"
same_chip "$s" 2 5 13 2 || fail "the fill does not tile from the clicked cell (cell 13, 2)"
same_chip "$s" 0 3 1 1 || fail "the bucket painted over the rectangle"
# UNDO takes back the fill as one step, and the rectangles remain.
click_at $((256 + 24)) 40
xdotool mousemove --sync 400 590; sleep 0.3
s=$(shot tools-undone)
same_chip "$s" 0 0 13 2 || fail "UNDO left the fill (cell 13, 2)"
same_chip "$s" 0 3 1 4 || fail "UNDO took more than the fill"

# The guide's picture: random mode on, a random rectangle, the balloon of the
# random switch under the pointer.
press_key d
xdotool mousemove --sync $(cell 7 7); press_key p
drag $(cell 8 3) $(cell 13 8)
xdotool mousemove --sync $((480 + 9)) $((66 + 9)); sleep 0.4
shot tools-strip >/dev/null
press_key d

# R with one chip, (3, 0), clicked on the sheet: a click on cell (1, 1) puts it
# on every cell of the map that showed (1, 1)'s chip, the 9-slice's corner too.
click_at $(( $(sheet_x 3) + 16 )) $(( $(sheet_y 0) + 16 ))
xdotool mousemove --sync $(cell 7 7); press_key r
click_at $(cell 1 1)
xdotool mousemove --sync $(cell 3 1); sleep 0.4
s=$(shot tools-replace)
same_chip "$s" 3 0 1 1 || fail "replace left the clicked cell"
same_chip "$s" 3 0 1 4 || fail "replace left a cell of the same chip elsewhere (1, 4)"
same_chip "$s" 1 3 2 1 || fail "replace changed a cell of another chip (2, 1)"

# A with a 2 x 2 block, then B: a FREE drag along row 10 stamps only every
# second column from where it began, so the blocks join edge to edge.
drag $(( $(sheet_x 4) + 16 )) $(( $(sheet_y 0) + 16 )) $(( $(sheet_x 5) + 16 )) $(( $(sheet_y 1) + 16 ))
xdotool mousemove --sync $(cell 7 7); press_key a; press_key b
drag $(cell 1 10) $(cell 8 10)
xdotool mousemove --sync 400 590; sleep 0.3
s=$(shot tools-aligned)
for t in "4 0 1 10" "5 0 2 10" "4 1 1 11" "4 0 3 10" "5 0 4 10" "4 0 7 10" "5 1 8 11"; do
  set -- $t
  same_chip "$s" "$1" "$2" "$3" "$4" || fail "aligned stroke: cell ($3, $4) is not sheet chip ($1, $2)"
done

quit_editor "$pid"
echo "tools session: ok"
