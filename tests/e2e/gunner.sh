# The gunner's hands for the scripts that drive the game: the real clock to
# the millisecond, the mouse that aims and the trigger.

now_ms() { date +%s%3N; }
# sleep_until MS: real clock in milliseconds since the epoch
sleep_until() {
  local left=$(($1 - $(now_ms)))
  [ "$left" -le 0 ] || sleep "$(awk -v l="$left" 'BEGIN { printf "%.3f", l / 1000 }')"
}

# pointer_centred: the pointer stands at the window's centre, where the game
# holds it while it aims with the mouse
pointer_centred() { [ "$(xdotool getmouselocation | cut -d' ' -f1-2)" = "x:683 y:384" ]; }

# boom_heard BIN: the game started in folder BIN has loaded the boom of a
# hit, which it does at its first hit
boom_heard() { grep -q 'hit\.wav' "$1/cAudioEngineLog.html" 2>/dev/null; }

# mouse DX DY: moves the pointer, which the game holds at its window's
# centre and turns the turret by, 0.05 degrees a pixel (right and down for
# positive figures). A stroke at a time, each to a place inside the window,
# and the next only once the game has taken the pointer back to the centre:
# however slowly its frames come, no stroke is lost or added to another, and
# the pointer never leaves the window (which would pause the game). False
# when the game stops taking the pointer back (it is paused, or gone).
mouse() {
  local x=$1 y=$2 dx dy deadline
  while [ "$x" -ne 0 ] || [ "$y" -ne 0 ]; do
    dx=$(( x > 600 ? 600 : x < -600 ? -600 : x )); x=$((x - dx))
    dy=$(( y > 300 ? 300 : y < -300 ? -300 : y )); y=$((y - dy))
    xdotool mousemove $((683 + dx)) $((384 + dy))
    deadline=$(($(now_ms) + 5000))
    until pointer_centred; do
      [ "$(now_ms)" -lt "$deadline" ] || return 1
      sleep 0.02
    done
  done
}

# fire_around FROM TO HOLD: presses of Space, each held for HOLD seconds and
# let go as long, from the real moment FROM until about TO. A new press
# starts a burst once the last one is over; held and let go each for more
# than a frame, so that the game sees every press even when its frames come
# slowly, the bursts of the magazine follow each other closely and evenly.
# One xdotool makes them all: starting one takes long on a busy machine.
fire_around() {
  local presses=() n
  for n in $(seq "$(awk -v ms=$(($2 - $1)) -v hold="$3" 'BEGIN { print int(ms / (2000 * hold)) + 1 }')"); do
    presses+=(keydown space sleep "$3" keyup space sleep "$3")
  done
  sleep_until "$1"
  xdotool "${presses[@]}"
}
