#!/usr/bin/env bash
# Builds growth-check.exe and starts it under Wine, in build/run/ beside a
# copy of the sample chardata.txt. Without a display it runs on a virtual
# one, in a Wine desktop (which draws the window's frame and title bar),
# waits until the window is up and answers, two minutes at most, and saves a
# screenshot to build/run/screenshot.png.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/packages.sh
scripts/install-packages.sh "${build_packages[@]}" "${windows_packages[@]}"
scripts/locales.sh ja_JP.UTF-8

cmake --preset windows >/dev/null
cmake --build --preset windows --target growth-check wait_for_window

run="$root/build/run"
mkdir -p "$run"
cp build/windows/growth-check.exe data/chardata.txt "$run/"
cd "$run"

if [ -n "${DISPLAY:-}" ]; then
  exec "$root/scripts/wine-run.sh" growth-check.exe
fi
"$root/scripts/install-packages.sh" imagemagick
export WINE_DESKTOP=760x660 ROOT="$root"
"$root/scripts/wine-run.sh"  # makes the Wine prefix first: the first time takes a while
echo "No display: running on a virtual one until the window answers, then saving screenshot.png"
xvfb-run -a -s "-screen 0 ${WINE_DESKTOP}x24" bash -c '
  "$ROOT/scripts/wine-run.sh" growth-check.exe &
  status=0
  if "$ROOT/scripts/wine-run.sh" "$ROOT/build/windows/ui/wait_for_window.exe" 120 >/dev/null; then
    sleep 1
    import -window root screenshot.png
  else
    status=1
  fi
  wineserver -k
  exit $status'
echo "Saved $run/screenshot.png"
