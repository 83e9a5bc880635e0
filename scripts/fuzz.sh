#!/usr/bin/env bash
# Runs the fuzzers for a bounded time in all (seconds, 30 by default) from
# their kept seed corpora: half of it for the data file reader, a quarter
# each for the number formatting and the growth check (with a unit's range). New inputs go to
# scratch corpora under build/, so the kept ones stay small. Fails on any
# finding (libFuzzer exits non-zero and leaves a crash file).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds="${1:-30}"
run() {  # fuzzer, seconds, extra options
  local fuzzer=$1 time=$2 status=0
  shift 2
  local work="$root/build/fuzz/work/$fuzzer"
  mkdir -p "$work/corpus" "$work/findings"
  echo "== $fuzzer for $time s =="
  "$root/build/fuzz/fuzz/${fuzzer}_fuzzer" -max_total_time="$time" -artifact_prefix="$work/findings/" \
    -print_final_stats=1 "$@" "$work/corpus" "$root/fuzz/corpus/$fuzzer" >"$work/log" 2>&1 || status=$?
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec)|ERROR|SUMMARY|Test unit written' "$work/log" || true
  if [ "$status" -ne 0 ]; then
    tail -40 "$work/log"
    return "$status"
  fi
}
quarter=$(( seconds / 4 > 1 ? seconds / 4 : 1 ))
run chardata $(( seconds - 2 * quarter > 1 ? seconds - 2 * quarter : 1 )) -max_len=4096
run number_format "$quarter" -max_len=16
run growth_check "$quarter" -max_len=160
