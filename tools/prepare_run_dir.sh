#!/usr/bin/env bash
# Prepares a working directory for the editor: the sample chip sheet, a sample
# map and the wallpaper, and a Brindlecot.ini naming them. An existing ini is
# never overwritten.
set -euo pipefail
dir="$1"
root="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$dir"
cd "$dir"
for f in chips.bmp sample.bct; do
  [ -e "$f" ] || cp "$root/samples/$f" "$f"
done
[ -e Brin.bmp ] || cp "$root/samples/Brin.bmp" Brin.bmp
if [ ! -e Brindlecot.ini ]; then
  here="$(pwd)/"
  # Section and key names are Shift_JIS bytes.
  section="$(printf 'ふぁいる' | iconv -f UTF-8 -t CP932)"
  printf '[%s]\r\nBMP=%schips.bmp\r\nBCT=%ssample.bct\r\nBG=%sBrin.bmp\r\n' \
    "$section" "$here" "$here" "$here" > Brindlecot.ini
fi
