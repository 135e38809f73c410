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
# A path as the Shift_JIS settings file holds it: its Shift_JIS bytes when the
# conversion there and back gives the same text, else the escaped form the
# editor reads back ("utf8:", then each byte outside printable ASCII and each
# '%' as %XX). A path beginning with "utf8:" is escaped as well.
stored_path() {
  local s="$1" back
  if [[ "$s" != utf8:* ]] &&
    back="$(printf '%s' "$s" | iconv -f UTF-8 -t CP932 2>/dev/null | iconv -f CP932 -t UTF-8 2>/dev/null)" &&
    [ "$back" = "$s" ]; then
    printf '%s' "$s" | iconv -f UTF-8 -t CP932
    return
  fi
  local LC_ALL=C out="utf8:" i c h
  for ((i = 0; i < ${#s}; i++)); do
    c="${s:i:1}"
    case "$c" in
      [\ -\$\&-~]) out+="$c" ;;
      *) printf -v h '%%%02X' "'$c"; out+="$h" ;;
    esac
  done
  printf '%s' "$out"
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
