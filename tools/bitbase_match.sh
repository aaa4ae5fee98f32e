#!/usr/bin/env bash
# Plays the engine with its bitbases against the same engine without them, from endgame
# positions (pawn endings and positions with at most one piece a side), and prints the score.
#   tools/bitbase_match.sh [build dir] [games] [time control] [more match options...]
# Needs Node.js and the match tool in ../shared/tools/match (beside the repository).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/release}" && pwd)"
games="${2:-200}"
tc="${3:-10+0.1}"
shift $(($# < 3 ? $# : 3))
# ../shared beside the repository (or beside a parent, from a worktree further down).
shared="$root/.."
while [[ ! -d "$shared/shared" && "$shared" != / ]]; do shared="$(dirname "$shared")"; done
match="$shared/shared/tools/match/match"
data="$root/tests/data/epd"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The engine looks for bitbases in its working directory, next to itself and in ../share/corvid:
# each copy gets its own folder, and only one of them a bitbases folder.
mkdir -p "$work/with" "$work/without"
cp "$build/corvid_popcnt" "$work/with/corvid"
cp "$build/corvid_popcnt" "$work/without/corvid"
cp -r "$build/bitbases" "$work/with/bitbases"

# Start positions: kings and pawns, or at most one piece a side with pawns; no en passant.
cat "$data"/pet.epd "$data"/tb_*.epd 2>/dev/null | awk '
    /^#/ || NF < 4 { next }
    $4 != "-" { next }
    {
        board = $1
        white = gsub(/[NBRQ]/, "&", board); black = gsub(/[nbrq]/, "&", board)
        pawns = gsub(/[Pp]/, "&", board)
        if (white <= 1 && black <= 1 && pawns > 0) print $1, $2, "- -"
    }' | sort -u > "$work/endgames.epd"
echo "$(wc -l < "$work/endgames.epd") endgame start positions, $games games at $tc" >&2

node "$match" --a "$work/with/corvid" --a-dir "$work/with" --a-name "with bitbases" \
    --b "$work/without/corvid" --b-dir "$work/without" --b-name "without bitbases" \
    --tc "$tc" --openings "$work/endgames.epd" --order random --seed 9 --games "$games" \
    --concurrency 1 --pgn "$work/match.pgn" --quiet "$@"
