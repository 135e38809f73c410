# Shared by the scripts that run the real editor under Xvfb (bench/idle.sh,
# bench/peer.sh): the test map, CPU time and memory of a process, the
# editor's start and its frame log, medians. Sourced, not run.

# make_map256 DIR: a 256 x 256 map of 32 x 32 chips in DIR/map256.bct, every
# cell one of the 64 sample chips, with the chip sheet and wallpaper beside it
# and a settings file that opens them.
make_map256() {
  local dir="$1"
  awk 'BEGIN {
    printf "BrindlecotVer0.93b\r\n--------------------------------\r\n@BMP chips.bmp\r\n"
    printf "@KOMA_X 256\r\n@KOMA_Y 256\r\n@TIP_X 32\r\n@TIP_Y 32\r\n--------------------------------\r\n"
    for (r = 0; r < 256; ++r) {
      for (p = 0; p < 3; ++p) {
        printf "@%05d:%s", r, substr("XYA", p + 1, 1)
        for (c = 0; c < 256; ++c) {
          v = p == 0 ? ((c * 7 + r) % 8) * 32 : (p == 1 ? ((c + r * 3) % 8) * 32 : 0)
          printf ",%4d", v
        }
        printf "\r\n"
      }
    }
  }' > "$dir/map256.bct"
  cp "$root/samples/chips.bmp" "$root/samples/Brin.bmp" "$dir/"
  local section
  section="$(printf 'ふぁいる' | iconv -f UTF-8 -t CP932)"
  printf '[%s]\r\nBMP=%s/chips.bmp\r\nBCT=%s/map256.bct\r\nBG=%s/Brin.bmp\r\n' "$section" "$dir" "$dir" "$dir" \
    > "$dir/Brindlecot.ini"
}

# start_session: a fresh work folder ($work) with the test map, openbox
# running, and at exit the program under test ($pid) and the window manager
# ended and the folder removed.
start_session() {
  work="$(mktemp -d)"
  pid=""
  wm=""
  trap end_session EXIT
  openbox >/dev/null 2>&1 & wm=$!
  sleep 1
  make_map256 "$work"
}
end_session() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  rm -rf "$work"
}

# Screen position of a picture position on a screen of $sw x $sh: the editor
# shows its 800 x 600 picture scaled to fit and centred.
sx() { awk -v x="$1" -v w="$sw" -v h="$sh" 'BEGIN { s = w / 800 < h / 600 ? w / 800 : h / 600; printf "%d", (w - 800 * s) / 2 + x * s }'; }
sy() { awk -v y="$1" -v w="$sw" -v h="$sh" 'BEGIN { s = w / 800 < h / 600 ? w / 800 : h / 600; printf "%d", (h - 600 * s) / 2 + y * s }'; }

# stroke SECONDS: the primary button held while the pointer sweeps back and
# forth over the map window (picture x 320 to 760), one step of 24 picture
# pixels every 50 ms.
stroke() {
  local end=$((SECONDS + $1)) x=320 dx=24
  xdotool mousemove "$(sx $x)" "$(sy 300)" mousedown 1
  while [ $SECONDS -lt $end ]; do
    x=$((x + dx))
    if [ $x -gt 760 ] || [ $x -lt 320 ]; then dx=$((-dx)); x=$((x + 2 * dx)); fi
    xdotool mousemove "$(sx $x)" "$(sy $(( 200 + (x % 200) )))"
    sleep 0.05
  done
  xdotool mouseup 1
}

tck="$(getconf CLK_TCK)"
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# cpu_seconds T0 T1: the ticks between two cpu_ticks readings in seconds.
cpu_seconds() { awk -v a="$1" -v b="$2" -v t="$tck" 'BEGIN { printf "%.2f", (b - a) / t }'; }
# Peak resident memory of a live process in MB.
peak_rss_mb() { awk '/^VmHWM:/ { printf "%.0f", $2 / 1024 }' "/proc/$1/status"; }

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# start_brindlecot DIR BINARY LOG: the editor started in DIR with its frame
# log in LOG, its start-up dialog answered with Return, its window in front.
# Sets pid.
start_brindlecot() {
  local dir="$1" bin="$2" log="$3" dlg win
  # The run before was killed after painting and left a recovery copy, which
  # a start would offer before its start-up dialog: each start gets a clean
  # folder of its own for such copies.
  rm -rf "$work/state"
  (cd "$dir" && XDG_STATE_HOME="$work/state" BRINDLECOT_FRAME_LOG="$log" exec "$bin") >/dev/null 2>&1 & pid=$!
  for _ in $(seq 100); do xdotool search --onlyvisible --name Brindlecot2D >/dev/null 2>&1 && break; sleep 0.1; done
  dlg="$(xdotool search --onlyvisible --name Brindlecot2D | head -1)"
  xdotool windowactivate --sync "$dlg" 2>/dev/null || xdotool windowfocus --sync "$dlg"
  sleep 0.3
  xdotool key Return
  for _ in $(seq 100); do xdotool search --onlyvisible --name '^Brindlecot$' >/dev/null 2>&1 && break; sleep 0.1; done
  win="$(xdotool search --onlyvisible --name '^Brindlecot$' | head -1)"
  xdotool windowactivate --sync "$win" 2>/dev/null || true
}

# frame_window LOG FIRST LAST: the frame log's lines FIRST..LAST summed;
# prints "frames/s changed/s paints/s longest-ms over17-share%".
frame_window() {
  sed -n "$2,$3p" "$1" | awk '
    { ms += $2; f += $4; c += $6; p += $8; if ($10 > l) l = $10; o += $12 }
    END { if (ms == 0) { print "n/a n/a n/a n/a n/a"; exit }
          printf "%.1f %.1f %.1f %d %.1f\n", f * 1000 / ms, c * 1000 / ms, p * 1000 / ms, l, f ? 100 * o / f : 0 }'
}
log_lines() { if [ -f "$1" ]; then wc -l < "$1"; else echo 0; fi; }
