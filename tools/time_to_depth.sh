#!/usr/bin/env bash
# Time to depth of the helper threads: the bench positions searched to DEPTH plies with one
# thread and with THREADS, alternating, ROUNDS times each. Prints every run's time and, per
# position, the ratio of the summed times (one thread / THREADS: above 1 means faster). The
# machine needs THREADS cores kept free of other work for the figures to mean anything.
# Usage: tools/time_to_depth.sh [DEPTH (12)] [THREADS (2)] [ROUNDS (3)]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
depth=${1:-12}
threads=${2:-2}
rounds=${3:-3}
engine="$root/build/release/corvid_popcnt"
[[ -x "$engine" ]] || engine="$root/build/release/corvid"
[[ -x "$engine" ]] || { echo "build first: scripts/build.sh release" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for ((r = 1; r <= rounds; ++r)); do
    for t in 1 "$threads"; do
        "$engine" bench "$depth" "$t" > "$work/$t.$r"
        echo "round $r, $t thread(s): $(grep '^Bench:' "$work/$t.$r")"
    done
done
# Per position: the summed milliseconds of every round, then the ratio.
awk -v threads="$threads" '
    /^Position/ {
        split($2, n, "/"); p = n[1] + 0
        ms = $NF + 0
        if (FILENAME ~ /\/1\.[0-9]+$/) one[p] += ms; else many[p] += ms
        if (p > count) count = p
    }
    END {
        printf "position  1 thread ms  %d threads ms  speed-up\n", threads
        logSum = 0; used = 0
        for (p = 1; p <= count; ++p) {
            ratio = many[p] > 0 ? one[p] / many[p] : 0
            printf "%8d  %11d  %13d  %8.2f\n", p, one[p], many[p], ratio
            totalOne += one[p]; totalMany += many[p]
            if (one[p] >= 20 && many[p] > 0) { logSum += log(ratio); ++used }
        }
        printf "total     %11d  %13d  %8.2f\n", totalOne, totalMany,
               (totalMany > 0 ? totalOne / totalMany : 0)
        if (used > 0)
            printf "geometric mean speed-up over the %d positions of 20 ms or more: %.2f\n",
                   used, exp(logSum / used)
    }' "$work"/1.* $(for ((r = 1; r <= rounds; ++r)); do echo "$work/$threads.$r"; done)
