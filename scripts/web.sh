#!/usr/bin/env bash
# Builds the web page into build/web/ (the core compiled with Emscripten,
# beside the page's HTML, CSS and JavaScript) and serves it on 127.0.0.1.
# The folder also works opened as it is: build/web/index.html.
# PORT picks the port (8080 by default).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/packages.sh
scripts/install-packages.sh "${build_packages[@]}" "${web_packages[@]}" python3
export NODE_PATH=/usr/share/nodejs  # Emscripten's optimizer needs Debian's acorn
cmake --preset web >/dev/null
cmake --build --preset web
port="${PORT:-8080}"
echo "The page: http://127.0.0.1:$port/ (Ctrl+C stops the server)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web
