#!/usr/bin/env bash
# Builds Corvid (installing what it needs) and runs it; arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release >&2
exec build/release/corvid "$@"
