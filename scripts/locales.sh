#!/usr/bin/env bash
# Makes sure the locales that Wine runs in here exist: Japanese for the tool,
# and the Western and Cyrillic ones that the tests also try. Wine takes its
# code page and its file name encoding from the locale; without it, files
# whose names are not ASCII cannot even be created.
set -euo pipefail
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
for locale in "${@:-ja_JP.UTF-8}"; do
  name="${locale%%.*}"
  locale -a 2>/dev/null | grep -qix "$name.utf8" && continue
  echo "Generating the $locale locale"
  "${as_root[@]}" localedef -i "$name" -f UTF-8 "$locale"
done
