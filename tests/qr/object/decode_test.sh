#!/usr/bin/env bash
# Decodes with zbarimg the PNG files that the QR object writes (under Wine)
# and compares the text with what was encoded.
#   decode_test.sh <wine-exec> <png-writer.exe> <work folder>
set -uo pipefail
wine_exec=$1 writer=$2 work=$3
mkdir -p "$work" && cd "$work" || exit 1
rm -f ./*.png

# name version level size text
cases=(
  "app|8|1|288|https://campaign.example.com/p/c/17yq18lq3slc?source=CHUNCHENG_WANBAO"
  "auto-m|0|2|200|HELLO WORLD 2027"
  "v1-h|1|4|150|01234567"
  "v5-q|5|3|300|https://example.com/a?b=c&d=e"
  "v20-l|20|1|500|$(printf 'ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789%.0s' {1..8})"
  "utf8|3|2|200|扫福 campaign 福"
)

failures=0
for entry in "${cases[@]}"; do
  IFS='|' read -r name version level size text <<<"$entry"
  # The writer takes the text as hex of its GBK bytes, the tool's ANSI code page.
  hex=$(printf '%s' "$text" | iconv -f UTF-8 -t GBK | od -An -v -tx1 | tr -d ' \n')
  if ! "$wine_exec" "$writer" "$name" "$version" "$level" "$size" "$hex"; then
    echo "FAIL $name: the writer failed"
    failures=$((failures + 1))
    continue
  fi
  for file in "$name.png" "$name-bytes.png"; do
    # The bytes in the symbol as they are, to be compared with the UTF-8 text.
    decoded=$(zbarimg --quiet --raw -Sbinary "$file" 2>/dev/null)
    if [[ $decoded == "$text" ]]; then
      echo "ok   $file"
    else
      echo "FAIL $file: decoded '$decoded', expected '$text'"
      failures=$((failures + 1))
    fi
  done
done
exit $((failures > 0))
