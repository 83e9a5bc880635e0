#!/usr/bin/env bash
# Retakes docs/screenshot.png: starts the tool on a virtual display, types a
# calculation with real mouse and keyboard input, and captures the screen.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/packages.sh
scripts/install-packages.sh "${build_packages[@]}" "${windows_packages[@]}" imagemagick xdotool
scripts/locales.sh ja_JP.UTF-8
cmake --preset windows >/dev/null
cmake --build --preset windows --target growth-check
run="$root/build/run" && mkdir -p "$run"
cp build/windows/growth-check.exe data/chardata.txt "$run/"
cd "$run"
xvfb-run -a -s "-screen 0 760x640x24" bash -c "
  '$root/scripts/wine-run.sh' growth-check.exe & sleep 8
  # Click a field, clear it and type a number (the fields lie at y = 245).
  field() { xdotool mousemove \$1 245 click 1; sleep 0.3
            xdotool key --delay 60 End BackSpace BackSpace BackSpace BackSpace; xdotool type --delay 80 \"\$2\"; }
  field 70 12; field 135 104; field 200 36; field 260 29; field 320 26
  xdotool mousemove 423 245 click 1; sleep 2
  import -window root '$root/docs/screenshot.png'; wineserver -k" || true
echo "Saved docs/screenshot.png"
