#!/usr/bin/env bash
# Names beyond Shift_JIS: the run folder prepared by tools/prepare_run_dir.sh
# in a folder named café starts the editor with the sample map; LOAD opens a
# map in 地図/ whose sheet is château.bmp (an escaped @BMP name); SAVE writes
# it into josé/ after telling once that the sheet's name goes in escaped; the
# settings file holds every path in Shift_JIS or escaped, never raw UTF-8,
# and the next start offers the map saved last.
#   paths_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
# e2e-also-under: openbox
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"

base="$(mktemp -d)"
pid=""
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$base"' EXIT
start_window_manager
run="$base/café" maps="$base/地図" jose="$base/josé"
bash "$SRC/tools/prepare_run_dir.sh" "$run"
ini="$run/Brindlecot.ini"
grep -aq "^BCT=utf8:${base}/caf%C3%A9/sample.bct"$'\r'"$" "$ini" || fail "the prepared settings do not name café/sample.bct escaped"
if has_line 'é' "$(iconv -f CP932 -t UTF-8 "$ini")"; then fail "raw UTF-8 in the Shift_JIS settings file"; fi

mkdir -p "$maps" "$jose"
cp "$SRC/samples/chips.bmp" "$maps/château.bmp"
{ printf 'BrindlecotVer0.93b\r\n@BMP utf8:ch%%C3%%A2teau.bmp\r\n@KOMA_X 2\r\n@KOMA_Y 1\r\n@TIP_X 32\r\n@TIP_Y 32\r\n'
  printf '@00000:X,  96,  32\r\n@00000:Y, 128,   0\r\n@00000:A,   0,   0\r\n'; } > "$maps/level1.bct"
button() { click_at $(( $1 + 24 )) 40; }
sheet_lit() { lit_pixels "$(shot "$1")" 26 114 250 250; }

cd "$run"
"$BIN" >/dev/null 2>&1 & pid=$!
give_keyboard "$(wait_window Brindlecot2D)"
press_key Return  # opens café/sample.bct named in the settings
give_keyboard "$(wait_window '^Brindlecot$')"
sleep 1
[ "$(sheet_lit paths-sample)" -gt 1000 ] || fail "the sample's chip sheet in café/ is not shown"

button 72 &  # LOAD
clicker=$!
choose_file 'マップファイル？' "$maps/level1.bct"
wait $clicker || true
sleep 1
window_named 'はて？' && fail "LOAD of 地図/level1.bct was refused"
button 128 &  # SAVE
clicker=$!
choose_file 'どれにセーブする？' "$jose/level1 copy.bct"
told="$(wait_window 'はて？')"  # the sheet's name goes into @BMP escaped
focus_window "$told"
shot paths-told >/dev/null
press_key Return
wait $clicker || true
sleep 1
[ "$(sheet_lit paths-saved)" -gt 1000 ] || fail "château.bmp is not shown"
grep -aq "^@BMP utf8:ch%C3%A2teau.bmp"$'\r'"$" "$jose/level1 copy.bct" || fail "josé/level1 copy.bct lacks the escaped sheet name"
grep -aq '^@00000:X,  96,  32' "$jose/level1 copy.bct" || fail "josé/level1 copy.bct does not hold 地図/level1.bct's cells"
quit_editor "$pid"; pid=""

grep -aq "^BCT=utf8:${base}/jos%C3%A9/level1 copy.bct"$'\r'"$" "$ini" || fail "the settings do not name josé/level1 copy.bct"
grep -aq "^BMP=utf8:${base}/%E5%9C%B0%E5%9B%B3/ch%C3%A2teau.bmp"$'\r'"$" "$ini" || fail "the settings do not name 地図/château.bmp"

# The next start offers josé/level1 copy.bct and shows château.bmp again.
cp "$maps/château.bmp" "$jose/château.bmp"
"$BIN" >/dev/null 2>&1 & pid=$!
give_keyboard "$(wait_window Brindlecot2D)"
press_key Return
give_keyboard "$(wait_window '^Brindlecot$')"
sleep 1
window_named 'はて？' && fail "the map saved in josé/ did not open at the next start"
[ "$(sheet_lit paths-again)" -gt 1000 ] || fail "château.bmp is not shown after the restart"
quit_editor "$pid"; pid=""
echo "paths session passed"
