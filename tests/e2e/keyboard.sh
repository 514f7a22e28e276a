#!/usr/bin/env bash
# A player without a joystick: the arrow keys turn the view, Space fires a
# burst, R reloads, all read off the screen as the player sees it.
source "$(dirname "$0")/lib.sh"

start_game
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
sleep 2
xdotool mousemove 683 384

wait_for_hud "RNDS REMAIN: 80" 10
capture "$WORK/start.png"

# Turning right moves the sky to the left on screen, turning left moves it
# back.
push() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; }
moved=$(turn_view "$WORK/start.png" "$WORK/right.png" push Right)
[ "$moved" -lt -20 ] || fail "holding Right moved the sky by $moved px, not to the left"
back=$(turn_view "$WORK/right.png" "$WORK/left.png" push Left)
[ "$back" -gt 20 ] || fail "holding Left moved the sky by $back px, not to the right"

# One tap of Space: one burst of 16 rounds.
xdotool key space
wait_for_hud "RNDS REMAIN: 64" 10
sleep 1
wait_for_hud "RNDS REMAIN: 64" 1 # and no second burst

xdotool keydown r
wait_for_hud "RNDS REMAIN: .RELOADING" 8
xdotool keyup r

press F12
wait_for_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after F12"
echo "keyboard: ok (right turn moved the sky $moved px, left turn $back px; 80 -> 64 -> [RELOADING])"
