#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/debug -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/debug
cd build/debug
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" "$@"
