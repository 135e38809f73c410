#!/usr/bin/env bash
# The English interface: chosen by LANG, by the settings file, overruled by
# --lang; the start-up dialog, a balloon and the quit question in English.
#   english_session.sh BRINDLECOT SOURCE_DIR     (run under xvfb-run)
set -euo pipefail
BIN="$1"; SRC="$2"
source "$SRC/tests/e2e/lib.sh"

work="$(mktemp -d)"
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
cp "$SRC/samples/chips.bmp" "$SRC/samples/Brin.bmp" .
write_ini "$work" "$work/chips.bmp" "" "$work/Brin.bmp"

# A window by its UTF-8 title: an editor started in a locale this machine
# lacks has Qt write its legacy title in Latin-1, where xdotool's search by
# name cannot see Japanese.
utf8_window_named() {
  local w
  for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    if has_line "= \"$1\"$" "$(xprop -id "$w" _NET_WM_NAME 2>/dev/null)"; then echo "$w"; return 0; fi
  done
  return 1
}
wait_question() {
  wait_for 20 utf8_window_named "$1" || fail "no question titled '$1'"
  utf8_window_named "$1"
}

# Runs the editor past the start-up dialog, shows the balloon of the tool
# strip's random switch, takes the screen and asks to quit; the question's
# title (QUESTION) tells the language. The editor alone sees the locale
# ENV; the session's tools keep theirs. Sets last_shot.
run_once() {  # run_once NAME QUESTION ENV ARGS...
  local name="$1" question="$2" locale="$3"; shift 3
  env $locale "$BIN" "$@" >/dev/null 2>&1 & pid=$!
  local dlg
  dlg=$(wait_window Brindlecot2D)
  shot "$name-startup" >/dev/null
  focus_window "$dlg"
  press_key Return
  wait_window '^Brindlecot$' >/dev/null
  xdotool mousemove --sync $((480 + 9)) $((66 + 9)); sleep 0.5
  last_shot=$(shot "$name-balloon")
  xdotool mousemove --sync 400 300
  press_key Escape
  local box
  box=$(wait_question "$question")
  focus_window "$box"
  shot "$name-question" >/dev/null
  press_key Return
  local rc=0; wait "$pid" || rc=$?
  [ "$rc" -eq 0 ] || fail "$name: exit code $rc"
}

run_once english-lang 'Are you sure?' 'LANG=en_US.UTF-8 LC_ALL='
english="$last_shot"
# --lang is stronger than the environment.
run_once japanese-option 'いいのかな？' 'LANG=en_US.UTF-8 LC_ALL=' --lang ja
japanese="$last_shot"
# The balloons are the English ones (the clock and pointer rows left out).
differs=$(region_diff "$english" "$japanese" 380 60 300 80)
[ "$differs" -gt 200 ] || fail "the balloon reads the same in both languages ($differs pixels differ)"

# The settings file's choice, with LC_ALL saying nothing of English; the
# editor keeps it.
iconv -f CP932 -t UTF-8 Brindlecot.ini | sed 's/^ことば *=.*/ことば=en\r/' | iconv -f UTF-8 -t CP932 > ini.new
mv ini.new Brindlecot.ini
grep -q '=en' Brindlecot.ini || fail "no language key to set: $(iconv -f CP932 -t UTF-8 Brindlecot.ini)"
run_once english-file 'Are you sure?' 'LC_ALL=C.UTF-8'
has_line '^ことば *= *en' "$(iconv -f CP932 -t UTF-8 Brindlecot.ini)" || fail "the language was not kept: $(iconv -f CP932 -t UTF-8 Brindlecot.ini)"
echo "english session: ok"
