#!/usr/bin/env bash
# Unpacks the release archive as a user would, then starts the program from
# the unpacked folder under Wine and checks that it loads the sample with no
# error box (ui_tests' ReleaseArchive test does the starting and checking).
# Usage: archive_test.sh ARCHIVE UI_TESTS_EXE
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
archive=$1
tests=$2
if [ ! -f "$archive" ]; then
  echo "No release archive at $archive: build it with cmake --build --preset windows --target package" >&2
  exit 1
fi
scratch="$(dirname "$archive")/unpacked-release"
rm -rf "$scratch"
mkdir -p "$scratch"
(cd "$scratch" && cmake -E tar xf "$archive")
folder=$(find "$scratch" -name growth-check.exe -printf '%h\n' | head -n 1)
[ -n "$folder" ] || { echo "The archive holds no growth-check.exe" >&2; exit 1; }
# Wine's drive Z: is the Unix root.
export GROWTH_UNPACKED_FOLDER="Z:${folder//\//\\}"
exec "$root/scripts/wine-test-run.sh" "$tests" --gtest_filter='ReleaseArchive.*'
