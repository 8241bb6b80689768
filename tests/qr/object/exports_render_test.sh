#!/usr/bin/env bash
# Renders the documents qr_export_render_writer makes and reads each image back
# with zbarimg: SVG through an XML parser and rsvg-convert, PostScript and EPS
# through Ghostscript. Usage: exports_render_test.sh <writer> <work folder>
set -euo pipefail
writer=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
"$writer" "$work"
# ImageMagick's own convert (another convert may come first on PATH).
magick=/usr/bin/convert
failures=0

# Adds a white quiet zone and reads the code; compares with the message.
check() {
  local png=$1 expected=$2 what=$3
  "$magick" "$png" -strip -background white -flatten -bordercolor white -border 40 "$png.bordered.png"
  local got
  got=$(zbarimg --quiet --raw "$png.bordered.png" 2>/dev/null || true)
  # zbarimg ends its output with a line end.
  if [[ "$got" == "$expected" ]]; then
    echo "ok   $what"
  else
    echo "FAIL $what: read '${got:0:60}'"
    failures=$((failures + 1))
  fi
}

for txt in "$work"/*.txt; do
  name=${txt%.txt}
  expected=$(cat "$txt")
  # SVG: well-formed XML first, then rendered at 8 pixels per module or more.
  if python3 -c 'import sys, xml.etree.ElementTree as E; E.parse(sys.argv[1])' "$name.svg"; then
    rsvg-convert -z 8 -o "$name.svg.png" "$name.svg"
    check "$name.svg.png" "$expected" "$(basename "$name").svg"
  else
    echo "FAIL $(basename "$name").svg: not well-formed XML"
    failures=$((failures + 1))
  fi
  # PostScript: the page is the W x H point area of the image (line 4: W H scale).
  read -r w h _ < <(sed -n 4p "$name.ps")
  if gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r576 -dFIXEDMEDIA \
       -dDEVICEWIDTHPOINTS="$w" -dDEVICEHEIGHTPOINTS="$h" -o "$name.ps.png" "$name.ps" \
       > "$name.ps.log" 2>&1 && [[ ! -s "$name.ps.log" ]]; then
    check "$name.ps.png" "$expected" "$(basename "$name").ps"
  else
    echo "FAIL $(basename "$name").ps: Ghostscript: $(head -c 300 "$name.ps.log")"
    failures=$((failures + 1))
  fi
  # EPS: cropped to its bounding box.
  if gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r576 -dEPSCrop -o "$name.eps.png" \
       "$name.eps" > "$name.eps.log" 2>&1 && [[ ! -s "$name.eps.log" ]]; then
    check "$name.eps.png" "$expected" "$(basename "$name").eps"
  else
    echo "FAIL $(basename "$name").eps: Ghostscript: $(head -c 300 "$name.eps.log")"
    failures=$((failures + 1))
  fi
done
echo "$failures failure(s)"
[[ $failures -eq 0 ]]
