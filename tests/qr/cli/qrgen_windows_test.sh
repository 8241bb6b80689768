#!/usr/bin/env bash
# qrgen.exe under Wine: the raster types go through the QR object and read
# back with zbarimg; a Unicode TEXT arrives intact; the metafiles carry their
# signatures; a bad logo fails without leaving a file.
#   qrgen_windows_test.sh WINE_EXEC QRGEN_EXE WORK_DIR
set -uo pipefail
wine_exec=$1 qrgen=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0
check() { # description, command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
decodes() { # file, expected text
  local got
  got=$(zbarimg --raw -q "$1" 2>/dev/null)
  [[ $got == "$2" ]] || { echo "  $1 decoded as '$got'"; return 1; }
}
run() { "$wine_exec" "$qrgen" "$@" >/dev/null 2>stderr.txt; }

address="https://campaign.example.com/p/c/17yq18lq3slc?source=CHUNCHENG_WANBAO"
# GIF is left out of the decode: Wine's GIF encoder writes no usable image.
for type in png bmp jpeg tiff; do
  check "$type is written" run "$address" -v 8 -l L -t "$type" -s 6 -o "code.$type"
  check "$type decodes" decodes "code.$type" "$address"
done
check "png is 6 pixels a module with the margin" \
  bash -c '[[ $(identify -format "%w %h" code.png 2>/dev/null) == "342 342" ]]'
check "bmp has the standard header" bash -c '[[ $(od -An -tu4 -j14 -N4 code.bmp | tr -d " ") == 40 ]]'

check "Unicode text" run "扫福 campaign 福" -t png -o unicode.png
check "Unicode text decodes" decodes unicode.png "扫福 campaign 福"

printf 'FROM STDIN' >input.txt
check "standard input" bash -c "\"$wine_exec\" \"$qrgen\" -t png -o stdin.png < input.txt"
check "standard input decodes" decodes stdin.png "FROM STDIN"

/usr/bin/convert -size 40x40 xc:red logo-picture.png
check "logo" run "$address" -l H -t png -s 8 --logo logo-picture.png -o logo.png
check "logo code decodes" decodes logo.png "$address"
check "logo is in the middle" bash -c '[[ $(/usr/bin/convert logo.png -format "%[pixel:p{228,228}]" info:) == *red* || $(/usr/bin/convert logo.png -format "%[pixel:p{228,228}]" info:) == "srgb(255,0,0)" ]]'
echo "not an image" >bad-logo.png
check "unreadable logo fails" bash -c "! \"$wine_exec\" \"$qrgen\" HELLO -t png --logo bad-logo.png -o nologo.png 2>/dev/null"
check "no file after the failure" test ! -e nologo.png

check "emf" run HELLO -t emf -o code.emf
check "emf signature" bash -c '[[ $(od -An -c -j40 -N4 code.emf | tr -d " ") == " EMF" || $(od -An -tx1 -j40 -N4 code.emf | tr -d " ") == 20454d46 ]]'
check "wmf" run HELLO -t wmf -o code.wmf
check "wmf header" bash -c '[[ $(od -An -tx1 -N2 code.wmf | tr -d " ") == 0100 ]]'

echo "$((failures == 0 ? 1 : 0)) passed, $((failures > 0 ? 1 : 0)) failed"
exit $((failures > 0))
