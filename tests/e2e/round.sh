#!/usr/bin/env bash
# A whole round played from the keyboard with the game's clock running fast:
# F9, the first three jets seen on screen one after another, bursts that hit
# the third, smoke and points on the HUD, five jets in all, the round ending
# by itself, a screenshot, and F12.
#
# The game never sets its random numbers to a fixed start value, so the first
# round's jets always fly the same paths: round-planner (the third argument)
# says when and where each one is, and the turret is held at exact angles (it
# never turns; the guns rest against a limit), so no feedback is needed. The
# one clock the script can see is the game's output: each "~Aircraft" line
# dates the end of a flight, and the next spawn follows at a known distance.
#
# TORVEL_SHOT_OUT=FILE keeps the capture of the smoking jet there;
# TORVEL_ROUND_KEEP=DIR keeps every capture and the game's output there.
source "$(dirname "$0")/lib.sh"
PLANNER=$3
SPEED=2   # game milliseconds per real millisecond

"$PLANNER" plan "$RES" >"$WORK/plan.txt" 2>"$WORK/plan-err.txt" || fail "no plan: $(cat "$WORK/plan-err.txt")"
echo "--- plan"; cat "$WORK/plan.txt"

# plan KIND JET FIELD: one figure of the plan (fields counted after the jet's number)
plan() { awk -v k="$1" -v j="$2" -v f="$3" '$1 == k && $2 == j { print $(f + 2) }' "$WORK/plan.txt"; }
now_ms() { date +%s%3N; }
# sleep_until MS: real clock in milliseconds since the epoch
sleep_until() {
  local left=$(($1 - $(now_ms)))
  [ "$left" -le 0 ] || sleep "$(awk -v l="$left" 'BEGIN { printf "%.3f", l / 1000 }')"
}
# later ANCHOR GAME_MS: the real moment GAME_MS of game time after ANCHOR
later() { echo $(($1 + $2 / SPEED)); }
# The capture of the X server's picture comes about this long after import starts.
GRAB_LEAD=80
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

# seen JET CAPTURE EMPTY: jet-coloured pixels where the plan puts the jet, in
# the capture and in a capture of the same view without jets (the crosshair
# and the guns left out).
SEEN=()
seen() {
  local x y size r found empty
  x=$(plan see "$1" 3); y=$(plan see "$1" 4); size=$(plan see "$1" 5)
  r=$(awk -v s="$size" 'BEGIN { r = int(s * 1.2); print (r < 24 ? 24 : r) }')
  found=$("$PLANNER" count "$2" "$x" "$y" "$r")
  empty=$("$PLANNER" count "$3" "$x" "$y" "$r")
  echo "jet $1: $found jet-coloured pixels within $r px of ($x, $y), $empty without jets"
  [ "$found" -ge 4 ] && [ "$found" -gt $((empty * 2 + 3)) ] || fail "jet $1 is not on screen near ($x, $y)"
  SEEN+=("$1")
}

started=$SECONDS
start_game env LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x$SPEED"
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
sleep 1
xdotool mousemove 683 384
wait_for_hud "RNDS REMAIN: 80" 10
capture "$WORK/level-empty.png"

watch_lines & WATCHER=$!
xdotool key F9
f9=$(now_ms)

# Jet 1 in the level view the guns start in, then the guns go straight up.
spawn1=$(later "$f9" 5000)
capture_at "$(later "$spawn1" "$(plan see 1 2)")" "$WORK/jet1.png"
captured
hold_to_limit Down
end1=$(line_seen 1 60)
capture_at $((end1 + 500)) "$WORK/zenith-empty.png"

# Jet 2 passes straight over the guns. Its spawn is dated from the end of
# jet 1's flight, which the game reports a frame or so late. The guns hold
# their fire: a hit's smoke draws on the same random numbers as the paths,
# and jet 3 would then fly a path nobody knows.
LATE=100
spawn2=$(later "$end1" $((45000 - $(plan jet 1 7) - LATE)))
capture_at "$(later "$spawn2" "$(plan see 2 2)")" "$WORK/jet2.png"
captured

# Jet 3 passes over the guns too, and they fire. The pictures come after it
# crossed the line of fire, so that taking them does not slow the game then.
end2=$(line_seen 2 60)
spawn3=$(later "$end2" $((45000 - $(plan jet 2 7) - LATE)))
hit3=$(later "$spawn3" $((($(plan hit 3 1) + $(plan hit 3 2)) / 2)))
capture_at "$(later "$spawn3" "$(plan see 3 2)")" "$WORK/jet3.png"
capture_at $((hit3 + 1600)) "$WORK/smoke.png"
fire_around "$hit3"
captured

seen 1 "$WORK/jet1.png" "$WORK/level-empty.png"
seen 2 "$WORK/jet2.png" "$WORK/zenith-empty.png"
seen 3 "$WORK/jet3.png" "$WORK/zenith-empty.png"

# The smoke of the hit jet: particles 80 to 120 units wide, hundreds of
# pixels at its height, where the empty view shows little grey.
smoke=$("$PLANNER" smoke "$WORK/smoke.png")
clear=$("$PLANNER" smoke "$WORK/zenith-empty.png")
echo "smoke: $smoke grey pixels after the hit, $clear in the empty view"
[ "$smoke" -gt $((clear + 5000)) ] || fail "no smoke after the hit ($smoke grey pixels, $clear without)"
[ -z "${TORVEL_SHOT_OUT:-}" ] || cp "$WORK/jet3.png" "$TORVEL_SHOT_OUT"

# Jets 4 and 5 fly paths nobody knows after the hit: the game's output and
# the HUD count them.
# The round ends by itself a little over 45 s of game time after the fifth
# spawn; a few seconds more, and nothing else comes.
sleep_until $(($(later "$f9" $((5000 + 4 * 45000 + 45000))) + 3000))
[ "$(grep -c '^~Aircraft' "$WORK/out.txt")" -eq 5 ] || fail "not one ~Aircraft line per jet"
wait_for_hud "AIRCFT REMAIN: 0" 5
points=$(sed -nE 's/.*POINTS: *([0-9]+).*/\1/p' "$WORK/hud.txt")
expected=$(plan hit 3 3)
echo "points: $points after the round; jet 3 was hit, which scores 1000 plus its distance: $expected"
[ "${points:-0}" -ge $((expected - 10)) ] && [ "${points:-0}" -le $((expected + 10)) ] || fail "points $points, not about $expected"

take_screenshot
level=$SHOT_LEVEL
awk -v l="$level" 'BEGIN { exit !(l > 0.1) }' || fail "the screenshot is dark (mean $level)"

press F12
wait_for_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after F12"
[ "$(grep -c '^~Aircraft' "$WORK/out.txt")" -eq 5 ] || fail "~Aircraft lines at exit: the airspace is never destroyed"
grep '<li>' "$WORK/bin/cAudioEngineLog.html" | tail -n 1 | grep -q "Shut down" || fail "the sound manager did not shut down last"
echo "round: ok (jets seen: ${SEEN[*]}; points $points; screenshot mean $level; $((SECONDS - started)) s)"
