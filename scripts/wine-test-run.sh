#!/usr/bin/env bash
# Runs a Windows test program under Wine (ctest's emulator), in a prefix of
# its own whose windows are not handed to a window manager: without one, as
# under Xvfb, Wine would wait two seconds for every window it destroys.
# WINE_LOCALE and WINE_DPI pick a locale and a display scale (wine-run.sh);
# each pair has a test prefix of its own.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
locale="${WINE_LOCALE:-ja_JP.UTF-8}"
dpi="${WINE_DPI:-96}"
if [ "$locale" = ja_JP.UTF-8 ] && [ "$dpi" = 96 ]; then
  export WINEPREFIX="$root/build/wineprefix-tests"
else
  export WINEPREFIX="$root/build/wineprefix-tests-${locale%%.*}-$dpi"
fi
if [ ! -f "$WINEPREFIX/.prepared" ]; then
  "$root/scripts/wine-run.sh" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  wineserver -w
  touch "$WINEPREFIX/.prepared"
fi
exec "$root/scripts/wine-run.sh" "$@"
