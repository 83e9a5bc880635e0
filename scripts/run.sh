#!/usr/bin/env bash
# Builds growth-check.exe and starts it under Wine, in build/run/ beside a
# copy of the sample chardata.txt. Without a display it runs on a virtual
# one (Xvfb) and saves a screenshot to build/run/screenshot.png.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/packages.sh
scripts/install-packages.sh "${build_packages[@]}" "${windows_packages[@]}"
scripts/locales.sh ja_JP.UTF-8

cmake --preset windows >/dev/null
cmake --build --preset windows --target growth-check

run="$root/build/run"
mkdir -p "$run"
cp build/windows/growth-check.exe "$run/"
cp data/chardata.txt "$run/"
cd "$run"

if [ -n "${DISPLAY:-}" ]; then
  exec "$root/scripts/wine-run.sh" growth-check.exe
fi
scripts_dir="$root/scripts"
echo "No display: running on a virtual one for 15 seconds and saving screenshot.png"
"$scripts_dir/install-packages.sh" imagemagick
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "
  '$scripts_dir/wine-run.sh' growth-check.exe &
  sleep 12; import -window root screenshot.png; sleep 3; wineserver -k" || true
echo "Saved $run/screenshot.png"
