#!/usr/bin/env bash
# Work survives a kill: paint, wait past the copy's two seconds, SIGKILL the
# editor, start it again and restore; a second editor running at the same
# time never offers the first one's copy. The quit question with unsaved
# changes cancels with Esc.
#   recovery_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
# e2e-also-under: openbox
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"

work="$(mktemp -d)"
pid=""; other=""
trap 'kill -9 $pid $other 2>/dev/null || true; [ -n "${E2E_WM_PID:-}" ] && kill $E2E_WM_PID 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
export XDG_STATE_HOME="$work/state"
cp "$SRC/samples/chips.bmp" "$SRC/samples/Brin.bmp" .
write_ini "$work" "$work/chips.bmp" "" "$work/Brin.bmp"
start_window_manager

copies() { ls "$XDG_STATE_HOME/brindlecot/" 2>/dev/null | grep -c '^edit-.*\.bct$' || true; }

"$BIN" & pid=$!
give_keyboard "$(wait_window Brindlecot2D)"
press_key Return
main=$(wait_window '^Brindlecot$')
give_keyboard "$main"
sleep 1
# Chip (3, 4) of the sheet, stamped at map cells (1, 1), (4, 2) and (6, 5).
click_at $(( $(sheet_x 3) + 16 )) $(( $(sheet_y 4) + 16 ))
for c in "1 1" "4 2" "6 5"; do
  set -- $c
  click_at $(( $(map_x "$1") + 10 )) $(( $(map_y "$2") + 10 ))
done
wait_window '^Brindlecot \*$' >/dev/null
xdotool mousemove --sync 400 590; sleep 0.3
shot recovery-painted >/dev/null

# The quit question with unsaved changes: Esc cancels, the editor stays.
press_key Escape
give_keyboard "$(wait_window 'いいのかな？')"
shot recovery-quit-question >/dev/null
press_key Escape
wait_for 10 gone 'いいのかな？' || fail "Esc did not cancel the unsaved question"
kill -0 "$pid" || fail "cancel ended the editor"

sleep 3
[ "$(copies)" -eq 1 ] || fail "no recovery copy after three seconds"
# A second editor while the first runs: its copy is not offered.
"$BIN" & other=$!
w=$(wait_window Brindlecot2D)
window_named 'いいのかな？' && fail "a running editor's copy was offered"
give_keyboard "$w"; press_key Escape
wait "$other" || true; other=""

kill -9 "$pid"; wait "$pid" 2>/dev/null || true; pid=""
[ "$(copies)" -eq 1 ] || fail "the copy did not survive the kill"

"$BIN" & pid=$!
give_keyboard "$(wait_window 'いいのかな？')"
shot recovery-offer >/dev/null
press_key Return
main=$(wait_window '^Brindlecot \*$')
window_named Brindlecot2D && fail "the start-up dialog was not skipped"
give_keyboard "$main"
xdotool mousemove --sync 400 590; sleep 0.8
s=$(shot recovery-restored)
for c in "1 1" "4 2" "6 5"; do
  set -- $c
  same_chip "$s" 3 4 "$1" "$2" || fail "map cell ($1,$2) was not restored"
done
same_chip "$s" 3 4 2 1 && fail "a cell never painted shows the chip"
[ "$(copies)" -eq 1 ] || fail "restoring left $(copies) copies"

quit_editor "$pid"; pid=""
[ "$(copies)" -eq 0 ] || fail "a normal quit left the copy"
echo "recovery session passed"
