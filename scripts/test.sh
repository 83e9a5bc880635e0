#!/usr/bin/env bash
# Builds and runs every test: the core natively, the core and the window
# under Wine, the web page in headless Chromium, and the fuzzers for a
# bounded time.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/packages.sh
scripts/install-packages.sh "${build_packages[@]}" "${windows_packages[@]}" "${test_packages[@]}" \
  "${web_packages[@]}" "${web_test_packages[@]}"
# Node.js and npm run the page's tests; the machine may have its own.
command -v node >/dev/null || scripts/install-packages.sh nodejs
command -v npm >/dev/null || scripts/install-packages.sh npm
scripts/locales.sh ja_JP.UTF-8 en_US.UTF-8 ru_RU.UTF-8

echo "== Core, native =="
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== Windows program and core, under Wine =="
cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --build --preset windows --target package
export WINEPREFIX="$root/build/wineprefix-tests"
xvfb-run -a -s "-screen 0 2048x1536x24" bash -c 'ctest --preset windows; status=$?; wineserver -w; exit $status'

echo "== The web page, in headless Chromium =="
export NODE_PATH=/usr/share/nodejs  # Emscripten's optimizer needs Debian's acorn
cmake --preset web >/dev/null
cmake --build --preset web
(cd web && npm ci --no-audit --no-fund --loglevel=error && node --test tests/)

echo "== Fuzzing =="
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
scripts/fuzz.sh "${FUZZ_SECONDS:-30}"
