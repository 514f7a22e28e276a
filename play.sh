#!/usr/bin/env bash
# Sets everything up, builds the game and its resources, and starts it.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
cd build/bin
exec ./torvel
