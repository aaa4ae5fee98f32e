#!/usr/bin/env bash
# Benchmark for the time control: short matches of corvid against an engine of Debian's
# (fairymax by default) under fast time controls, counting games Corvid lost on time.
# Usage: tools/time_control_match.sh [games per time control] [opponent command]
set -euo pipefail
cd "$(dirname "$0")/.."
games=${1:-20}
opponent=${2:-/usr/games/fairymax}
proto=xboard
[[ "$opponent" == *stockfish* ]] && proto=uci
shared=../shared
[[ -d "$shared" ]] || shared=../../shared # from a git worktree
match=$shared/tools/match/match
openings=data/openingBook/testStartPositions.txt
[[ -f "$match" ]] || { echo "match tool not found under $shared/tools" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for tc in 1+0.01 40/10+0 movetime=50; do
    # xboard engines take whole seconds per move: the per-move limit is played against a UCI
    # engine when one is there.
    if [[ "$tc" == movetime=* && "$proto" == xboard && -x /usr/games/stockfish ]]; then
        opponentNow=/usr/games/stockfish protoNow=uci
    else
        opponentNow=$opponent protoNow=$proto
    fi
    dir="$work/${tc//\//_}"
    mkdir -p "$dir/a" "$dir/b"
    extra=()
    [[ -f "$openings" ]] && extra=(--openings "$openings" --order random --seed 7)
    node "$match" --a "$PWD/build/release/corvid" --a-dir "$dir/a" --b "$opponentNow" \
        --b-proto "$protoNow" --b-dir "$dir/b" --tc "$tc" --games "$games" --quiet \
        --pgn "$dir/games.pgn" "${extra[@]}" > "$dir/summary.txt" 2>&1 || true
    forfeits=$(grep -o 'Corvid 1.5 loses on time[^,]*' "$dir/summary.txt" | grep -o '[0-9]*$' ||
        echo 0)
    echo "== $tc: $games games"
    grep -E '^Score|^Endings' "$dir/summary.txt" || cat "$dir/summary.txt"
    echo "   Corvid time forfeits: $forfeits"
done
