#!/usr/bin/env bash
# Sets up, builds (Release) and starts Orvanta; arguments (a problem or a script) go to the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target orvanta orvanta-cli >/dev/null
exec build/release/orvanta "$@"
