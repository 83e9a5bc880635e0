#!/usr/bin/env bash
# Retakes the README's screenshots: the tool in a Wine desktop (which draws
# its frame and title bar) on a virtual display, a calculation typed into
# the real window with real mouse and keyboard input. docs/screenshot.png is
# the Japanese locale at 96 DPI; docs/screenshot-144dpi-en.png an English
# locale at 144 DPI (150 %).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ "${1:-}" = --inside ]; then  # on the virtual display: locale, DPI, size, output
  export WINE_LOCALE=$2 WINE_DPI=$3 WINE_DESKTOP=$4
  output=$5
  "$root/scripts/wine-run.sh" growth-check.exe &
  read -r x y dpi < <("$root/scripts/wine-run.sh" "$root/build/windows/ui/wait_for_window.exe" 120 | tr -d "\r")
  at() { echo $(( x + $1 * dpi / 96 )) $(( y + $2 * dpi / 96 )); }  # a 96-DPI client point on the screen
  field() {  # clicks the field whose 96-DPI centre is at ($1, 172), clears it and types $2
    xdotool mousemove $(at "$1" 172) click 1
    sleep 0.3
    xdotool key --delay 60 End BackSpace BackSpace BackSpace BackSpace
    xdotool type --delay 80 "$2"
  }
  field 37 12; field 102 104; field 167 36; field 227 29; field 287 26
  xdotool mousemove $(at 390 172) click 1
  sleep 2
  import -window root "$output"
  wineserver -k || true
  exit 0
fi

cd "$root"
source scripts/packages.sh
scripts/install-packages.sh "${build_packages[@]}" "${windows_packages[@]}" imagemagick xdotool
scripts/locales.sh ja_JP.UTF-8 en_US.UTF-8
cmake --preset windows >/dev/null
cmake --build --preset windows --target growth-check wait_for_window
run="$root/build/run" && mkdir -p "$run"
cp build/windows/growth-check.exe data/chardata.txt "$run/"
cd "$run"
shot() {  # locale, DPI, screen size, output
  WINE_LOCALE=$1 WINE_DPI=$2 WINE_DESKTOP=$3 "$root/scripts/wine-run.sh"  # the prefix first
  xvfb-run -a -s "-screen 0 ${3}x24" "$root/scripts/screenshot.sh" --inside "$@"
  echo "Saved $4"
}
shot ja_JP.UTF-8 96 760x660 "$root/docs/screenshot.png"
shot en_US.UTF-8 144 1120x975 "$root/docs/screenshot-144dpi-en.png"
