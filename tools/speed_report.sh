#!/usr/bin/env bash
# Every speed figure of a change in one run:
#
#     tools/speed_report.sh [-r ROUNDS] BASELINE [CANDIDATE]
#
# BASELINE and CANDIDATE as for tools/bench_compare.sh (a build folder or a revision, built into
# its scratch folder; CANDIDATE defaults to build/release). Prints, in this order:
#   1. bench_compare.sh for corvid_popcnt and corvid (ROUNDS alternating rounds, default 5);
#   2. perft_speed.sh for the candidate against Debian's stockfish;
#   3. where the bench search spends its time in each build's corvid_popcnt: the ten functions
#      with the most samples (perf; skipped with a note when perf is missing or not allowed).
set -euo pipefail

rounds=5
while getopts "r:h" option; do
    case "$option" in
        r) rounds=$OPTARG ;;
        *) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
(($# >= 1 && $# <= 2)) || { sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
tools=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$tools")
scratch=${CORVID_SCRATCH:-/tmp/corvid-builds}

status=0
"$tools/bench_compare.sh" -r "$rounds" "$@" || status=$?

# The folder bench_compare.sh used for a build folder or a revision.
folder() {
    if [[ -d "$1" ]]; then
        (cd "$1" && pwd)
    else
        local commit
        commit=$(git -C "$repo" rev-parse --verify "$1^{commit}")
        echo "$scratch/${commit:0:12}/build"
    fi
}
baseline=$(folder "$1")
candidate=$(folder "${2:-$repo/build/release}")

echo
"$tools/perft_speed.sh" "$candidate" 6 "$rounds"

profile() {
    local data
    data=$(mktemp)
    if ! (cd /tmp && perf record -q -o "$data" "$1/corvid_popcnt" bench >/dev/null 2>&1); then
        echo "  (perf is missing or not allowed here: no profile)"
        rm -f "$data"
        return
    fi
    perf report -i "$data" --no-children --sort symbol --stdio -q 2>/dev/null |
        sed -E 's/([[:space:]]+-)+[[:space:]]*$//' | awk 'NF { print "  " $0 }' | head -10
    rm -f "$data"
}
for side in baseline candidate; do
    echo
    if [[ $side == baseline ]]; then dir=$baseline; else dir=$candidate; fi
    echo "profile of $side corvid_popcnt bench ($dir), top ten functions:"
    profile "$dir"
done
exit $status
