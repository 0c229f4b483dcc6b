#!/bin/bash
# Runs a test executable under wine64 in a throwaway prefix.
#   wine-run.sh PREFIX program.exe [args...]   run a program (prefix made on first use)
#   wine-run.sh --shutdown PREFIX              stop the prefix's server and remove the prefix
# Wine's helper processes inherit every open descriptor: unless the server and wineboot are started
# with their output sent elsewhere, they hold ctest's pipe open and ctest waits for them.
set -euo pipefail
. "$(dirname "$0")/wine64.sh"

if [ "${1:-}" = "--shutdown" ]; then
  export WINEPREFIX="$2"
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 </dev/null || true
    wineserver -w >/dev/null 2>&1 </dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  exit 0
fi

export WINEPREFIX="$1"; shift
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.scourly-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineserver -p >/dev/null 2>&1 </dev/null 9>&-
    "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null 9>&-
    # Without a window manager each unmap waits for one; unmanaged windows are created and
    # destroyed at once.
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null 9>&-
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 </dev/null 9>&-
    # Caption buttons are drawn with Wine's Marlett font, which Debian's Wine never finds in
    # /usr/share/wine/fonts (scripts/run says why); the prefix's own fonts folder is always read.
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
      cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    touch "$WINEPREFIX/.scourly-ready"
  else
    wineserver -p >/dev/null 2>&1 </dev/null 9>&- || true
  fi
) 9>"$WINEPREFIX.lock"

exec "$WINE64" "$@"
