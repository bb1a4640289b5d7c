#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A benchmark program run once at its smallest size, as a test: it fails when the program crashes
# or reports an error, when the filter matches no benchmark, or when a figure the benchmark must
# report is missing or zero. Full runs are `make bench`.
# Usage: smoke.sh PROGRAM FILTER [REGEX...]   (each REGEX must match the output)
set -euo pipefail

program=$1
filter=$2
shift 2
out=$(mktemp)
trap 'rm -f "$out"' EXIT

status=0
"$program" --benchmark_filter="$filter" --benchmark_min_time=0.01 --benchmark_repetitions=1 \
  --benchmark_counters_tabular=false >"$out" 2>&1 || status=$?
cat "$out"
[ "$status" -eq 0 ] || { echo "FAIL: $(basename "$program") ended with status $status"; exit 1; }
! grep -q 'ERROR OCCURRED' "$out" || { echo "FAIL: the benchmark reported an error"; exit 1; }
grep -qE '^BM_' "$out" || { echo "FAIL: no benchmark matches /$filter/"; exit 1; }
for regex in "$@"; do
  grep -qE "$regex" "$out" || { echo "FAIL: no /$regex/ in the output"; exit 1; }
done
echo "PASS: $(basename "$program") $filter"
