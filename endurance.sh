#!/usr/bin/env bash
# Plays an hour of game time (16 rounds with the clock twenty times fast,
# about four minutes) and compares the game's memory after the first and the
# last round. The test command runs the same with two rounds.
#   ./endurance.sh [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
scripts/headless.sh tests/e2e/endurance.sh "$PWD/build/bin/torvel" "$PWD/build/res" "${1:-16}"
