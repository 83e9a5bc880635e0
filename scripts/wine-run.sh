#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, in the
# Japanese locale unless WINE_LOCALE names another (Wine takes its ANSI code
# page from it).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
locale="${WINE_LOCALE:-ja_JP.UTF-8}"
# Set for Wine alone (through env), so the shell does not try the locale.
in_locale=(env LANG="$locale" LC_ALL="$locale")
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "${in_locale[@]}" wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
exec "${in_locale[@]}" wine "$@"
