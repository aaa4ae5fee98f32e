#!/usr/bin/env bash
# Builds and runs every test: the Release build with all tests (the slow ones too), then the
# address/undefined sanitizer build with the fast ones. Installs what it needs first.
# "scripts/test.sh tsan" instead runs the fast tests under the thread sanitizer (the engine
# executables the protocol tests start are built with it too), the search and protocol tests
# also with 2 and 4 search threads.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test

if [[ "${1:-}" == "tsan" ]]; then
    scripts/build.sh tsan unit_tests
    TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build/tsan -L unit --output-on-failure \
        -j "$(nproc)"
    # The search and protocol tests again with helper search threads.
    for threads in 2 4; do
        for program in search_tests protocol_tests; do
            echo "== $program with $threads search threads"
            CORVID_TEST_THREADS=$threads TSAN_OPTIONS=halt_on_error=1 \
                "build/tsan/tests/$program" --gtest_brief=1
        done
    done
    echo "All tests passed under the thread sanitizer."
    exit 0
fi

scripts/format.sh --check
scripts/check_layers.sh

# The tests run on the plain Release build: the profile-trained, link-time optimised one that
# scripts/build.sh makes by default is the same code, and would add minutes to CI's 15.
CORVID_PGO=OFF CORVID_LTO=OFF scripts/build.sh release
# The plain deliverable counts bits in software: no popcnt instruction may appear in it.
if objdump -d build/release/corvid | grep -qw popcnt; then
    echo "build/release/corvid contains popcnt instructions" >&2
    exit 1
fi
ctest --test-dir build/release --output-on-failure -j "$(nproc)"

# Only what the fast tests need: the slow test programs and the tools are not built here.
scripts/build.sh asan unit_tests
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build/asan -L unit --output-on-failure -j "$(nproc)"
echo "All tests passed."
