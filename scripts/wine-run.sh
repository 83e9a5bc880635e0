#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of the project's own, made
# on first use. WINE_LOCALE (ja_JP.UTF-8 by default) is the locale Wine runs
# in, which sets its ANSI code page; WINE_DPI (96 by default) the display
# scale. Each pair other than the default has a prefix of its own, unless
# WINEPREFIX names one. WINE_DESKTOP=WIDTHxHEIGHT runs every program in one
# Wine desktop of that size, which draws the windows' frames and title bars
# where no window manager does (its prefixes end in "-desktop").
# With no program named, only makes the prefix.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
locale="${WINE_LOCALE:-ja_JP.UTF-8}"
dpi="${WINE_DPI:-96}"
if [ -z "${WINEPREFIX:-}" ]; then
  WINEPREFIX="$root/build/wineprefix"
  [ "$locale" = ja_JP.UTF-8 ] && [ "$dpi" = 96 ] || WINEPREFIX="$root/build/wineprefix-${locale%%.*}-$dpi"
  [ -z "${WINE_DESKTOP:-}" ] || WINEPREFIX="$WINEPREFIX-desktop"
fi
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Set for Wine alone (through env), so the shell does not try the locale.
in_locale=(env LANG="$locale" LC_ALL="$locale")
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the Wine prefix $WINEPREFIX (once; this takes a little while)" >&2
  mkdir -p "$WINEPREFIX"
  "${in_locale[@]}" wineboot -i >/dev/null 2>&1 || true
  "${in_locale[@]}" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -w
fi
if [ -n "${WINE_DESKTOP:-}" ] && [ "$(cat "$WINEPREFIX/.desktop" 2>/dev/null)" != "$WINE_DESKTOP" ]; then
  "${in_locale[@]}" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "${in_locale[@]}" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$WINE_DESKTOP" /f >/dev/null 2>&1
  wineserver -w
  echo "$WINE_DESKTOP" >"$WINEPREFIX/.desktop"
fi
[ $# -gt 0 ] || exit 0
exec "${in_locale[@]}" wine "$@"
