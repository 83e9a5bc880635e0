#!/usr/bin/env bash
# Makes sure the ja_JP.UTF-8 locale exists. Wine takes its code page (932)
# and its file name encoding from it; without it, files whose names are not
# ASCII cannot even be created.
set -euo pipefail
locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' && exit 0
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Generating the ja_JP.UTF-8 locale"
"${as_root[@]}" localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
