#!/usr/bin/env bash
# Configures and builds one configuration: build.sh [release|asan|tsan] [TARGET...] (default
# release, every target).
set -euo pipefail
cd "$(dirname "$0")/.."
config=${1:-release}
case "$config" in
    # CORVID_PGO=OFF / CORVID_LTO=OFF in the environment build release without the profile or
    # without link-time optimisation (the test command does, to stay within CI's time).
    release) flags=(-DCMAKE_BUILD_TYPE=Release "-DCORVID_PGO=${CORVID_PGO:-ON}"
                    "-DCORVID_LTO=${CORVID_LTO:-ON}") ;;
    asan) flags=(-DCMAKE_BUILD_TYPE=Debug -DCORVID_SANITIZE=ON) ;;
    tsan) flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVID_TSAN=ON) ;;
    *) echo "unknown configuration $config" >&2; exit 2 ;;
esac
cmake -S . -B "build/$config" -G Ninja "${flags[@]}" >/dev/null
targets=()
for target in "${@:2}"; do targets+=(--target "$target"); done
cmake --build "build/$config" -j "$(nproc)" "${targets[@]}"
