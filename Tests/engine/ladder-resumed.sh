#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The ladder resumed from its results file: a first run over part of the layouts, a second over
# all of them, must print the tables of one uninterrupted run and play only the missing games.
set -euo pipefail
python=$1 ladder=$2 arena=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
common=(--arena "$arena" --sizes 20x10 --levels "1,2,4" --four "4,2" --jobs 2)
"$python" "$ladder" "${common[@]}" --layouts 6 >"$work/whole.md"
"$python" "$ladder" "${common[@]}" --layouts 3 --results "$work/games.jsonl" --chunk 2 >/dev/null
# A line cut short by a stopped run is played again.
printf '{"size": "20x10", "victory": "ar' >>"$work/games.jsonl"
"$python" "$ladder" "${common[@]}" --layouts 6 --results "$work/games.jsonl" >"$work/resumed.md"
grep -q "this run played 60 of them" "$work/resumed.md" || {
  sed -n 3p "$work/resumed.md"
  exit 1
}
"$python" "$ladder" "${common[@]}" --layouts 6 --results "$work/games.jsonl" >"$work/again.md"
grep -q "this run played 0 of them" "$work/again.md"
diff <(grep -v "this run played" "$work/whole.md") <(grep -v "this run played" "$work/resumed.md")
