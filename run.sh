#!/usr/bin/env bash
# Sets up, builds (Release) and starts Orvanta; arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release >/dev/null
if [ -x build/release/orvanta ]; then
    exec build/release/orvanta "$@"
fi
exec build/release/orvanta-cli "$@"
