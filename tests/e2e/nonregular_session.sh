#!/usr/bin/env bash
# Paths that are not regular files never hang the start: a FIFO, a socket,
# /dev/zero and a folder as the map, the chip sheet, the wallpaper and the
# settings file, each time the start-up dialog within 5 s. Then a writer killed
# after its temporary file is written, and the next start finding no litter.
#   nonregular_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"

work="$(mktemp -d)"
pid=""; holder=""
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; [ -n "$holder" ] && kill $holder 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
cp "$SRC/samples/chips.bmp" "$SRC/samples/Brin.bmp" .
cp "$SRC/samples/sample.bct" map.bct
mkfifo fifo
python3 -c 'import socket; socket.socket(socket.AF_UNIX).bind("sock")'
mkdir folder

# start_and_cancel WHAT: the start-up dialog appears within 5 s; Escape ends.
start_and_cancel() {
  "$BIN" & pid=$!
  wait_for 5 window_named Brindlecot2D || fail "$1: no start-up dialog within 5 s"
  local dlg; dlg=$(wait_window Brindlecot2D)
  focus_window "$dlg"
  press_key Escape
  local rc=0; wait "$pid" || rc=$?; pid=""
  [ "$rc" -eq 0 ] || fail "$1: cancel exit code $rc"
}

for odd in "$work/fifo" "$work/sock" /dev/zero "$work/folder"; do
  write_ini "$work" "$odd" "$work/map.bct" "$work/Brin.bmp"; start_and_cancel "chip sheet $odd"
  write_ini "$work" "$work/chips.bmp" "$odd" "$work/Brin.bmp"; start_and_cancel "map $odd"
  write_ini "$work" "$work/chips.bmp" "$work/map.bct" "$odd"; start_and_cancel "wallpaper $odd"
done

# The map is a FIFO: OK says there is no such map file, as for a missing one.
write_ini "$work" "$work/chips.bmp" "$work/fifo" "$work/Brin.bmp"
"$BIN" & pid=$!
focus_window "$(wait_window Brindlecot2D 5)"
press_key Return
focus_window "$(wait_window 'はて？' 10)"
press_key Return
focus_window "$(wait_window Brindlecot2D 5)"
press_key Escape
wait "$pid" || true; pid=""

# The settings file itself is a FIFO, then a folder.
rm Brindlecot.ini; mkfifo Brindlecot.ini
start_and_cancel "settings FIFO"
rm Brindlecot.ini; mkdir Brindlecot.ini
start_and_cancel "settings folder"
rmdir Brindlecot.ini

# A killed writer leaves its temporary file; the next start removes it, and
# leaves alone what it did not make or what a running writer still holds.
write_ini "$work" "$work/chips.bmp" "" "$work/Brin.bmp"
before="$(cat Brindlecot.ini)"
"$(dirname "$BIN")/kill_writer" && fail "the writer was not killed" || true
litter=$(ls -A | grep '^\.Brindlecot-save-' || true)
[ -n "$litter" ] || fail "the killed writer left no temporary file (the seam did not stop it)"
[ "$(cat Brindlecot.ini)" = "$before" ] || fail "the settings file changed although the writer was killed"
# A file is only taken for stale once it is a minute old: the next start comes later.
touch -d '2 minutes ago' $litter
echo mine > notes.tmp-abc123
echo held > .Brindlecot-save-HeLd00
touch -d '1 hour ago' notes.tmp-abc123 .Brindlecot-save-HeLd00
# The holder is one process (the lock on its fd 9), so killing it frees all.
( exec 9<.Brindlecot-save-HeLd00; flock -x 9; exec sleep 120 ) >/dev/null 2>&1 & holder=$!
wait_for 10 bash -c "! flock -n .Brindlecot-save-HeLd00 true" || fail "the holder took no lock"
start_and_cancel "after the killed writer"
[ -e "$litter" ] && fail "the killed writer's $litter is still there"
[ -e notes.tmp-abc123 ] || fail "a file the program did not make was removed"
[ -e .Brindlecot-save-HeLd00 ] || fail "a temporary file held by a running writer was removed"
kill "$holder"; holder=""
echo "nonregular session: ok"
