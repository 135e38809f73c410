#!/usr/bin/env bash
# No hidden or stale data: UNDO right after LOAD changes nothing on the
# screen, and a new map chosen after a map full of attributes saves none of
# them; its SAVE chooser opens in that map's folder with no name.
#   document_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"

work="$(mktemp -d)"
pid=""
trap '[ -n "$pid" ] && kill -9 $pid 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
cp "$SRC/samples/chips.bmp" "$SRC/samples/Brin.bmp" .
# rich.bct: 40 x 30 cells of chip (3, 4) with attribute 7; small.bct: 10 x 8 of chip (0, 0).
map() {  # map W H X Y A
  awk -v W="$1" -v H="$2" -v X="$3" -v Y="$4" -v A="$5" 'BEGIN {
    printf "BrindlecotVer0.93b\r\n@BMP chips.bmp\r\n@KOMA_X %d\r\n@KOMA_Y %d\r\n@TIP_X 32\r\n@TIP_Y 32\r\n", W, H
    for (r = 0; r < H; ++r) {
      printf "@%05d:X", r; for (c = 0; c < W; ++c) printf ",%4d", X; printf "\r\n"
      printf "@%05d:Y", r; for (c = 0; c < W; ++c) printf ",%4d", Y; printf "\r\n"
      printf "@%05d:A", r; for (c = 0; c < W; ++c) printf ",%4d", A; printf "\r\n"
    }
  }'
}
map 40 30 96 128 7 > rich.bct
map 10 8 0 0 0 > small.bct
write_ini "$work" "$work/chips.bmp" "$work/rich.bct" "$work/Brin.bmp"
button() { click_at $(( $1 + 24 )) 40; }
map_area() { convert "$1" -crop 470x460+302+114 +repage "$2"; }

"$BIN" & pid=$!
give_keyboard "$(wait_window Brindlecot2D)"
press_key Return
give_keyboard "$(wait_window '^Brindlecot$')"
sleep 1
button 72 &  # LOAD
clicker=$!
choose_file 'マップファイル？' "$work/small.bct"
wait $clicker || true
xdotool mousemove --sync 400 590; sleep 0.5
map_area "$(shot document-loaded)" loaded.png
button 256  # UNDO
xdotool mousemove --sync 400 590; sleep 0.5
map_area "$(shot document-undone)" undone.png
d=$(compare -metric AE loaded.png undone.png null: 2>&1 | cut -d' ' -f1 || true)
[ "$d" = 0 ] || fail "UNDO right after LOAD changed the map ($d pixels)"
quit_editor "$pid"; pid=""

# Again with rich.bct named in the settings: 新規作成, then SAVE under a typed name.
write_ini "$work" "$work/chips.bmp" "$work/rich.bct" "$work/Brin.bmp"
"$BIN" & pid=$!
dlg=$(wait_window Brindlecot2D)
give_keyboard "$dlg"
click_in "$dlg" 40 30   # 新規作成
click_in "$dlg" 332 269 # OK
give_keyboard "$(wait_window '^Brindlecot$')"
sleep 1
button 128 &  # SAVE: the chooser starts in rich.bct's folder with no name
clicker=$!
choose_file 'どれにセーブする？' "fresh"
wait $clicker || true
[ -e "$work/fresh.bct" ] || fail "the new map's chooser did not start in the last map's folder"
grep -q ':A' fresh.bct || fail "fresh.bct holds no attribute rows"
if has_line '[1-9]' "$(tr -d '\r' < fresh.bct | grep ':A' | cut -d, -f2-)"; then fail "the new map carries attributes of the last one"; fi
cmp -s rich.bct <(map 40 30 96 128 7) || fail "rich.bct was changed"
quit_editor "$pid"; pid=""
echo "document session passed"
