#!/usr/bin/env bash
# A player without a joystick: the arrow keys turn the view, a tap only
# nudges it, the mouse turns it, Space fires a burst, R reloads, all read off
# the screen as the player sees it.
source "$(dirname "$0")/lib.sh"

start_game
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
sleep 2
xdotool mousemove 683 384

wait_for_hud "RNDS REMAIN: 80" 10

# A pause before the first round leaves the invitation readable: the word
# stands clear of its box.
press p
sleep 1
capture "$WORK/paused.png"
read_text "$WORK/paused.png" 240x50+563+360 60% >"$WORK/paused.txt"
grep -q "F9: start a \?round" "$WORK/paused.txt" || fail "paused, the invitation reads '$(tr '\n' '/' <"$WORK/paused.txt")'"
read_text "$WORK/paused.png" 300x70+533+290 60% | grep -q "PAUSED" || fail "no PAUSED above the invitation"
press p
sleep 1
capture "$WORK/start.png"

# Turning right moves the sky to the left on screen, turning left moves it
# back. A push is one xdotool (a second process could start late) holding
# the key long enough for the ramp to reach full deflection.
push() { xdotool keydown "$1" sleep 0.4 keyup "$1"; }
moved=$(turn_view "$WORK/start.png" "$WORK/right.png" push Right)
[ "$moved" -lt -20 ] || fail "holding Right moved the sky by $moved px, not to the left"
back=$(turn_view "$WORK/right.png" "$WORK/left.png" push Left)
[ "$back" -gt 20 ] || fail "holding Left moved the sky by $back px, not to the right"

# The shortest tap of a key only nudges the sight: 0.2 degrees at most, which
# at the centre of the 72-degree-high view is 1.8 pixels, and 2 pixels in the
# band measured, which widens towards the sides (see the mouse below).
capture "$WORK/before-tap.png"
# (one xdotool for the whole tap: a second process could start late)
xdotool keydown Right sleep 0.05 keyup Right
sleep 2
capture "$WORK/after-tap.png"
tap=$(shift_x "$WORK/before-tap.png" "$WORK/after-tap.png")
[ "${tap#-}" -le 2 ] || fail "a 50 ms tap of Right moved the sky by $tap px"

# The mouse turns the turret directly, 0.05 degrees a pixel: 100 pixels to
# the right are 5 degrees, 46 pixels of sky moving left at the centre and
# more towards the sides. The pointer stays held at the centre of the window.
capture "$WORK/before-mouse.png"
xdotool mousemove_relative -- 100 0
sleep 1
capture "$WORK/after-mouse.png"
mouse=$(shift_x "$WORK/before-mouse.png" "$WORK/after-mouse.png")
[ "$mouse" -le -40 ] && [ "$mouse" -ge -62 ] || fail "moving the mouse 100 px right moved the sky by $mouse px, not about -50"
pointer_centred || fail "the pointer is not held: $(xdotool getmouselocation)"

# One tap of Space: one burst of 16 rounds.
xdotool key space
wait_for_hud "RNDS REMAIN: 64" 10
sleep 1
wait_for_hud "RNDS REMAIN: 64" 1 # and no second burst

xdotool keydown r
wait_for_hud "RNDS REMAIN: .RELOADING" 8
xdotool keyup r

# The reloading line counts its seconds down. The text reader sometimes
# runs the seconds into their "s" ("11 s" read as "115") or misses the line
# in a picture: up to three pictures are read, and of the digits after the
# word only the first two count, or the first alone where two would be more
# than the reload's 15 s.
reload_seconds() {
  local text digits
  for _ in 1 2 3; do
    capture "$WORK/reload.png"
    text=$(read_text "$WORK/reload.png" 440x30+0+4 80%)
    digits=$(grep -oE 'RELOADING. ?[0-9]+' <<<"$text" | grep -oE '[0-9]+$' | head -n1 | cut -c1-2 || true)
    if [ -n "$digits" ]; then
      [ "$digits" -gt 15 ] && digits=${digits:0:1}
      echo "$digits"
      return
    fi
  done
}
first=$(reload_seconds)
sleep 2.5
later=$(reload_seconds)
[ -n "$first" ] && [ -n "$later" ] && [ "$first" -le 15 ] && [ "$later" -lt "$first" ] ||
  fail "the reload did not count down: '$first' then '$later' seconds"

# A round of the game starts with a fresh magazine: F9 ends the reload and
# refills the 16 rounds fired above.
press F9
wait_for_hud "RNDS REMAIN: 80" 10

press F12
wait_for_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after F12"
echo "keyboard: ok (right turn moved the sky $moved px, left turn $back px, a 50 ms tap $tap px, 100 px of mouse $mouse px; 80 -> 64 -> [RELOADING] $first s, $later s -> F9 -> 80; paused, the invitation read)"
