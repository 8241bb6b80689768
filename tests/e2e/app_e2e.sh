#!/usr/bin/env bash
# End-to-end test of varnelo.exe: click sources in the list with real X
# input, decode the code on the screen, click the code and decode the image
# the program put on the clipboard.
#
#   app_e2e.sh EXE SOURCE_DIR BUILD_DIR
set -uo pipefail
exe=${1:?exe}
src=${2:?source dir}
build=${3:?build dir}
work=$(mktemp -d)
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
source "$src/tools/wine-env.sh"

fail() { echo "app_e2e: FAIL: $*" >&2; exit 1; }
for tool in xdotool xclip zbarimg xdpyinfo /usr/bin/import /usr/bin/convert /usr/bin/identify; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done

pid=
window_pid=
cleanup() {
  # The program: the process started here and the one owning its window
  # (the same one when the loader execs in place).
  for p in $window_pid $pid; do kill "$p" 2>/dev/null; done
  [[ -n $pid ]] && wait "$pid" 2>/dev/null
  display_stop
  rm -rf "$work"
}
trap cleanup EXIT
display_ensure || fail "no X display"
wine_prepare

title="Varnelo by:Oskirra"
address_prefix="https://campaign.example.com/p/c/17yq18lq3slc?source="
item_height=22
# The source codes in list order (item n is line n).
mapfile -t codes < <(grep -v '^#' "$src/app/source_catalogue.txt" | grep -v '^[[:space:]]*$' | cut -d, -f2)
((${#codes[@]} == 52)) || fail "expected 52 catalogue lines, found ${#codes[@]}"

# Not through a shell function: $! must be the program's own process.
LC_ALL=$VARNELO_WINE_LOCALE LANG=$VARNELO_WINE_LOCALE wine "$exe" >"$work/app.log" 2>&1 &
pid=$!
window=
for _ in $(seq 1 300); do
  # This program's window: another copy may be open on the same display.
  window=$(xdotool search --onlyvisible --pid "$pid" --name "^${title}\$" 2>/dev/null | head -1)
  [[ -n $window ]] && break
  kill -0 "$pid" 2>/dev/null || fail "the program ended at start-up: $(cat "$work/app.log")"
  sleep 0.1
done
[[ -n $window ]] || fail "the window did not appear"
window_pid=$(xdotool getwindowpid "$window" 2>/dev/null)
sleep 1.5  # the first paint
eval "$(xdotool getwindowgeometry --shell "$window")"
win_x=$X win_y=$Y win_w=$WIDTH win_h=$HEIGHT

shot() { # file: what the window shows
  /usr/bin/import -display "$DISPLAY" -window root -crop "${win_w}x${win_h}+${win_x}+${win_y}" +repage "$1"
}
pixel() { # file x y -> "r,g,b"
  /usr/bin/convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}
decode() { # image file -> the one QR code's text
  zbarimg -q --raw "$1" 2>/dev/null | head -1
}

# Find the list's top edge from the look of item 0, which starts selected:
# a red bar. Anything above it (a frame) shifts every click by as much.
shot "$work/start.png"
top=
for y in $(seq 0 60); do
  if [[ $(pixel "$work/start.png" 60 "$y") =~ ^2[0-9][0-9],[0-4]?[0-9],[0-4]?[0-9]$ ]]; then top=$y; break; fi
done
[[ -n $top ]] || fail "no red bar for the selected pinned entry at the top of the list"
echo "app_e2e: window ${win_w}x${win_h} at ${win_x},${win_y}; list starts at y $top"
[[ -z $(decode "$work/start.png") ]] || fail "a code is shown before any source was picked"

click() { # x y in the window
  xdotool windowraise "$window" 2>/dev/null
  # No --sync: a move to where the pointer already is never reports back.
  xdotool mousemove $((win_x + $1)) $((win_y + $2)) sleep 0.1 click 1
}

# Items as "item rows-scrolled": the list shows about 13 items, so item 22
# is reached by scrolling 10 rows with the scroll bar's down arrow (the
# bottom right corner of the 140 x 300 list).
scrolled=0
for case in "8 0" "3 0" "22 10"; do
  read -r item scroll <<<"$case"
  while ((scrolled < scroll)); do
    click 131 $((top + 291))
    sleep 0.15
    scrolled=$((scrolled + 1))
  done
  expected="$address_prefix${codes[item - 1]}"
  click 60 $((top + (item - scrolled) * item_height + item_height / 2))
  sleep 1
  shot "$work/item$item.png"
  shown=$(decode "$work/item$item.png")
  [[ $shown == "$expected" ]] || fail "item $item: screen shows '$shown', expected '$expected'"
  echo "app_e2e: item $item on screen: $shown"

  # Click the code; the share image goes to the clipboard, which Wine offers
  # to X as image/bmp. The X clipboard is taken from Wine first, so whatever
  # it offers afterwards comes from this click.
  printf '' | xclip -selection clipboard -i
  sleep 0.3
  click $((144 + 144)) $((top + 8 + 144))
  got=
  for _ in $(seq 1 20); do
    sleep 0.25
    xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -qx 'image/bmp' || continue
    xclip -selection clipboard -t image/bmp -o >"$work/clip$item.bmp" 2>/dev/null
    [[ -s $work/clip$item.bmp ]] && got=1 && break
  done
  [[ -n $got ]] || fail "item $item: no image/bmp on the clipboard"
  /usr/bin/convert "$work/clip$item.bmp" "$work/clip$item.png" || fail "item $item: the clipboard image does not read"
  size=$(/usr/bin/identify -format '%wx%h' "$work/clip$item.png")
  [[ $size == 288x312 ]] || fail "item $item: clipboard image is $size, expected 288x312"
  pasted=$(decode "$work/clip$item.png")
  [[ $pasted == "$expected" ]] || fail "item $item: clipboard code is '$pasted', expected '$expected'"
  # The caption band: white with red text.
  red=$(/usr/bin/convert "$work/clip$item.png" -crop 288x24+0+0 +repage -fx 'r>0.6 && g<0.45 && b<0.45' \
          -format '%[fx:int(mean*w*h+0.5)]' info:)
  ((red > 100)) || fail "item $item: only $red red pixels in the caption band"
  echo "app_e2e: item $item clipboard: $size, $red red caption pixels, code $pasted"
done
# Closing the window ends the program normally: every object released in
# order, nothing crashes on the way out.
xdotool windowraise "$window" 2>/dev/null
xdotool mousemove $((win_x + 300)) $((win_y + win_h - 20)) sleep 0.1 click 1
xdotool key --clearmodifiers alt+F4
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program is still running after its window was closed"
wait "$pid"
rc=$?
pid= window_pid=
((rc == 0)) || fail "the program ended with exit code $rc: $(cat "$work/app.log")"
echo "app_e2e: closed, exit code 0"
echo "app_e2e: PASS"
