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
# The settings file holds paths as Shift_JIS bytes, as the editor reads them:
# a clone under a folder named 地図 is converted. A path Shift_JIS cannot hold
# stays as it is (the editor cannot open it yet).
stored_path() {
  local sjis
  if sjis="$(printf '%s' "$1" | iconv -f UTF-8 -t CP932 2>/dev/null)"; then
    printf '%s' "$sjis"
  else
    printf '%s' "$1"
  fi
}
if [ ! -e Brindlecot.ini ]; then
  here="$(pwd)/"
  # Section and key names are Shift_JIS bytes.
  {
    printf '[%s]\r\n' "$(printf 'ふぁいる' | iconv -f UTF-8 -t CP932)"
    printf 'BMP=%s\r\n' "$(stored_path "${here}chips.bmp")"
    printf 'BCT=%s\r\n' "$(stored_path "${here}sample.bct")"
    printf 'BG=%s\r\n' "$(stored_path "${here}Brin.bmp")"
  } > Brindlecot.ini
fi
