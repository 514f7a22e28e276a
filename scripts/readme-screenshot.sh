#!/usr/bin/env bash
# Makes the README's pictures from the end-to-end round: docs/screenshot.png,
# the hit jet trailing its smoke seconds after the hit, HUD included;
# docs/round-over.png, the game's own frame of the panel at the round's end;
# docs/hit.png, the game's own frame of a hit: the fireball and the mark; and
# from the end-to-end radar test docs/radar.png, a jet behind the gun on the
# radar and its mark at the screen's edge, at half size; from the end-to-end
# raid docs/raid-bombs.png, a bomber's stick of bombs falling at the gun, and
# docs/raid-attack.png, an attacker on its run at the gun, both at half size.
#   scripts/readme-screenshot.sh [BUILD_DIR]     (default: build)
# The build directory must have been configured (see README); the game, its
# resources and the round's planning tool are brought up to date first.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target torvel round-planner radar-planner raid-planner -j2

mkdir -p "$root/docs"
shot=$(mktemp --suffix=.png)
panel=$(mktemp --suffix=.png)
hit=$(mktemp --suffix=.png)
radar=$(mktemp --suffix=.png)
options=$(mktemp --suffix=.png)
bombs=$(mktemp --suffix=.png)
attack=$(mktemp --suffix=.png)
trap 'rm -f "$shot" "$panel" "$hit" "$radar" "$options" "$bombs" "$attack"' EXIT
TORVEL_SHOT_OUT="$shot" TORVEL_PANEL_OUT="$panel" TORVEL_HIT_OUT="$hit" "$root/scripts/headless.sh" \
  bash "$root/tests/e2e/round.sh" "$build/bin/torvel" "$build/res" "$build/bin/round-planner"
TORVEL_RADAR_OUT="$radar" "$root/scripts/headless.sh" \
  bash "$root/tests/e2e/radar.sh" "$build/bin/torvel" "$build/res" "$build/bin/radar-planner"
TORVEL_OPTIONS_OUT="$options" "$root/scripts/headless.sh" \
  bash "$root/tests/e2e/settings.sh" "$build/bin/torvel" "$build/res"
TORVEL_RAID_BOMBS_OUT="$bombs" TORVEL_RAID_ATTACK_OUT="$attack" "$root/scripts/headless.sh" \
  bash "$root/tests/e2e/raid.sh" "$build/bin/torvel" "$build/res" "$build/bin/raid-planner"
# Only tests that passed give pictures worth keeping.
install -m 644 "$shot" "$root/docs/screenshot.png"
install -m 644 "$panel" "$root/docs/round-over.png"
install -m 644 "$hit" "$root/docs/hit.png"
convert "$radar" -resize 50% "$root/docs/radar.png"
# The screen's box, without the scene round it.
convert "$options" -crop 880x476+243+146 +repage "$root/docs/options.png"
convert "$bombs" -resize 50% "$root/docs/raid-bombs.png"
convert "$attack" -resize 50% "$root/docs/raid-attack.png"
chmod 644 "$root/docs/radar.png" "$root/docs/options.png" "$root/docs/raid-bombs.png" "$root/docs/raid-attack.png"
for picture in screenshot round-over hit radar options raid-bombs raid-attack; do
  echo "docs/$picture.png: $(identify -format '%wx%h' "$root/docs/$picture.png")"
done
