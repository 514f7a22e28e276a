#!/usr/bin/env bash
# Makes the README's picture, docs/screenshot.png, from the end-to-end round:
# the moment just after the guns hit a jet, smoke and HUD included.
#   scripts/readme-screenshot.sh [BUILD_DIR]     (default: build)
# The build directory must have been configured (see README); the game, its
# resources and the round's planning tool are brought up to date first.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target torvel round-planner -j2

mkdir -p "$root/docs"
shot=$(mktemp --suffix=.png)
trap 'rm -f "$shot"' EXIT
TORVEL_SHOT_OUT="$shot" "$root/scripts/headless.sh" \
  bash "$root/tests/e2e/round.sh" "$build/bin/torvel" "$build/res" "$build/bin/round-planner"
# Only a round that passed gives a picture worth keeping.
cp "$shot" "$root/docs/screenshot.png"
echo "docs/screenshot.png: $(identify -format '%wx%h' "$root/docs/screenshot.png")"
