#!/usr/bin/env bash
# Measures the game's speed: sets up, builds (game, resources and benchmark),
# then runs the benchmark on a private X server and prints its tables.
# Any options go to the benchmark: --frames N, --startup-runs N, --shots DIR.
# Figures are only worth comparing on an otherwise idle machine.
# TORVEL_BUILD_DIR names another build folder than build/.
set -euo pipefail
cd "$(dirname "$0")"
build="${TORVEL_BUILD_DIR:-build}"
./setup.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"

# Machines without a sound card get OpenAL Soft's silent device, which still mixes.
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

echo "Load before the run: $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min)"
# The game's own lines (and the X error of the refused vsync request) are not part of the figures.
messages="$build/bench-messages.log"
scripts/headless.sh "$build/bin/torvel-bench" "$@" 2>"$messages" | grep -v -e '^~Aircraft$' -e '^Joystick support' || {
  echo "The benchmark failed; its messages:" >&2
  cat "$messages" >&2
  exit 1
}
