#!/usr/bin/env bash
# A player with a joystick, driven through the engine's own reading of the
# device: a preloaded library stands in for /dev/input/js0 and plays the
# stick moves this script appends to its script file.
#   joystick.sh GAME RES FAKE_JOYSTICK_LIBRARY
# How far the stick moves the view in a given time depends on the frame rate,
# which on a busy machine falls to a few frames a second: the stick is held
# until the view has clearly changed, and the waits are generous.
source "$(dirname "$0")/lib.sh"
FAKE_JOYSTICK=$3
STICK=$WORK/stick.txt
: >"$STICK"
stick() { printf '%s\n' "$@" >>"$STICK"; }

start_game env LD_PRELOAD="$FAKE_JOYSTICK${LD_PRELOAD:+:$LD_PRELOAD}" TORVEL_FAKE_JOYSTICK="$STICK"
wait_for_line "Joystick support is enabled and 1 joystick(s) are present." 30
sleep 2
xdotool mousemove 683 384
wait_for_hud "RNDS REMAIN: 80" 20
capture "$WORK/start.png"

# With a stick present the keyboard's stand-in stick is off: the arrows and
# Space neither turn nor fire.
xdotool keydown Right; sleep 1; xdotool keyup Right
xdotool key space
sleep 2
capture "$WORK/keys.png"
keys=$(shift_x "$WORK/start.png" "$WORK/keys.png")
[ "${keys#-}" -lt 5 ] || fail "the arrow keys turned the view by $keys px although a stick is present"
hud_text "$WORK/keys.png" | grep -q "RNDS REMAIN: 80" || fail "Space fired although a stick is present"

# Button 0 fires one burst of 16 rounds, however long it is held; button 2
# reloads (the notice shows for 15 s).
stick "button 0 1"
wait_for_hud "RNDS REM.*64" 30
sleep 1
wait_for_hud "RNDS REM.*64" 1
stick "button 0 0" "button 2 1"
wait_for_hud "RNDS REMAIN: .RELOADING" 14
stick "button 2 0"

# The stick pushed right turns right: the sky moves left on screen.
right=$(turn_view "$WORK/start.png" "$WORK/right.png" stick "axis 0 24000" "wait 300" "axis 0 0")
[ "$right" -lt -20 ] || fail "the stick pushed right moved the sky by $right px, not to the left"
left=$(turn_view "$WORK/right.png" "$WORK/left.png" stick "axis 0 -24000" "wait 300" "axis 0 0")
[ "$left" -gt 20 ] || fail "the stick pushed left moved the sky by $left px, not to the right"

# Pulled back, the stick raises the guns until sky fills the lower left of
# the view, where the ground was; pushed forward it brings the ground back.
sky_below() { # CAPTURE: how much bluer than green the lower left corner is
  convert "$1" -crop 300x120+20+600 +repage -format '%[fx:mean.b - mean.g]' info:
}
elevate() { # VALUE CONDITION: holds the stick until the corner's s meets the awk CONDITION, at most 40 s
  local deadline=$((SECONDS + 40)) level
  stick "axis 1 $1"
  while :; do
    capture "$WORK/elevation.png"
    level=$(sky_below "$WORK/elevation.png")
    awk -v s="$level" "BEGIN { exit !($2) }" || [ $SECONDS -ge $deadline ] && break
    sleep 0.2
  done
  stick "axis 1 0"
  echo "$level"
}
ground=$(sky_below "$WORK/start.png")
awk -v s="$ground" 'BEGIN { exit !(s < 0.05) }' || fail "the view does not start on the ground (blue over green $ground)"
raised=$(elevate 32767 "s > 0.15")
awk -v s="$raised" 'BEGIN { exit !(s > 0.15) }' || fail "the stick pulled back did not raise the guns into the sky (blue over green $raised)"
lowered=$(elevate -32767 "s < 0.05")
awk -v s="$lowered" 'BEGIN { exit !(s < 0.05) }' || fail "the stick pushed forward did not bring the ground back (blue over green $lowered)"

# Unplugged mid-game, reads fail with ENODEV: the game plays on, T still
# writes its screenshot, and F12 ends it as usual.
stick "vanish"
sleep 2
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended when the stick vanished"
take_screenshot
awk -v l="$SHOT_LEVEL" 'BEGIN { exit !(l > 0.15) }' || fail "the screenshot after the stick vanished is dark (mean $SHOT_LEVEL)"
press F12
wait_for_exit 20
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after F12"
! grep 'fake joystick' "$WORK/err.txt" || fail "the stick's script was not understood"
echo "joystick: ok in $SECONDS s (keys moved the view $keys px; right $right px, left $left px;" \
  "lower left blue over green $ground -> $raised -> $lowered; 80 -> 64 -> [RELOADING]; vanished, played on)"
