#!/usr/bin/env bash
# Measures the game's speed: sets up, builds (game, resources and benchmark),
# then runs the benchmark on a private X server and prints its tables.
# Options go to the benchmark (--frames N, --steady N, --still S,
# --startup-runs N, --startup-pause S, --shots DIR, --without LIST,
# --aircraft N; see torvel-bench --help),
# except one of this script's own:
#   --against REV   also build the game of git revision REV (once, under the
#                   build folder) and start it in turn with this one, for the
#                   ratio of their start-ups by phase, with Mesa's shader
#                   cache on and off; then run that build's own benchmark of
#                   frames for its figures beside ours, and both builds'
#                   stills in turn: the ratio of the very same frames, and
#                   how many of their pixels differ.
# Figures are only worth comparing on an otherwise idle machine.
# TORVEL_BUILD_DIR names another build folder than build/.
set -euo pipefail
cd "$(dirname "$0")"
build="${TORVEL_BUILD_DIR:-build}"

against=""
args=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--against" ] && [ $# -ge 2 ]; then
    against="$2"
    shift 2
  else
    args+=("$1")
    shift
  fi
done

./setup.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"

againstBin=""
if [ -n "$against" ]; then
  rev=$(git rev-parse --short "$against^{commit}")
  againstDir="$build/against-$rev"
  if [ ! -x "$againstDir/build/bin/torvel" ] || [ ! -x "$againstDir/build/bin/torvel-bench" ]; then
    echo "Building the game of $rev in $againstDir"
    rm -rf "$againstDir/src"
    mkdir -p "$againstDir/src"
    git archive "$rev" | tar -x -C "$againstDir/src"
    cmake -S "$againstDir/src" -B "$againstDir/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$againstDir/build" --target torvel torvel-bench -j"$(nproc)"
  fi
  againstBin="$(cd "$againstDir/build/bin" && pwd)"
  args+=(--startup-against "$againstBin")
fi

# Machines without a sound card get OpenAL Soft's silent device, which still mixes.
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

echo "Load before the run: $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min)"
# The game's own lines (and the X error of the refused vsync request) are not part of the figures.
messages="$build/bench-messages.log"
scripts/headless.sh "$build/bin/torvel-bench" ${args[@]+"${args[@]}"} 2>"$messages" \
  | grep -v -e '^~Aircraft$' -e '^Joystick support' || {
  echo "The benchmark failed; its messages:" >&2
  cat "$messages" >&2
  exit 1
}

if [ -n "$againstBin" ]; then
  startupRuns=5
  startupArgs=()
  frameArgs=()
  for ((i = 0; i + 1 < ${#args[@]}; ++i)); do
    case "${args[$i]}" in
      --startup-runs) startupRuns=${args[$((i + 1))]} ;;
      --startup-pause) startupArgs+=(--startup-pause "${args[$((i + 1))]}") ;;
      --frames | --steady | --still) frameArgs+=("${args[$i]}" "${args[$((i + 1))]}") ;;
    esac
  done
  echo
  scripts/headless.sh "$build/bin/torvel-bench" --frames 0 --cold --startup-runs "$startupRuns" \
    ${startupArgs[@]+"${startupArgs[@]}"} --startup-against "$againstBin" 2>>"$messages" | sed -n '/^Start-up/,$p'

  # The same stills from both builds, drawn again and again in turns: the
  # frames' ratio from the very same pictures, and the pictures compared.
  # (the benchmark runs in its own bin/: the folder is given whole)
  stills="$(cd "$build" && pwd)/bench-stills"
  rm -rf "$stills"
  mkdir -p "$stills/this" "$stills/other"
  ratios=()
  for round in 1 2 3; do
    for which in this other; do
      bin="$build/bin"
      [ "$which" = other ] && bin="$againstBin"
      scripts/headless.sh "$bin/torvel-bench" --capture "$stills/$which" --repeat 60 2>>"$messages" \
        | grep ' game stills again' | sed -E 's/.*again: ([0-9.]+) s, ([0-9.]+) s of CPU/\1 \2/' \
        >"$stills/$which/times-$round"
    done
    ratios+=("$(paste "$stills/this/times-$round" "$stills/other/times-$round" \
      | awk '{ printf "%.3f %.3f", $1 / $3, $2 / $4 }')")
  done
  echo
  echo "The game's still (five smoking jets, no bursts), 60 frames of each build in turn, three rounds:"
  for r in "${ratios[@]}"; do
    echo "  this build / $rev: $(echo "$r" | awk '{ print $1 " in time, " $2 " in CPU" }')"
  done
  for kind in game bare; do
    differing=$(compare -metric AE -fuzz 2% "$stills/this/capture-$kind.png" "$stills/other/capture-$kind.png" \
      "$stills/diff-$kind.png" 2>&1 >/dev/null || true)
    echo "  pixels differing by more than 2 % in capture-$kind.png: $differing (see $stills/diff-$kind.png)"
  done

  echo
  echo "The frames of $rev, by its own benchmark:"
  scripts/headless.sh "$againstBin/torvel-bench" --startup-runs 0 ${frameArgs[@]+"${frameArgs[@]}"} 2>>"$messages" \
    | grep -v -e '^~Aircraft$' -e '^Joystick support' \
    | sed -n -e '/^Game: [0-9]/,/^  whole frame/p' -e '/^Bare world: [0-9]/,/^  whole frame/p' -e '/game \/ bare world/p'
fi
echo "Load after the run: $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min)"
