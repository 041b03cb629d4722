#!/usr/bin/env bash
# Installs what is missing, builds the demo and starts it in a window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTINKETTLES_TESTS=OFF -DTINKETTLES_BENCH=OFF >/dev/null
cmake --build build --target tinkettles -j"$(nproc)"
exec build/tinkettles -w "$@"
