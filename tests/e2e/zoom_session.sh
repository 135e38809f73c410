#!/usr/bin/env bash
# Zoom, wheel and pan for real: the wheel scrolls the map by 3 cells a notch
# (Shift+wheel sideways), the middle button drags it, and a click lands on
# the scrolled cell; - twice goes
# to 1/4x, where clicks paint the cells under the pointer; Ctrl+wheel zooms to
# 1/2x about the pointer with no stamp from Ctrl; the map is saved through the
# chooser and its cells are checked in the file.
#   zoom_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
# e2e-also-under: openbox
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"

enter_work_dir
start_window_manager
start_new_map "$BIN" "$SRC" >/dev/null
w=$(wait_window '^Brindlecot$')
sleep 1
give_keyboard "$w"

# The tree, sheet chip (0, 4): its Y in the sheet is 128.
click_at $(( $(sheet_x 0) + 16 )) $(( $(sheet_y 4) + 16 ))

wheel() {  # wheel X Y BUTTON [MODIFIER]: one notch (4 up, 5 down) at (X, Y)
  xdotool mousemove --sync "$1" "$2"; sleep 0.15
  [ -z "${4:-}" ] || { xdotool keydown "$4"; sleep 0.15; }
  xdotool click "$3"; sleep 0.2
  [ -z "${4:-}" ] || { xdotool keyup "$4"; sleep 0.15; }
}
at1() { echo $(( $(map_x "$1") + 10 )) $(( $(map_y "$2") + 10 )); }

# 1x: a notch down scrolls 3 cells, so the click on the screen's cell (1, 1)
# paints map cell (1, 4); back up, then Shift+wheel sideways: cell (4, 1).
wheel $(at1 5 5) 5
click_at $(at1 1 1)
wheel $(at1 5 5) 4
wheel $(at1 5 5) 5 shift
click_at $(at1 1 1)
wheel $(at1 5 5) 4 shift
# The middle button drags the view: 64 pixels up, 2 cells, so the screen's
# cell (2, 1) is map cell (2, 3); and back.
drag 500 300 500 236 2
click_at $(at1 2 1)
drag 500 236 500 300 2

# - twice: 1/4x, 8 pixels a cell; the whole 40 x 30 map shows in the window.
xdotool mousemove --sync 400 590; press_key minus; press_key minus
at4() { echo $(( 300 + 8 * $1 + 4 )) $(( 112 + 8 * $2 + 4 )); }
click_at $(at4 30 25)
click_at $(at4 39 29)
xdotool mousemove --sync $(at4 20 12); sleep 0.3
shot zoom-quarter >/dev/null
# Ctrl+wheel up over cell (15, 0): 1/2x with that cell kept under the
# pointer (its scroll stays inside the map there), and Ctrl (a button of its
# own) stamps nothing. A click 16 pixels to the right is then the next cell.
wheel $(at4 15 0) 4 ctrl
set -- $(at4 15 0)
click_at $(( $1 + 16 )) "$2"
xdotool mousemove --sync 400 590; sleep 0.3
shot zoom-half >/dev/null

# SAVE through the real chooser, then quit.
save_and_quit "$work/zoomed"

# The tree's Y (128) is on exactly the painted cells.
painted=$(cells_with_y zoomed.bct 128)
[ "$painted" = "16,0 4,1 2,3 1,4 30,25 39,29 " ] || fail "painted cells are '$painted'"

# The guide's pictures: the sample map at 1/4x, then in attribute mode, where
# every value is a colour and the title line tells the value under the pointer.
cp "$SRC/samples/sample.bct" sample.bct
write_ini "$work" "$work/chips.bmp" "$work/sample.bct" "$work/Brin.bmp"
"$BIN" >/dev/null 2>&1 & pid=$!
focus_window "$(wait_window Brindlecot2D)"
press_key Return
w=$(wait_window '^Brindlecot$')
sleep 1
give_keyboard "$w"
xdotool mousemove --sync 400 590; press_key minus; press_key minus
xdotool mousemove --sync $(at4 12 9); sleep 0.3
shot zoom-sample >/dev/null
click_at $((496 + 24)) 40
xdotool mousemove --sync $(at4 12 9); sleep 0.3
s=$(shot zoom-attribute)
[ "$(pixel "$s" $(at4 2 2))" != "$(pixel "$(shot_path zoom-sample)" $(at4 2 2))" ] ||
  fail "attribute mode at 1/4x shows no colours"
quit_editor "$pid"; pid=""
echo "zoom session: ok"
