#!/usr/bin/env bash
# A new map on the chip sheet remembered in the settings, saved into another
# folder: the file names the sheet, the next start finds the sheet without a
# complaint, and LOAD of the map keeps showing it.
#   sheet_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"

work="$(mktemp -d)"
pid=""
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/sheets" "$work/maps" "$work/run"
cp "$SRC/samples/chips.bmp" "$work/sheets/"
cp "$SRC/samples/Brin.bmp" "$work/run/"
cd "$work/run"
write_ini "$work/run" "$work/sheets/chips.bmp" "" "$work/run/Brin.bmp"

start_editor() {
  "$BIN" & pid=$!
  focus_window "$(wait_window Brindlecot2D)"
  press_key Return
  # A complaint box would keep the dialog open and the editor from showing.
  wait_window '^Brindlecot$' >/dev/null
  sleep 1
}
# The chip (c, r) of the sheet shows in map cell (mc, mr): 32-pixel chips,
# windows at their default places, nothing scrolled.
shows() {  # shows SHOT C R MC MR
  local a b d
  a="$(mktemp --suffix=.png)"; b="$(mktemp --suffix=.png)"
  convert "$1" -crop "26x26+$((24 + 32 * $2 + 3))+$((112 + 32 * $3 + 3))" +repage "$a"
  convert "$1" -crop "26x26+$((300 + 32 * $4 + 3))+$((112 + 32 * $5 + 3))" +repage "$b"
  d=$(compare -metric AE "$a" "$b" null: 2>&1 | cut -d' ' -f1 || true)
  rm -f "$a" "$b"
  [ "$d" = 0 ]
}
lit() {  # lit SHOT: the sheet window shows the sheet, not black
  local v
  v=$(convert "$1" -crop 200x200+30+120 +repage -format '%[fx:mean]' info:)
  awk -v v="$v" 'BEGIN{exit !(v > 0.05)}'
}

# 1. New map, the sheet from the settings; pick the tree, stamp it at (2, 2).
start_editor
click_at $((24 + 16)) $((112 + 4 * 32 + 16))
click_at $((300 + 2 * 32 + 10)) $((112 + 2 * 32 + 10))
# 2. SAVE into another folder than the sheet's.
click_at $((128 + 24)) 40 &
clicker=$!
choose_file 'どれにセーブする？' "$work/maps/town"
wait $clicker || true
wait_for 10 test -s "$work/maps/town.bct" || fail "no town.bct was saved"
grep -q $'^@BMP chips.bmp\r$' "$work/maps/town.bct" || fail "the saved map does not name its chip sheet"
quit_editor "$pid"; pid=""
ini="$(iconv -f CP932 -t UTF-8 Brindlecot.ini)"
has_line "^BMP=$work/sheets/chips.bmp" "$ini" || fail "the settings lost the chip sheet"

# 3. Start again on the saved map: no complaint, the sheet and the tree show.
start_editor
xdotool mousemove --sync 790 590; sleep 0.3
s=$(shot sheet-restarted)
lit "$s" || fail "the restarted editor shows no chip sheet"
shows "$s" 0 4 2 2 || fail "the restarted editor does not show the stamped tree"

# 4. LOAD of the same map: the sheet stays, nothing to complain about.
click_at $((72 + 24)) 40 &
clicker=$!
choose_file 'マップファイル？' "$work/maps/town.bct"
wait $clicker || true
sleep 1
gone 'はて？' || fail "LOAD complained about the chip sheet"
xdotool mousemove --sync 790 590; sleep 0.3
s=$(shot sheet-loaded)
lit "$s" || fail "LOAD blanked the chip sheet"
shows "$s" 0 4 2 2 || fail "after LOAD the tree does not show"
quit_editor "$pid"; pid=""
echo "sheet session: ok"
