#!/usr/bin/env bash
# A whole round played from the keyboard and mouse with the game's clock
# running fast, then the game started again at its own pace.
#
# The round: F9, five jets seen on screen one after another, a pause of 30 s
# of game time with the second jet on screen that changes nothing, bursts
# that hit the last, smoke and points on the HUD, the round ending by itself
# with its panel (the jets hit, the points, the accuracy, and the round
# entered in the table of best rounds), and F12.
#
# The game started again with the same data folder: the invitation to a
# round shows the table kept. F9, a burst with the guns lowered to the ground
# and one aimed at the sky, each caught mid-burst in the game's own
# screenshot, and bursts that hit the game's first jet: the frame of the hit
# shows the fireball and the hit mark. At the game's own pace, since those
# last a fraction of a second.
#
# The game never sets its random numbers to a fixed start value, so its jets
# always fly the same paths: round-planner (the third argument) says which
# round to play, when and where each jet is, and how to aim. The turret is
# held at exact angles: the mouse turns it by exactly 0.05 degrees a pixel,
# and the guns rest at their start or against a limit, so no feedback is
# needed. A hit's smoke draws on the same random numbers, so the jet hit must
# be the round's last; when the first round does not suit, the test lets a
# few jets take off and stops each at once. The one clock the script can see
# is the game's output: each "~Aircraft" line dates the end of a flight, and
# the next take-off follows at a known distance; the first load of the hit's
# boom in the sound log dates the first hit.
#
# TORVEL_SHOT_OUT=FILE keeps the capture of the hit jet trailing smoke there,
# TORVEL_PANEL_OUT the frame of the round's panel, TORVEL_HIT_OUT the second
# game's frame of its hit; TORVEL_ROUND_KEEP=DIR keeps every capture and
# the game's output there.
source "$(dirname "$0")/lib.sh"
PLANNER=$3
SPEED=4   # game milliseconds per real millisecond in the round

"$PLANNER" plan "$RES" >"$WORK/plan.txt" 2>"$WORK/plan-err.txt" || fail "no plan: $(cat "$WORK/plan-err.txt")"
echo "--- plan"; cat "$WORK/plan.txt"

# plan KIND JET FIELD: one figure of the plan (fields counted after the jet's number)
plan() { awk -v k="$1" -v j="$2" -v f="$3" '$1 == k && $2 == j { print $(f + 2) }' "$WORK/plan.txt"; }
SKIP=$(awk '$1 == "skip" { print $2 }' "$WORK/plan.txt")
read -r AIM_X AIM_Y < <(awk '$1 == "aim" { print $2, $3 }' "$WORK/plan.txt")
FIRST=$((SKIP + 1)); LAST=$((SKIP + 5))
# later ANCHOR GAME_MS: the real moment GAME_MS of game time after ANCHOR
later() { echo $(($1 + $2 / SPEED)); }
# The capture of the X server's picture comes about this long after import
# starts: its GetImage request went out 50 to 60 ms after the exec under
# strace; the PNG it then writes takes a second more.
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
HIT_WATCHER=
keep() {
  [ -z "${TORVEL_ROUND_KEEP:-}" ] || { mkdir -p "$TORVEL_ROUND_KEEP"; cp "$WORK"/*.png "$WORK"/*.txt "$WORK"/bin/* "$TORVEL_ROUND_KEEP"/ 2>/dev/null || true; }
}
trap 'for job in $WATCHER $HIT_WATCHER; do kill "$job" 2>/dev/null; done; xdotool keyup space 2>/dev/null; keep; cleanup' EXIT

# The guns' views, as the mouse's way from level: level and straight up are
# also where they rest, so every move between them is exact.
VIEW_Y=0
view_y() { case $1 in level) echo 0 ;; zenith) echo -1700 ;; aim) echo "$AIM_Y" ;; esac; }
view_x() { [ "$1" = aim ] && echo "$AIM_X" || echo 0; }
VIEW=level
turn_to() {
  mouse $(($(view_x "$1") - $(view_x "$VIEW"))) $(($(view_y "$1") - $(view_y "$VIEW"))) ||
    fail "the game did not take the mouse's move to the $1 view"
  VIEW=$1
}
empty_of() { echo "$WORK/$1-empty.png"; }
view_arg() { [ "$1" = aim ] && echo "aim:$AIM_X:$AIM_Y" || echo "$1"; }

# seen JET CAPTURE: the jet on its track in the capture, about when the plan
# says, where the same view without jets shows nothing jet-coloured. A
# capture cannot be timed to the frame (how long a grab takes and how late
# the game reports a flight's end vary with the machine's load), so the
# planner looks along the track some seconds of game time either way.
# A hit jet taken after the hit trails smoke as grey as itself along the
# track from where it was hit, so any moment since then fits.
SEEN=()
seen() {
  local view at result t found empty earliest
  view=$(plan see "$1" 1); at=$(plan see "$1" 2)
  result=$("$PLANNER" find "$RES" "$1" "$(view_arg "$view")" "$at" "$2" "$(empty_of "$view")") || fail "cannot look for jet $1"
  read -r t found empty x y <<<"$result"
  echo "jet $1 ($view view): $found jet-coloured pixels at ($x, $y), on its track $((t - at)) ms of game time from the plan; $empty there without jets"
  earliest=$((at - 2000))
  if [ "$1" -eq "$LAST" ]; then earliest=$(($(plan hit "$1" 1) - 500)); fi
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
  # (the game takes a key a frame or two after xdotool sends it)
  sleep_until $(($1 - 150))
  xdotool key p
  sleep 0.3
  capture "$WORK/jet$2.png"
  sleep "$(awk -v s=$SPEED 'BEGIN { printf "%.3f", 30 / s }')"
  capture "$WORK/paused.png"
  xdotool key p
  # Paused, the game lets the pointer go; it takes it back in the next frame,
  # and any move before that would be lost.
  sleep 0.3
  change=$(compare -metric AE -fuzz 2% "$WORK/jet$2.png" "$WORK/paused.png" null: 2>&1 || true)
  echo "pause: $change pixels changed in 30 s of game time, with jet $2 on screen"
  [ "$change" -le 20 ] || fail "the picture changed by $change pixels during the pause"
}

# watch_hit: in the background, until the game first loads its boom, which
# it does at the first hit; then it marks the moment in $WORK/hit, and, with
# a name given, keeps the game's next frame under it.
watch_hit() {
  (
    until boom_heard "$WORK/bin"; do sleep 0.01; done
    [ -z "${1:-}" ] || xdotool key t
    now_ms >"$WORK/hit"
  ) &
  HIT_WATCHER=$!
}

started=$SECONDS
start_game env LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x$SPEED"
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
sleep 1
xdotool mousemove 683 384
wait_for_hud "RNDS REMAIN: 80" 10
# The views without jets, before any take-off.
capture "$(empty_of level)"
turn_to zenith
capture "$(empty_of zenith)"
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

turn_to "$(plan see "$FIRST" 1)"
xdotool key F9
f9=$(now_ms)
# take_off N: the real moment jet N takes off, from the ends of the flights
# before it: each "~Aircraft" line dates a jet's take-off (less its flight
# time), and the next take-offs follow 45 s of game time apart. A line comes
# late when a capture holds the game up at the moment the jet lands, never
# early, so the earliest date any line gives is the best. Only lines after
# the pause count for jets after it.
declare -A ENDS
take_off() {
  local k best= t from=$(( $1 > FIRST + 1 ? FIRST + 1 : FIRST ))
  for ((k = from; k < $1; k++)); do
    t=$(later "${ENDS[$k]}" $(( ($1 - k) * 45000 - $(plan jet "$k" 7) )))
    [ -n "$best" ] && [ "$best" -le "$t" ] || best=$t
  done
  echo "$best"
}
for n in $(seq "$FIRST" $((LAST - 1))); do
  if [ "$n" -eq "$FIRST" ]; then
    spawn=$(later "$f9" 5000)
  else
    spawn=$(take_off "$n")
  fi
  if [ "$n" -eq $((FIRST + 1)) ]; then
    pause_at "$(later "$spawn" "$(plan see "$n" 2)")" "$n"
  else
    capture_at "$(later "$spawn" "$(plan see "$n" 2)")" "$WORK/jet$n.png"
    captured
  fi
  # On to the next jet's view; for the last, the aim, and that view while
  # nothing is near the line of fire.
  next=$(plan see $((n + 1)) 1)
  if [ "$next" != "$VIEW" ]; then
    turn_to "$next"
    [ "$next" != aim ] || capture "$(empty_of aim)"
  fi
  ENDS[$n]=$(line_seen $((SKIP + n - FIRST + 1)) 60)
done

# The last jet crosses the line of fire, and the guns fire; nothing waits
# for a capture before they do. The five bursts of the magazine, evenly
# spread, leave no gap as long as the stretch in which the line crosses the
# jet, around where the plan puts it, and a little earlier: the last line
# before it comes a frame or so late.
spawn=$(take_off "$LAST")
hit=$(later "$spawn" $((($(plan hit "$LAST" 1) + $(plan hit "$LAST" 2)) / 2)))
capture_at "$(later "$spawn" "$(plan see "$LAST" 2)")" "$WORK/jet$LAST.png"
watch_hit
fire_around $((hit - 500)) $((hit + 300)) 0.08
captured
[ -e "$WORK/hit" ] || fail "the bursts did not hit jet $LAST"
HIT_WATCHER=
echo "hit: $(($(cat "$WORK/hit") - hit)) ms of real time from the middle of the planned stretch"
line_seen "$LAST" 60 >/dev/null

for n in $(seq "$FIRST" "$LAST"); do
  seen "$n" "$WORK/jet$n.png"
done

# The smoke of the hit jet, seconds after the hit: a trail of particles 80 to
# 120 units wide, thousands of pixels even 2000 units away, where the same
# view without jets shows little grey.
smoke=$("$PLANNER" smoke "$WORK/jet$LAST.png")
clear=$("$PLANNER" smoke "$(empty_of aim)")
echo "smoke: $smoke grey pixels after the hit, $clear in the empty view"
[ "$smoke" -gt $((clear + 2000)) ] || fail "no smoke after the hit ($smoke grey pixels, $clear without)"
[ -z "${TORVEL_SHOT_OUT:-}" ] || cp "$WORK/jet$LAST.png" "$TORVEL_SHOT_OUT"

# The round ends by itself a little over 45 s of game time after the last
# take-off, and its panel stands for 10 s of game time: the game's own
# screenshot of it, a moment after the end.
sleep_until $(($(later "$spawn" 45000) + 700))
take_screenshot
mv "$SHOT" "$WORK/panel.png"
awk -v l="$SHOT_LEVEL" 'BEGIN { exit !(l > 0.1) }' || fail "the screenshot is dark (mean $SHOT_LEVEL)"
lines=$(grep -c '^~Aircraft' "$WORK/out.txt")
[ "$lines" -eq "$LAST" ] || fail "$lines ~Aircraft lines for $LAST jets"
# The points as the game kept them in the table, to the point; the HUD and
# the panel must show the same.
points=$(awk 'NR == 2 { print $1 }' "$XDG_DATA_HOME/torvel/scores")
grep -qE "^$points 1 [0-9]+$" "$XDG_DATA_HOME/torvel/scores" || fail "the round is not in $XDG_DATA_HOME/torvel/scores"
least=$(plan hit "$LAST" 3); most=$(plan hit "$LAST" 4)
echo "points: $points after the round; jet $LAST was hit, which scores 1000 plus its distance: $least to $most"
[ "${points:-0}" -ge $((least - 5)) ] && [ "${points:-0}" -le $((most + 5)) ] || fail "points $points, not $least to $most"
wait_for_hud "AIRCFT REMAIN: 0" 5
grep -q "POINTS: $points" "$WORK/hud.txt" || { hud_text "$WORK/panel.png" 70% >"$WORK/hud.txt"; grep -q "POINTS: $points" "$WORK/hud.txt"; } ||
  fail "the HUD does not show the points $points: $(tr '\n' '/' <"$WORK/hud.txt")"
panel_text "$WORK/panel.png" >"$WORK/panel.txt"
echo "--- panel"; cat "$WORK/panel.txt"
for line in "ROUND OVER" "JETS HIT: 1 OF 5" "POINTS: $points" "ACCURACY: 0.20 HITS PER BURST" "BEST ROUNDS"; do
  grep -qF "$line" "$WORK/panel.txt" || fail "the panel does not say $line"
done
grep -qE "^1\.? +$points +1/5 +[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}" "$WORK/panel.txt" || fail "the round is not first in the table"
[ -z "${TORVEL_PANEL_OUT:-}" ] || cp "$WORK/panel.png" "$TORVEL_PANEL_OUT"

press F12
wait_for_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after F12"
[ "$(grep -c '^~Aircraft' "$WORK/out.txt")" -eq "$LAST" ] || fail "~Aircraft lines at exit: the airspace is never destroyed"
grep '<li>' "$WORK/bin/cAudioEngineLog.html" | tail -n 1 | grep -q "Shut down" || fail "the sound manager did not shut down last"
kill "$WATCHER" 2>/dev/null; WATCHER=
echo "round: ok (jets seen: ${SEEN[*]}; points $points; $((SECONDS - started)) s)"

# The game again, at its own pace. Its first jet is always the same one; the
# mouse aims where that jet passes 12 to 15 s after its take-off, some 900
# units away, near enough for its fireball to show.
read -r _ AIM_X AIM_Y HIT_FROM HIT_TO _ < <("$PLANNER" aim "$RES" 1 12000 15000) || fail "no aim at the first jet"
rm -f "$WORK/hit" "$WORK/bin/cAudioEngineLog.html"
mv "$WORK/out.txt" "$WORK/round-out.txt"
start_game
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
sleep 1
shoot invitation
invitation_text "$WORK/invitation.png" >"$WORK/invitation.txt"
echo "--- invitation"; cat "$WORK/invitation.txt"
# (the reader may miss the narrow blank in "a round")
grep -qE "F9: start a ?round" "$WORK/invitation.txt" || fail "no invitation to a round"
grep -qE "^1\.? +$points +1/5 " "$WORK/invitation.txt" || fail "the table of best rounds was not kept"

press F9
f9=$(now_ms)
# Tracers, each in the game's frame a tenth of a second into a burst, against
# the same view without them: the guns lowered to the ground, then aimed at
# the sky. (In the burst's first frame its one round may still lie within the
# muzzle flash; T goes in the same xdotool as Space, so that a slow start of
# xdotool cannot put it after the burst.)
mid_burst() { shoot "$1" space sleep 0.1 key; }
VIEW=level
mouse 0 100 || fail "the game did not take the mouse's move to the ground"
shoot ground-clear
mid_burst ground-tracers
mouse "$AIM_X" $((AIM_Y - 100)) || fail "the game did not take the mouse's move to the first jet"
shoot sky-clear
mid_burst sky-tracers
for where in ground sky; do
  lit=$("$PLANNER" tracers "$WORK/$where-tracers.png" "$WORK/$where-clear.png")
  echo "tracers against the $where: $lit pixels lit between the muzzles and the sight"
  [ "$lit" -ge 20 ] || fail "no tracers against the $where"
done

# The first jet takes off 5 s after F9; the rest of the magazine goes where
# it will pass, and the game's frame after the hit is kept.
watch_hit hit
hit=$((f9 + 5000 + (HIT_FROM + HIT_TO) / 2))
fire_around $((hit - 450)) $((hit + 900)) 0.15
[ -e "$WORK/hit" ] || fail "the bursts did not hit the first jet"
echo "hit: $(($(cat "$WORK/hit") - hit)) ms of real time from the middle of the planned stretch"
wait "$HIT_WATCHER" 2>/dev/null || true
HIT_WATCHER=
keep_frame hit
read -r diagonals fire < <("$PLANNER" hitmarks "$WORK/hit.png" "$WORK/sky-clear.png")
echo "hit: the mark's ticks on $diagonals diagonals, $fire pixels of fire at the sight"
[ "$diagonals" -ge 3 ] || fail "no hit mark round the sight"
[ "$fire" -ge 15 ] || fail "no fireball at the hit jet"
[ -z "${TORVEL_HIT_OUT:-}" ] || cp "$WORK/hit.png" "$TORVEL_HIT_OUT"

press F12
wait_for_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after F12 in the second game"
echo "round and second game: ok ($((SECONDS - started)) s)"
