#!/usr/bin/env bash
# Perft speed of corvid_popcnt and corvid against a reference engine's own perft, same position,
# same machine, same run: tools/perft_speed.sh [build dir] [depth] [rounds]
# The reference is Debian's stockfish ("go perft N"); its time includes its start-up, so the
# start-up alone is measured and subtracted. Reports the best of the rounds for each.
set -euo pipefail
build=${1:-build/release}
depth=${2:-6}
rounds=${3:-5}
reference=${REFERENCE_ENGINE:-/usr/games/stockfish}

best() { sort -n | head -1; }
seconds() { local start=$(date +%s.%N); "$@" >/dev/null; echo "$(date +%s.%N) - $start" | bc; }

for program in corvid_popcnt corvid; do
    t=$(for _ in $(seq "$rounds"); do seconds "$build/$program" perft "$depth"; done | best)
    echo "$program perft $depth: $t s"
done
if [[ -x "$reference" ]]; then
    idle=$(for _ in $(seq "$rounds"); do seconds sh -c "echo quit | $reference"; done | best)
    full=$(for _ in $(seq "$rounds"); do
        seconds sh -c "printf 'go perft $depth\nquit\n' | $reference"
    done | best)
    echo "reference perft $depth: $(echo "$full - $idle" | bc) s (start-up $idle s subtracted)"
else
    echo "reference engine not found at $reference"
fi
