#!/usr/bin/env bash
# Bench speed of two builds on the same machine in the same run:
#
#     tools/bench_compare.sh [-r ROUNDS] [-d DEPTH] [-p PROGRAM] BASELINE [CANDIDATE]
#
# BASELINE and CANDIDATE are each a build folder holding corvid and corvid_popcnt, or a git
# revision of this repository, which is built (Release, the two programs only) into a scratch
# folder, ${CORVID_SCRATCH:-/tmp/corvid-builds}/<commit>, and reused by later runs. CANDIDATE
# defaults to build/release.
#
# For each program (-p corvid_popcnt or corvid; both by default) the two builds run `bench`
# ROUNDS times each (default 7), alternating, the order swapped every round so that a load
# change on the machine falls on both. Prints every run, the median nps of each build, the ratio
# of the medians and the median of the per-round ratios. Fails when the builds' node counts
# differ: a speed comparison is only meaningful for the same search.
set -euo pipefail

rounds=7
depth=""
programs=(corvid_popcnt corvid)
usage() {
    sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}
while getopts "r:d:p:h" option; do
    case "$option" in
        r) rounds=$OPTARG ;;
        d) depth=$OPTARG ;;
        p) programs=("$OPTARG") ;;
        *) usage ;;
    esac
done
shift $((OPTIND - 1))
(($# >= 1 && $# <= 2)) || usage
repo=$(cd "$(dirname "$0")/.." && pwd)
scratch=${CORVID_SCRATCH:-/tmp/corvid-builds}

# Prints the folder holding the programs of a build folder or of a revision (building it).
resolve() {
    local source=$1
    if [[ -d "$source" ]]; then
        (cd "$source" && pwd)
        return
    fi
    local commit
    if ! commit=$(git -C "$repo" rev-parse --verify --quiet "$source^{commit}"); then
        echo "$source is neither a build folder nor a revision" >&2
        exit 2
    fi
    local folder=$scratch/${commit:0:12}
    if [[ ! -d "$folder/src" ]]; then
        mkdir -p "$folder/src"
        git -C "$repo" archive "$commit" | tar -x -C "$folder/src"
    fi
    echo "building $source ($commit) in $folder" >&2
    cmake -S "$folder/src" -B "$folder/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCORVID_TESTS=OFF -DCORVID_DEFAULT_BOOK=OFF >/dev/null
    cmake --build "$folder/build" --target corvid corvid_popcnt -j "$(nproc)" >&2
    echo "$folder/build"
}

baseline=$(resolve "$1")
candidate=$(resolve "${2:-$repo/build/release}")
echo "baseline:  $baseline"
echo "candidate: $candidate"
echo "machine:   $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Runs one bench and prints "<nodes> <nps>".
bench() {
    local line
    line=$(cd /tmp && "$1" bench $depth | grep '^Bench:')
    echo "$line" | awk '{ print $2, $4 }'
}

status=0
for program in "${programs[@]}"; do
    echo
    echo "$program bench${depth:+ $depth}, $rounds rounds"
    base_nps=() cand_nps=() ratios=()
    nodes=""
    for ((round = 1; round <= rounds; ++round)); do
        if ((round % 2)); then order=(baseline candidate); else order=(candidate baseline); fi
        for side in "${order[@]}"; do
            folder=$baseline
            [[ $side == candidate ]] && folder=$candidate
            read -r n nps < <(bench "$folder/$program")
            if [[ -n "$nodes" && "$n" != "$nodes" ]]; then
                echo "node counts differ: $nodes and $n ($side)" >&2
                status=1
            fi
            nodes=$n
            if [[ $side == baseline ]]; then b=$nps; else c=$nps; fi
        done
        base_nps+=("$b") cand_nps+=("$c")
        ratio=$(awk -v c="$c" -v b="$b" 'BEGIN { printf "%.3f", c / b }')
        ratios+=("$ratio")
        printf '  round %2d: baseline %9d nps  candidate %9d nps  ratio %s\n' \
            "$round" "$b" "$c" "$ratio"
    done
    mb=$(printf '%s\n' "${base_nps[@]}" | median)
    mc=$(printf '%s\n' "${cand_nps[@]}" | median)
    mr=$(printf '%s\n' "${ratios[@]}" | median)
    printf '  nodes %s; median nps: baseline %.0f, candidate %.0f\n' "$nodes" "$mb" "$mc"
    awk -v c="$mc" -v b="$mb" -v r="$mr" -v p="$program" \
        'BEGIN { printf "  %s: ratio of medians %.3f, median ratio %.3f\n", p, c / b, r }'
done
echo
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
