#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, with the
# Japanese locale so the system font has Japanese glyphs.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Set for Wine alone (through env), so the shell does not try the locale.
japanese=(env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "${japanese[@]}" wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
exec "${japanese[@]}" wine "$@"
