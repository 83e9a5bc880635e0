#!/usr/bin/env bash
# Runs a Windows test program under Wine (ctest's emulator), in a prefix of
# its own whose windows are not handed to a window manager: without one, as
# under Xvfb, Wine would wait two seconds for every window it destroys.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$root/build/wineprefix-tests"
if [ ! -f "$WINEPREFIX/.unmanaged" ]; then
  "$root/scripts/wine-run.sh" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  wineserver -w
  touch "$WINEPREFIX/.unmanaged"
fi
exec "$root/scripts/wine-run.sh" "$@"
