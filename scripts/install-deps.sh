#!/usr/bin/env bash
# Installs what building and testing Corvid needs on a Debian machine (skips what is present).
set -euo pipefail
packages=(cmake ninja-build g++ libgtest-dev libbenchmark-dev binutils qt6-base-dev)
if [[ "${1:-}" == "--test" ]]; then
    # Reference engines and a WinBoard front end (on a virtual display) for interoperability
    # and speed comparisons; tests skip when absent.
    packages+=(stockfish fairymax xboard xvfb xauth xdotool)
    # Debian's 3-man Gaviota tablebases and their probing library check the KPK bitbase.
    packages+=(gaviotatb libgaviotatb-dev)
    # An outside PGN reader reads back the games the desktop saves.
    packages+=(pgn-extract)
    # The source format check.
    packages+=(clang-format)
    # The Debian package test: cpack finds the dependencies with dpkg-shlibdeps and file.
    packages+=(dpkg-dev file)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo_cmd=()
    if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
