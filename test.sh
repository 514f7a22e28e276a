#!/usr/bin/env bash
# Sets everything up, builds, and runs every test headless on a private X server.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"

# Xvfb picks a free display itself and writes its number once it accepts clients.
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1600x900x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -f "$displayfile"' EXIT
for _ in $(seq 100); do
  [ -s "$displayfile" ] && break
  sleep 0.1
done
if [ ! -s "$displayfile" ]; then
  echo "Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$displayfile")"

ctest --test-dir build --output-on-failure -j2 "$@"
