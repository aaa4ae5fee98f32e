#!/usr/bin/env bash
# Interoperability through the match tool: Corvid over UCI with several lines and searches long
# enough for its progress lines, against Corvid over the xboard protocol with its options set,
# so that the tool reads every kind of line the engine writes. Exits non-zero on a failure.
# Usage: tools/protocol_match.sh [program]
set -euo pipefail
cd "$(dirname "$0")/.."
corvid=$(realpath "${1:-build/release/corvid}")
match=tools/match/match
[[ -f "$match" ]] || { echo "match tool not found: $match" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for side in a b; do
    mkdir -p "$work/$side"
    echo "BookEnabled=0" > "$work/$side/engineWB.dft" # every move searched
done
status=0
(cd "$work" && timeout 300 node "$(realpath "$OLDPWD/$match")" \
    --a "$corvid" --a-dir "$work/a" --a-opt MultiPV=3 --a-tc movetime=1200 \
    --b "$corvid" --b-proto xboard --b-dir "$work/b" --b-opt MultiPV=3 --b-opt Hash=16 \
    --b-opt OwnBook=0 --b-tc 0:30+0 --games 2 --max-moves 4 --pgn "$work/games.pgn" \
    > "$work/summary.txt" 2>&1) || status=$?
cat "$work/summary.txt"
fail() { echo "FAILED: $1" >&2; exit 1; }
((status == 0)) || fail "the match tool exited with status $status"
grep -q "Adjudicated at the move limit (4) 2" "$work/summary.txt" ||
    fail "both games should reach the move limit"
# The UCI side's moves carry the score and depth the tool read from its lines.
grep -Eq '\{[+-][0-9]+\.[0-9]+/[0-9]+ ' "$work/games.pgn" || fail "no scores read from the lines"
echo "protocol match: passed"
