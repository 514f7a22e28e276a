#!/usr/bin/env bash
# Round after round with the clock running 20 times fast, firing and
# reloading throughout: nothing crashes, the memory the game holds after the
# last round stays within 8 MB of what it held after the first, and F12 ends
# it with status 0.   endurance.sh TORVEL RES [ROUNDS]  (default 2)
source "$(dirname "$0")/lib.sh"
rounds=${3:-2}
speed=20

start_game env LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x$speed"
wait_for_line "Joystick support is enabled" 30
[ "$(cat /proc/$GAME_PID/comm)" = torvel ] || fail "watching $(cat /proc/$GAME_PID/comm), not the game"
xdotool mousemove 683 384

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$GAME_PID/status"; }
lines() { grep -c '^~Aircraft$' "$WORK/out.txt" || true; }

first_rss=
began=$SECONDS
for round in $(seq "$rounds"); do
  xdotool key F9
  # A round is 230 s of game time; every jet leaves with one line.
  deadline=$((SECONDS + 60))
  taps=0
  until [ "$(lines)" -ge $((5 * round)) ]; do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during round $round"
    [ $SECONDS -lt $deadline ] || fail "round $round did not end; $(lines) jets left so far"
    # A burst now and then, turning as a player would, and a reload when the magazine runs dry.
    xdotool key space
    taps=$((taps + 1))
    if [ $((taps % 6)) -eq 0 ]; then xdotool key r; fi
    if [ $((taps % 4)) -eq 0 ]; then xdotool keydown Right; sleep 0.1; xdotool keyup Right; fi
    sleep 0.25
  done
  sleep $((45 / speed + 1)) # the round ends 45 s after its last jet set off
  now_rss=$(rss)
  [ -n "$first_rss" ] || first_rss=$now_rss
  echo "round $round: $(lines) jets gone, resident memory $now_rss kB"
done
[ "$(lines)" -eq $((5 * rounds)) ] || fail "$(lines) jet lines for $rounds rounds"

press F12
wait_for_exit 20
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after F12"
growth=$((now_rss - first_rss))
echo "endurance: ok ($rounds rounds, $(( (SECONDS - began) * speed / 60 )) min of game time, memory after the first round $first_rss kB, after the last $now_rss kB, growth $growth kB)"
[ "$growth" -le 8192 ] || fail "memory grew by $growth kB"
