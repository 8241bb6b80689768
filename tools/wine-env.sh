# Sourced by tools/test, tools/run and tools/wine-exec: the Wine environment
# of the project. The prefix lives inside the build tree and is set up once as
# the tool's target locale (GBK ANSI code page, CJK font replacements).

VARNELO_ROOT=${VARNELO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
VARNELO_BUILD_ROOT=${VARNELO_BUILD_ROOT:-$VARNELO_ROOT/build}
export VARNELO_ROOT VARNELO_BUILD_ROOT
export WINEPREFIX=${WINEPREFIX:-$VARNELO_BUILD_ROOT/windows/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install dialogs: the project needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# The locale is given to Wine processes only (see wine_run); other tools would
# complain about a glibc locale that is not generated.
VARNELO_WINE_LOCALE=zh_CN.UTF-8

wine_run() {
  LC_ALL=$VARNELO_WINE_LOCALE LANG=$VARNELO_WINE_LOCALE wine "$@"
}

# Creates the prefix and loads the font replacements; a stamp makes later
# calls free.
wine_prepare() {
  local stamp=$WINEPREFIX/.varnelo-ready
  local regsrc=$VARNELO_ROOT/tools/wine/fonts.reg.in
  if [[ -f $stamp && $stamp -nt $regsrc ]]; then
    return 0
  fi
  mkdir -p "$WINEPREFIX"
  echo "wine: preparing prefix $WINEPREFIX" >&2
  LC_ALL=$VARNELO_WINE_LOCALE wineboot -i >/dev/null 2>&1 || true
  local reg=$WINEPREFIX/varnelo-fonts.reg
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$regsrc"; } >"$reg"
  wine_run regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
  wineserver -w
  touch "$stamp"
}

# Starts a persistent wineserver and Wine's system processes with their output
# detached: a system process started by a test would otherwise inherit the
# test's output pipe and keep ctest waiting for it to close.
wine_start_session() {
  wineserver -p >/dev/null 2>&1 </dev/null || true
  wine_run wineboot >/dev/null 2>&1 </dev/null || true
}

# Makes sure DISPLAY names a working X server; starts Xvfb when there is none.
# Sets VARNELO_XVFB_PID when it started one.
display_ensure() {
  if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 140); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    VARNELO_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$VARNELO_XVFB_PID" 2>/dev/null || true
  done
  echo "display: could not start Xvfb" >&2
  return 1
}

display_stop() {
  if [[ -n ${VARNELO_XVFB_PID:-} ]]; then
    kill "$VARNELO_XVFB_PID" 2>/dev/null || true
    wait "$VARNELO_XVFB_PID" 2>/dev/null || true
    unset VARNELO_XVFB_PID
  fi
}
