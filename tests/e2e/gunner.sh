# The gunner's hands for the scripts that drive the game: the real clock to
# the millisecond, the mouse that aims and the trigger.

now_ms() { date +%s%3N; }
# sleep_until MS: real clock in milliseconds since the epoch
sleep_until() {
  local left=$(($1 - $(now_ms)))
  [ "$left" -le 0 ] || sleep "$(awk -v l="$left" 'BEGIN { printf "%.3f", l / 1000 }')"
}

# mouse DX DY: moves the pointer, which the game holds and turns the turret
# by, 0.05 degrees a pixel (right and down for positive figures). In short
# strokes, each taken up by a frame of its own, so that the pointer never
# leaves the window.
mouse() {
  local x=$1 y=$2 step moves=()
  # One xdotool for the whole way: starting one takes long on a busy machine.
  while [ "$x" -ne 0 ]; do
    step=$(( x > 200 ? 200 : x < -200 ? -200 : x )); x=$((x - step))
    moves+=(mousemove_relative -- "$step" 0 sleep 0.2)
  done
  while [ "$y" -ne 0 ]; do
    step=$(( y > 200 ? 200 : y < -200 ? -200 : y )); y=$((y - step))
    moves+=(mousemove_relative -- 0 "$step" sleep 0.2)
  done
  [ ${#moves[@]} -eq 0 ] || xdotool "${moves[@]}"
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
