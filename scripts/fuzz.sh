#!/usr/bin/env bash
# Runs the data file fuzzer for a bounded time from the kept seed corpus.
# New inputs go to a scratch corpus under build/, so the kept one stays small.
# Fails on any finding (libFuzzer exits non-zero and leaves a crash file).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds="${1:-30}"
work="$root/build/fuzz/work"
mkdir -p "$work/corpus" "$work/findings"
"$root/build/fuzz/fuzz/chardata_fuzzer" -max_total_time="$seconds" -max_len=4096 \
  -artifact_prefix="$work/findings/" -print_final_stats=1 \
  "$work/corpus" "$root/fuzz/corpus"
