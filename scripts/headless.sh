#!/usr/bin/env bash
# Runs a command on a private X server and stops the server afterwards:
#   scripts/headless.sh COMMAND [ARGS...]
# Xvfb picks a free display itself and writes its number once it accepts
# clients, so several runs can share a machine.
set -euo pipefail

displayfile=$(mktemp)
# -noreset: the server stays up when the last client leaves between two runs.
# The libraries preloaded into the command (a sanitizer run's) are not the server's.
env -u LD_PRELOAD Xvfb -displayfd 3 -screen 0 1600x900x24 -nolisten tcp -noreset 3>"$displayfile" 2>/dev/null &
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

status=0
"$@" || status=$?
exit $status
