#!/usr/bin/env bash
# The index-file concurrency workers of the tests, run longer: two processes
# rescanning and rewriting the index for SECONDS (default 60) while a third
# parses it, then KILLS writers (default 50) killed the moment each starts writing. Prints
# the counts; exits non-zero when a reader saw a broken file or a load met one.
# Runs in a temporary home, so the real index is never touched.
#   bash scripts/index_stress.sh [SECONDS] [KILLS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
kills="${2:-50}"
python="${PYTHON:-python3}"
workers=tests/support/index_workers.py
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/.local/share"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
index="$XDG_DATA_HOME/lumo_font_map/font_map.json"

"$python" "$workers" rescan "$seconds" "$font" 1 >"$home/w1" &
"$python" "$workers" rescan "$seconds" "$font" 2 >"$home/w2" &
"$python" "$workers" read "$seconds" >"$home/r" &
wait
echo "rescanning process 1: $(cat "$home/w1")"
echo "rescanning process 2: $(cat "$home/w2")"
echo "reader:               $(cat "$home/r")"

"$python" "$workers" kill "$kills" "$font" >"$home/k"
echo "killed writers:       $(cat "$home/k")"

status=0
grep -q '"broken": 0' "$home/r" || status=1
! grep -q '"cache_errors": [1-9]' "$home/w1" "$home/w2" || status=1
grep -q "\"whole_after\": $kills}" "$home/k" || status=1
exit $status
