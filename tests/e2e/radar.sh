#!/usr/bin/env bash
# The radar and the edge marks in the game itself, with its clock running
# fast. The game's first jet always flies the same path (radar-planner, the
# third argument, draws it as the game does): the turret is turned so that a
# few seconds after the jet's take-off it stands behind the gun, to the
# left. Then the radar shows its mark low on the disc and an arrow at the
# left edge points the way; turned round, the arrow is gone, the mark is
# ahead on the disc and the jet is on screen. The mouse turns the turret by
# exactly 0.05 degrees a pixel, so no feedback is needed.
#
# TORVEL_RADAR_OUT=FILE: a capture with the jet behind, out of the pause;
# TORVEL_RADAR_KEEP=DIR keeps every capture.
source "$(dirname "$0")/lib.sh"
PLANNER=$3
SPEED=2      # game milliseconds per real millisecond
AT=8000      # ms of game time after the take-off: the jet looked for behind
BEARING=-145 # degrees clockwise from the view, where the jet then stands

keep() { [ -z "${TORVEL_RADAR_KEEP:-}" ] || { mkdir -p "$TORVEL_RADAR_KEEP"; cp "$WORK"/*.png "$TORVEL_RADAR_KEEP"/; }; }
trap 'keep; cleanup' EXIT

BEHIND=$("$PLANNER" behind 1 "$AT" "$BEARING") || fail "no view behind the first jet"
# The view half a turn round, the shorter way from the start.
FRONT=$((BEHIND > 0 ? BEHIND - 3600 : BEHIND + 3600))

started=$SECONDS
start_game env LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x$SPEED"
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
sleep 1
xdotool mousemove 683 384
# Each picture is taken in a pause, in which the jet, the radar and the
# marks stand still however long the capture takes on a busy machine.
# PAUSED: the real ms spent in pauses, in which game time stands still.
PAUSED=0
# quick_capture FILE: the game's window, compressed lightly: compressing a
# PNG well takes seconds on a busy machine.
quick_capture() { import -window root -crop 1366x768+0+0 +repage -quality 10 "$1"; }
# paused_capture FILE: P, the capture, P again; the pointer is the game's
# again a frame later.
paused_capture() {
  local from
  xdotool key p
  from=$(now_ms)
  sleep 0.3
  quick_capture "$1"
  xdotool key p
  sleep 0.3
  PAUSED=$((PAUSED + $(now_ms) - from))
}
# The view the jet will be seen in, before any take-off.
mouse "$FRONT" 0 || fail "the game did not take the mouse's move to the front view"
paused_capture "$WORK/empty.png"
mouse $((BEHIND - FRONT)) 0 || fail "the game did not take the mouse's move to the view behind"

xdotool key F9
takeoff=$(($(now_ms) + 5000 / SPEED))
PAUSED=0
# game_ms: game time since the take-off, now
game_ms() { echo $((($(now_ms) - takeoff - PAUSED) * SPEED)); }
sleep_until $((takeoff + AT / SPEED))
t_behind=$(game_ms)
paused_capture "$WORK/behind.png"
# The README's picture: the same view going on, without the pause's word.
[ -z "${TORVEL_RADAR_OUT:-}" ] || quick_capture "$TORVEL_RADAR_OUT"
mouse $((FRONT - BEHIND)) 0 || fail "the game did not take the mouse's move round to the jet"
t_front=$(game_ms)
paused_capture "$WORK/front.png"
press F12
wait_for_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after F12"

# look VIEW CAPTURE MS: the planner's reading, as "disc UP LIT ELSEWHERE RIGHT LEFT ONSCREEN FOUND"
look() { "$PLANNER" look 1 "$3" "$1" "$2" "$WORK/empty.png" | awk '{ printf "%s ", $0 } END { print "" }'; }
read -r _ up lit elsewhere _ right left _ onscreen found < <(look "$BEHIND" "$WORK/behind.png" "$t_behind") ||
  fail "cannot read the capture behind"
echo "behind ($t_behind ms after take-off): mark at $up up the disc, $lit amber pixels there, $elsewhere elsewhere on it;" \
  "$right at the right edge, $left at the left; jet on screen: $onscreen"
awk -v u="$up" 'BEGIN { exit !(u < -0.3) }' || fail "the plan does not put the jet low on the disc ($up)"
[ "$lit" -ge 15 ] || fail "no mark low on the disc ($lit amber pixels)"
[ "$elsewhere" -le 5 ] || fail "$elsewhere amber pixels elsewhere on the disc"
[ "$left" -ge 40 ] || fail "no edge mark at the left edge ($left amber pixels)"
[ "$right" -le 3 ] || fail "an edge mark at the right edge ($right amber pixels)"
[ "$onscreen" -eq 0 ] || fail "the plan puts the jet on screen in the view behind"

read -r _ up lit elsewhere _ right left _ onscreen found < <(look "$FRONT" "$WORK/front.png" "$t_front") ||
  fail "cannot read the capture in front"
echo "front ($t_front ms after take-off): mark at $up up the disc, $lit amber pixels there, $elsewhere elsewhere on it;" \
  "$right at the right edge, $left at the left; jet on screen: $onscreen, $found of its pixels"
awk -v u="$up" 'BEGIN { exit !(u > 0) }' || fail "the plan does not put the jet ahead on the disc ($up)"
[ "$lit" -ge 15 ] || fail "no mark where the plan puts the jet ahead on the disc ($lit amber pixels)"
[ "$elsewhere" -le 5 ] || fail "$elsewhere amber pixels elsewhere on the disc"
[ "$right" -le 3 ] && [ "$left" -le 3 ] || fail "an edge mark stayed with the jet in view ($right right, $left left)"
[ "$onscreen" -eq 1 ] && [ "$found" -ge 6 ] || fail "the jet is not on screen ($found pixels)"
echo "radar: ok ($((SECONDS - started)) s)"
