#!/usr/bin/env bash
# Strength of the helper threads: Corvid with THREADS search threads against itself with one, at
# 10 s + 0.1 s from the test openings (each played twice, colours swapped), no book, no pondering.
# Prints the match tool's W-D-L, Elo and error margin. Only one engine thinks at a time, so the
# machine needs THREADS cores kept free of other work for the figure to mean anything.
# Usage: tools/threads_match.sh [GAMES (200)] [THREADS (2)] [TIME CONTROL (10+0.1)]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
games=${1:-200}
threads=${2:-2}
tc=${3:-10+0.1}
engine="$root/build/release/corvid_popcnt"
[[ -x "$engine" ]] || engine="$root/build/release/corvid"
[[ -x "$engine" ]] || { echo "build first: scripts/build.sh release" >&2; exit 1; }
if ! command -v node >/dev/null; then
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends nodejs
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/threads" "$work/one"
out="${MATCH_PGN:-$work/games.pgn}"
node "$root/tools/match/match" --a "$engine" --a-name "Corvid ${threads} threads" \
    --a-dir "$work/threads" --a-opt "Threads=$threads" --a-opt OwnBook=false \
    --b "$engine" --b-name "Corvid 1 thread" --b-dir "$work/one" --b-opt OwnBook=false \
    --tc "$tc" --openings "$root/tests/data/epd/openings_sample.epd" --order random --seed 21 \
    --games "$games" --concurrency 1 --quiet --pgn "$out"
