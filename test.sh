#!/usr/bin/env bash
# Sets everything up, builds, and runs every test headless on a private X server.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
scripts/headless.sh ctest --test-dir build --output-on-failure -j2 "$@"
