# Helpers for driving the real editor under Xvfb with xdotool. Sourced.
# Every wait polls for a condition with a deadline instead of sleeping blindly.

E2E_SHOTS="${E2E_SHOTS:-/tmp/brindle-e2e-shots}"
mkdir -p "$E2E_SHOTS"
# Recovery copies of a session stay with the session, never in the user's folder.
export XDG_STATE_HOME="$(mktemp -d)"
# The sessions read the Japanese interface whatever the user's locale is; a
# session that wants English passes --lang en.
export LC_ALL=C.UTF-8

fail() { echo "E2E FAIL: $*" >&2; exit 1; }

# The sessions run with pipefail: a reader that stops at its first match
# (grep -q, head) can end a pipe while the writer still writes, and the
# writer's SIGPIPE then fails the whole check, so a match reads as none. Text
# is therefore searched whole, never through such a pipe.
has_line() { grep -q -- "$1" <<<"$2"; }  # has_line PATTERN TEXT
windows_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; }

# wait_for SECONDS COMMAND...: retry COMMAND until it succeeds.
wait_for() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.1
  done
}

window_named() { [ -n "$(windows_named "$1")" ]; }

wait_window() {
  wait_for "${2:-20}" window_named "$1" || fail "no window named '$1'"
  local ids; ids="$(windows_named "$1")"
  echo "${ids%%$'\n'*}"
}

# The same session runs with and without a window manager at the same time
# (ctest -j2): each run names its pictures apart, or one run would read the
# other's screenshot in place of its own.
shot_path() { echo "$E2E_SHOTS/$1${E2E_WM:+-$E2E_WM}.png"; }
shot() {  # shot NAME: screenshot of the whole screen
  import -window root "$(shot_path "$1")"
  shot_path "$1"
}

# pixel FILE X Y -> "r,g,b"
pixel() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | tail -1 | sed -E 's/.*\(([0-9.]+),([0-9.]+),([0-9.]+).*/\1,\2,\3/' | cut -d, -f1-3
}

# region_diff FILE1 FILE2 X Y W H -> number of differing pixels
region_diff() {
  local a b
  a="$(mktemp --suffix=.png)"; b="$(mktemp --suffix=.png)"
  convert "$1" -crop "$5x$6+$3+$4" +repage "$a"
  convert "$2" -crop "$5x$6+$3+$4" +repage "$b"
  compare -metric AE "$a" "$b" null: 2>&1 | cut -d' ' -f1 || true
  rm -f "$a" "$b"
}

# A press held long enough for the editor's once-per-frame read to see it.
click_at() {
  xdotool mousemove --sync "$1" "$2"
  sleep 0.15
  xdotool mousedown "${3:-1}"
  sleep 0.15
  xdotool mouseup "${3:-1}"
  sleep 0.15
}

drag() {  # drag X1 Y1 X2 Y2 [button]
  xdotool mousemove --sync "$1" "$2"
  sleep 0.15
  xdotool mousedown "${5:-1}"
  sleep 0.15
  local steps=8 i
  for i in $(seq 1 $steps); do
    xdotool mousemove $(( $1 + ($3 - $1) * i / steps )) $(( $2 + ($4 - $2) * i / steps ))
    sleep 0.05
  done
  sleep 0.15
  xdotool mouseup "${5:-1}"
  sleep 0.15
}

press_key() { xdotool key --clearmodifiers "$1"; sleep 0.15; }

# Writes a settings file in the editor's own layout (Shift_JIS names).
write_ini() {  # write_ini DIR CHIPS MAP WALLPAPER
  local section
  section="$(printf 'ふぁいる' | iconv -f UTF-8 -t CP932)"
  printf '[%s]\r\nBMP=%s\r\nBCT=%s\r\nBG=%s\r\n' "$section" "$2" "$3" "$4" > "$1/Brindlecot.ini"
}

# Without a window manager the keyboard follows the pointer and the focus
# set here; both are pointed at the window.
focus_window() {
  xdotool mousemove --window "$1" 10 10 2>/dev/null || true
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  sleep 0.2
}

# Clicks at (X, Y) where a click opens the modal window TITLE; the click is
# sent from the background because it returns only once the window is open.
# Prints the window.
open_window_by_click() {  # open_window_by_click X Y TITLE
  click_at "$1" "$2" &
  local clicker=$! w
  w=$(wait_window "$3")
  wait "$clicker" || true
  echo "$w"
}

# Esc, then Yes in the quit question (or, with unsaved changes, "quit without
# saving"); the program must end with exit code 0.
quit_editor() {  # quit_editor PID
  local answer=Return
  window_named '^Brindlecot \*$' && answer=n
  xdotool mousemove --sync 400 590
  press_key Escape
  focus_window "$(wait_window 'いいのかな？')"
  press_key "$answer"
  local rc=0
  wait "$1" || rc=$?
  [ "$rc" -eq 0 ] || fail "quit exit code $rc"
}

gone() { ! window_named "$1"; }

# Types text into the focused window. A character outside the keyboard map is
# typed by mapping it to a spare key for the moment of the press; a client that
# looks the key up after the map is put back reads no character, and under
# load that drops one (地図 became 図). Such characters are therefore typed
# slowly, apart from the plain ASCII around them.
type_text() {  # type_text TEXT
  local s="$1" run outer="${LC_ALL:-}"
  local LC_ALL=C  # the patterns below go byte by byte
  while [ -n "$s" ]; do
    run="${s%%[^ -~]*}"
    if [ -n "$run" ]; then
      LC_ALL="$outer" xdotool type --delay 20 -- "$run"
    else
      run="${s%%[ -~]*}"
      LC_ALL="$outer" xdotool type --delay 150 -- "$run"
    fi
    s="${s#"$run"}"
  done
}

choose_file() {  # choose_file TITLE PATH: type a path into the real chooser
  local w
  w=$(wait_window "$1")
  focus_window "$w"
  type_text "$2"
  press_key Return
  wait_for 10 gone "$1" || fail "chooser '$1' stayed open"
}

# With E2E_WM=openbox the session runs under openbox, as most users have it;
# otherwise without a window manager. Call once before the program starts.
# A fresh folder to work in, made current; at the exit the editor ($pid) and
# the window manager are stopped and the folder removed.
enter_work_dir() {
  work="$(mktemp -d)"
  trap 'kill $pid 2>/dev/null || true; [ -n "${E2E_WM_PID:-}" ] && kill $E2E_WM_PID 2>/dev/null; rm -rf "$work"' EXIT
  cd "$work"
}
start_window_manager() {
  [ "${E2E_WM:-}" = openbox ] || return 0
  openbox >/dev/null 2>&1 &
  E2E_WM_PID=$!
  wait_for 20 window_manager_ready || fail "openbox did not start"
}
window_manager_ready() { has_line 'window id' "$(xprop -root _NET_SUPPORTING_WM_CHECK)"; }

# Gives the keyboard to a window: under a window manager by activating it.
give_keyboard() {  # give_keyboard WINDOW
  if [ "${E2E_WM:-}" = openbox ]; then
    xdotool windowactivate --sync "$1" 2>/dev/null || true
  else
    xdotool windowfocus --sync "$1" 2>/dev/null || true
  fi
  sleep 0.3
}

# Number of pixels in a rectangle of FILE that are not black.
lit_pixels() {  # lit_pixels FILE X Y W H
  convert "$1" -crop "$4x$5+$2+$3" +repage -threshold 10% -format '%[fx:int(mean*w*h+0.5)]' info:
}

# The top-left corner of a window's content on the screen, "X Y". (xwininfo:
# xdotool's geometry counts a window manager's frame offset twice.)
window_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x, y}'
}

# Clicks inside a window, at pixels from its top-left corner.
click_in() {  # click_in WINDOW X Y
  local o; o=($(window_origin "$1"))
  click_at $((o[0] + $2)) $((o[1] + $3))
}

# Chip (c, r) of the sheet window at its first place (24, 112) and map cell
# (c, r) of the map window at (300, 112); 32 x 32 chips, nothing scrolled.
sheet_x() { echo $((24 + 32 * $1)); }
sheet_y() { echo $((112 + 32 * $1)); }
map_x() { echo $((300 + 32 * $1)); }
map_y() { echo $((112 + 32 * $1)); }
# Differing pixels between the inside of a sheet chip and of a map cell on
# screen, clear of grid lines and highlight boxes.
chip_diff() {  # chip_diff SHOT SHEETCOL SHEETROW MAPCOL MAPROW
  local a b
  a="$(mktemp --suffix=.png)"; b="$(mktemp --suffix=.png)"
  convert "$1" -crop "26x26+$(( $(sheet_x "$2") + 3 ))+$(( $(sheet_y "$3") + 3 ))" +repage "$a"
  convert "$1" -crop "26x26+$(( $(map_x "$4") + 3 ))+$(( $(map_y "$5") + 3 ))" +repage "$b"
  compare -metric AE "$a" "$b" null: 2>&1 | cut -d' ' -f1 || true
  rm -f "$a" "$b"
}
same_chip() { [ "$(chip_diff "$@")" = 0 ]; }

# Starts the editor in the current folder with a new map over the sample chip
# sheet and wallpaper (copied here), past the start-up dialog; sets pid and
# prints the editor's window.
start_new_map() {  # start_new_map BRINDLECOT SOURCE_DIR
  cp "$2/samples/chips.bmp" "$2/samples/Brin.bmp" .
  write_ini "$PWD" "$PWD/chips.bmp" "" "$PWD/Brin.bmp"
  "$1" >/dev/null 2>&1 & pid=$!
  focus_window "$(wait_window Brindlecot2D)"
  press_key Return
  wait_window '^Brindlecot$'
}

# SAVE through the real chooser into PATH (".bct" is added), then quit.
save_and_quit() {  # save_and_quit PATH
  click_at $((128 + 24)) 40 &
  local clicker=$!
  choose_file 'どれにセーブする？' "$1"
  wait $clicker || true
  quit_editor "$pid"; pid=""
  [ -e "$1.bct" ] || fail "no $1.bct was saved"
}

# The cells of a saved map whose chip has Y = VALUE in the sheet, "c,r " each,
# row by row.
cells_with_y() {  # cells_with_y FILE VALUE
  tr -d '\r' < "$1" | awk -F, -v want="$2" '/^@[0-9]+:Y/ {
    r = substr($1, 2, 5) + 0
    for (c = 2; c <= NF; ++c) if ($c + 0 == want) printf "%d,%d ", c - 2, r
  }'
}
