#!/usr/bin/env bash
# A whole round played from the keyboard with the game's clock running fast:
# F9, five jets seen on screen one after another, a pause of 30 s of game time
# with the second jet on screen that changes nothing, bursts that hit the
# last, smoke and points on the HUD, the round ending by itself, a
# screenshot, and F12.
#
# The game never sets its random numbers to a fixed start value, so its jets
# always fly the same paths: round-planner (the third argument) says which
# round to play, when and where each jet is, and the turret is held at exact
# angles (it never turns; the guns rest at their start or against a limit),
# so no feedback is needed. A hit's smoke draws on the same random numbers,
# so the jet hit must be the round's last, and the first rounds whose last
# jet the guns can reach come after a few dozen jets: the test lets those take
# off and stops each at once. The one clock the script can see is the game's
# output: each "~Aircraft" line dates the end of a flight, and the next
# take-off follows at a known distance.
#
# TORVEL_SHOT_OUT=FILE keeps the capture of the smoking jet there;
# TORVEL_ROUND_KEEP=DIR keeps every capture and the game's output there.
source "$(dirname "$0")/lib.sh"
PLANNER=$3
SPEED=3   # game milliseconds per real millisecond

"$PLANNER" plan "$RES" >"$WORK/plan.txt" 2>"$WORK/plan-err.txt" || fail "no plan: $(cat "$WORK/plan-err.txt")"
echo "--- plan"; cat "$WORK/plan.txt"

# plan KIND JET FIELD: one figure of the plan (fields counted after the jet's number)
plan() { awk -v k="$1" -v j="$2" -v f="$3" '$1 == k && $2 == j { print $(f + 2) }' "$WORK/plan.txt"; }
SKIP=$(awk '$1 == "skip" { print $2 }' "$WORK/plan.txt")
FIRST=$((SKIP + 1)); LAST=$((SKIP + 5))
now_ms() { date +%s%3N; }
# sleep_until MS: real clock in milliseconds since the epoch
sleep_until() {
  local left=$(($1 - $(now_ms)))
  [ "$left" -le 0 ] || sleep "$(awk -v l="$left" 'BEGIN { printf "%.3f", l / 1000 }')"
}
# later ANCHOR GAME_MS: the real moment GAME_MS of game time after ANCHOR
later() { echo $(($1 + $2 / SPEED)); }
# The capture of the X server's picture comes about this long after import starts.
GRAB_LEAD=40
# capture_at MS FILE: in the background, a capture at that real moment
CAPTURES=()
capture_at() { (sleep_until $(($1 - GRAB_LEAD)); capture "$2") & CAPTURES+=($!); }
# the captures asked for so far are written
captured() { [ ${#CAPTURES[@]} -eq 0 ] || wait "${CAPTURES[@]}"; CAPTURES=(); }

# Every "~Aircraft" line with the real moment it was seen.
watch_lines() {
  local seen=0 now count
  while :; do
    count=$(grep -c '^~Aircraft' "$WORK/out.txt" 2>/dev/null || true)
    now=$(now_ms)
    while [ "${count:-0}" -gt "$seen" ]; do
      seen=$((seen + 1))
      echo "$seen $now" >>"$WORK/lines.txt"
    done
    sleep 0.02
  done
}
# line_seen N SECONDS: the real moment of the N-th "~Aircraft" line
line_seen() {
  local deadline=$((SECONDS + $2))
  until grep -q "^$1 " "$WORK/lines.txt" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "no ${1}th ~Aircraft line within $2 s"
    sleep 0.02
  done
  awk -v n="$1" '$1 == n { print $2 }' "$WORK/lines.txt"
}
WATCHER=
keep() {
  [ -z "${TORVEL_ROUND_KEEP:-}" ] || { mkdir -p "$TORVEL_ROUND_KEEP"; cp "$WORK"/*.png "$WORK"/*.txt "$WORK"/bin/* "$TORVEL_ROUND_KEEP"/ 2>/dev/null || true; }
}
trap '[ -n "$WATCHER" ] && kill "$WATCHER" 2>/dev/null; keep; cleanup' EXIT

# fire_around MS: fresh presses of Space from just before that real moment
# until 1.6 s after it. A burst lasts sixteen frames; presses while one runs
# are used up without firing, so the bursts of the magazine follow closely.
fire_around() {
  sleep_until $(($1 - 400))
  while [ "$(now_ms)" -lt $(($1 + 1600)) ]; do
    xdotool key space
    sleep 0.05
  done
}

# guns FILE: the guns' part of the picture, where no jet ever shows
guns() { import -window root -crop 520x260+423+508 +repage "$1"; }
# hold_to_limit KEY: holds the key until the guns rest against their limit,
# that is until their picture stops changing; how long that takes depends on
# the frame rate, since the guns move a little each frame.
hold_to_limit() {
  local deadline=$((SECONDS + 30)) change
  xdotool keydown "$1"
  sleep 2
  while :; do
    guns "$WORK/hold-a.png"; sleep 0.3; guns "$WORK/hold-b.png"
    change=$(compare -metric RMSE "$WORK/hold-a.png" "$WORK/hold-b.png" null: 2>&1 | sed -E 's/.*\(([0-9.e-]+)\).*/\1/' || true)
    echo "holding $1: picture change $change" >>"$WORK/hold.txt"
    awk -v c="$change" 'BEGIN { exit !(c < 0.002) }' && break
    [ $SECONDS -lt $deadline ] || { xdotool keyup "$1"; fail "the guns never came to rest holding $1"; }
  done
  xdotool keyup "$1"
}

# seen JET CAPTURE EMPTY: the jet on its track in the capture, about when the
# plan says, where the same view without jets shows nothing jet-coloured. A
# capture cannot be timed to the frame (how long a grab takes and how late
# the game reports a flight's end vary with the machine's load), so the
# planner looks along the track some seconds of game time either way.
# A hit jet taken after the hit trails smoke as grey as itself along the
# track from where it was hit, so any moment since then fits.
SEEN=()
seen() {
  local view at result t found empty earliest
  view=$(plan see "$1" 1); at=$(plan see "$1" 2)
  result=$("$PLANNER" find "$RES" "$1" "$view" "$at" "$2" "$3") || fail "cannot look for jet $1"
  read -r t found empty x y <<<"$result"
  echo "jet $1 ($view view): $found jet-coloured pixels at ($x, $y), on its track $((t - at)) ms of game time from the plan; $empty there without jets"
  earliest=$((at - 2000))
  if [ "$1" -eq "$LAST" ] && [ "$at" -gt "$(plan hit "$1" 2)" ]; then earliest=$(($(plan hit "$1" 1) - 500)); fi
  [ "$found" -ge 6 ] || fail "jet $1 is not on screen near its track"
  [ "$t" -ge "$earliest" ] && [ "$t" -le $((at + 2000)) ] || fail "jet $1 is too far from where the plan puts it"
  SEEN+=("$1")
}

# pause_at MS JET: P at the moment the jet should be on screen, so that it
# is caught in the pause: the capture taken then is the jet's own; 30 s of
# game time later the picture must be the same, and P goes on. The round
# goes on afterwards as if there had been no pause: the next jets are timed
# from the lines.
pause_at() {
  local change
  sleep_until "$1"
  xdotool key p
  sleep 0.3
  capture "$WORK/jet$2.png"
  sleep "$(awk -v s=$SPEED 'BEGIN { printf "%.3f", 30 / s }')"
  capture "$WORK/paused.png"
  xdotool key p
  change=$(compare -metric AE -fuzz 2% "$WORK/jet$2.png" "$WORK/paused.png" null: 2>&1 || true)
  echo "pause: $change pixels changed in 30 s of game time, with jet $2 on screen"
  [ "$change" -le 20 ] || fail "the picture changed by $change pixels during the pause"
}

started=$SECONDS
start_game env LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x$SPEED"
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
sleep 1
xdotool mousemove 683 384
wait_for_hud "RNDS REMAIN: 80" 10
capture "$WORK/level-empty.png"
watch_lines & WATCHER=$!

# The jets before the round: each takes off a little over 5 s of game time
# after F9, and F10 ends it at once with its line. An F10 that came before
# the take-off ends the round with no jet, no line and no draw: once more.
wait_takeoff=$(awk -v s=$SPEED 'BEGIN { printf "%.3f", 5300 / s / 1000 }')
for i in $(seq "$SKIP"); do
  for try in 1 2 3 4; do
    [ "$try" -lt 4 ] || fail "jet $i of those before the round never took off"
    xdotool key F9
    sleep "$wait_takeoff"
    xdotool key F10
    deadline=$(($(now_ms) + 1000))
    until grep -q "^$i " "$WORK/lines.txt" 2>/dev/null || [ "$(now_ms)" -gt $deadline ]; do sleep 0.02; done
    grep -q "^$i " "$WORK/lines.txt" && break
  done
done
echo "skipped: $SKIP jets, $((SECONDS - started)) s"

xdotool key F9
f9=$(now_ms)
# The guns go straight up once, either at once or after the last jet seen
# level; a picture of that view is taken while no jet is near.
view=level
up() {
  hold_to_limit Down
  view=zenith
}
for n in $(seq "$FIRST" "$LAST"); do
  if [ "$n" -eq "$FIRST" ]; then
    spawn=$(later "$f9" 5000)
  else
    spawn=$(later "$end" $((45000 - $(plan jet $((n - 1)) 7))))
  fi
  if [ "$(plan see "$n" 1)" = zenith ] && [ "$view" = level ]; then
    up
    capture "$WORK/zenith-empty.png"
  fi
  if [ "$n" -eq $((FIRST + 1)) ]; then
    pause_at "$(later "$spawn" "$(plan see "$n" 2)")" "$n"
  else
    capture_at "$(later "$spawn" "$(plan see "$n" 2)")" "$WORK/jet$n.png"
  fi
  if [ "$n" -eq "$LAST" ]; then
    # The last jet crosses the line of fire, and the guns fire; nothing
    # waits for a capture before they do.
    hit=$(later "$spawn" $((($(plan hit "$n" 1) + $(plan hit "$n" 2)) / 2)))
    capture_at $((hit + 1200)) "$WORK/smoke.png"
    fire_around "$hit"
  fi
  captured
  empty_after=
  if [ "$n" -lt "$LAST" ] && [ "$(plan see $((n + 1)) 1)" = zenith ] && [ "$view" = level ]; then
    up
    empty_after=1
  fi
  end=$(line_seen $((SKIP + n - FIRST + 1)) 60)
  if [ -n "$empty_after" ]; then
    capture_at $((end + 300)) "$WORK/zenith-empty.png"
    captured
  fi
done

for n in $(seq "$FIRST" "$LAST"); do
  if [ "$(plan see "$n" 1)" = level ]; then empty=level-empty; else empty=zenith-empty; fi
  seen "$n" "$WORK/jet$n.png" "$WORK/$empty.png"
done

# The smoke of the hit jet: particles 80 to 120 units wide, hundreds of
# pixels at its height, where the empty view shows little grey.
smoke=$("$PLANNER" smoke "$WORK/smoke.png")
clear=$("$PLANNER" smoke "$WORK/zenith-empty.png")
echo "smoke: $smoke grey pixels after the hit, $clear in the empty view"
[ "$smoke" -gt $((clear + 5000)) ] || fail "no smoke after the hit ($smoke grey pixels, $clear without)"
[ -z "${TORVEL_SHOT_OUT:-}" ] || cp "$WORK/jet$LAST.png" "$TORVEL_SHOT_OUT"

# The round ends by itself a little over 45 s of game time after the last
# take-off; a few seconds more, and nothing else comes.
sleep_until $(($(later "$spawn" 45000) + 3000))
lines=$(grep -c '^~Aircraft' "$WORK/out.txt")
[ "$lines" -eq "$LAST" ] || fail "$lines ~Aircraft lines for $LAST jets"
wait_for_hud "AIRCFT REMAIN: 0" 5
points=$(sed -nE 's/.*POINTS: *([0-9]+).*/\1/p' "$WORK/hud.txt")
expected=$(plan hit "$LAST" 3)
echo "points: $points after the round; jet $LAST was hit, which scores 1000 plus its distance: $expected"
[ "${points:-0}" -ge $((expected - 10)) ] && [ "${points:-0}" -le $((expected + 10)) ] || fail "points $points, not about $expected"

take_screenshot
level=$SHOT_LEVEL
awk -v l="$level" 'BEGIN { exit !(l > 0.1) }' || fail "the screenshot is dark (mean $level)"

press F12
wait_for_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after F12"
[ "$(grep -c '^~Aircraft' "$WORK/out.txt")" -eq "$LAST" ] || fail "~Aircraft lines at exit: the airspace is never destroyed"
grep '<li>' "$WORK/bin/cAudioEngineLog.html" | tail -n 1 | grep -q "Shut down" || fail "the sound manager did not shut down last"
echo "round: ok (jets seen: ${SEEN[*]}; points $points; screenshot mean $level; $((SECONDS - started)) s)"
