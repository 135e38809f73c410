#!/usr/bin/env bash
# Undo history and strokes with real X input: a quick click picks a chip, a
# stamp is undone and redone by Ctrl+Z / Ctrl+Y without the Ctrl press leaving
# a stamp of its own, a fast FREE drag leaves no gaps, and the chip sheet is
# rewritten on disk (renamed over, written in place, then broken) while the
# editor runs.
#   history_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
# e2e-also-under: openbox
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"
start_window_manager

enter_work_dir
start_new_map "$BIN" "$SRC" > "$work/window"
win=$(cat "$work/window")
give_keyboard "$win"
sleep 1

rest() { xdotool mousemove --sync 400 590; sleep 0.3; }

# A click as fast as X delivers it picks the tree at sheet chip (0, 4) ...
xdotool mousemove --sync $(( $(sheet_x 0) + 16 )) $(( $(sheet_y 4) + 16 )); sleep 0.2
xdotool click 1; sleep 0.3
# ... and a click on map cell (2, 2) stamps it.
click_at $(( $(map_x 2) + 10 )) $(( $(map_y 2) + 10 ))
rest
s=$(shot history-stamped)
same_chip "$s" 0 4 2 2 || fail "a quick click on the sheet did not pick the clicked chip"

# Ctrl held over map cell (5, 2) stamps there in its own frame; the Z that
# makes it Ctrl+Z takes that stamp back and undoes the one at (2, 2).
xdotool mousemove --sync $(( $(map_x 5) + 10 )) $(( $(map_y 2) + 10 )); sleep 0.2
xdotool keydown Control_L; sleep 0.3
xdotool key z; sleep 0.2
xdotool keyup Control_L; sleep 0.2
rest
s=$(shot history-undone)
same_chip "$s" 0 0 5 2 || fail "Ctrl+Z left a stamp at (5, 2)"
same_chip "$s" 0 0 2 2 || fail "Ctrl+Z did not undo the stamp at (2, 2)"
# Ctrl+Y as one quick chord over the map: the stamp comes back, no other.
xdotool mousemove --sync $(( $(map_x 7) + 10 )) $(( $(map_y 2) + 10 )); sleep 0.2
xdotool key ctrl+y; sleep 0.3
rest
s=$(shot history-redone)
same_chip "$s" 0 4 2 2 || fail "Ctrl+Y did not redo the stamp"
same_chip "$s" 0 0 7 2 || fail "Ctrl+Y left a stamp at (7, 2)"

# FREE, and a drag that jumps from cell (1, 6) to cell (12, 6) in one motion.
click_at 464 40
xdotool mousemove --sync $(( $(map_x 1) + 10 )) $(( $(map_y 6) + 10 )); sleep 0.2
xdotool mousedown 1; sleep 0.4
# The button stays down a while at the end, so that a frame sees it there
# even on a loaded machine, before the release ends the stroke.
xdotool mousemove --sync $(( $(map_x 12) + 10 )) $(( $(map_y 6) + 10 )); sleep 0.6
xdotool mouseup 1; sleep 0.2
rest
s=$(shot history-free-jump)
for c in $(seq 1 12); do
  same_chip "$s" 0 4 "$c" 6 || fail "the fast stroke left map cell ($c, 6) unpainted"
done

# The sheet is saved anew by writing a new file and renaming it over the old
# one: the sheet window and the painted cells show the new chips within a
# second, the cells still name the same positions.
before=$s
convert "$SRC/samples/chips.bmp" -negate BMP3:"$work/new.bmp"
mv "$work/new.bmp" "$work/chips.bmp"
sleep 1
s=$(shot history-sheet-renamed)
[ "$(region_diff "$before" "$s" 24 112 64 64)" -gt 100 ] || fail "the sheet window did not follow the renamed file"
same_chip "$s" 0 4 2 2 || fail "a reloaded sheet changed the cells"
same_chip "$s" 0 4 12 6 || fail "a reloaded sheet changed the stroke"

# Written in place: back to the original chips.
before=$s
cat "$SRC/samples/chips.bmp" > "$work/chips.bmp"
sleep 1
s=$(shot history-sheet-in-place)
[ "$(region_diff "$before" "$s" 24 112 64 64)" -gt 100 ] || fail "the sheet window did not follow the file written in place"
[ "$(region_diff "$before" "$s" 300 112 400 300)" -gt 100 ] || fail "the map did not follow the file written in place"

# A file that is no bitmap: the sheet in use stays, and the user hears once.
printf 'not a bitmap' > "$work/chips.bmp"
box=$(wait_window 'はて？' 5)
shot history-sheet-broken >/dev/null
focus_window "$box"; press_key Return
wait_for 10 gone 'はて？' || fail "the notice stayed open"
give_keyboard "$win"
rest
s2=$(shot history-sheet-kept)
[ "$(region_diff "$s" "$s2" 24 112 64 64)" -lt 50 ] || fail "a broken file changed the sheet in use"
printf 'still not a bitmap' > "$work/chips.bmp"
sleep 1.5
gone 'はて？' || fail "the notice came a second time"

quit_editor "$pid"
echo "history session: ok"
