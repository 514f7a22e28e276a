# Shared helpers for the end-to-end scripts: a private play directory with
# bin/ and a link to the baked res/, the game started in it, and waits. The
# game keeps its best rounds in the play directory too, never in the
# player's own data folder.

set -euo pipefail
TORVEL=$1
RES=$2
WORK=$(mktemp -d)
mkdir -p "$WORK/bin"
ln -s "$RES" "$WORK/res"
GAME_PID=
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
export XDG_DATA_HOME=$WORK/data

cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "--- game output:" >&2; cat "$WORK/out.txt" >&2 2>/dev/null || true
  # where a sanitizer's report goes
  echo "--- standard error (last lines):" >&2; tail -n 30 "$WORK/err.txt" >&2 2>/dev/null || true
  exit 1
}

# start_game [command prefix...]: runs the game from $WORK/bin, output in $WORK/out.txt
start_game() {
  (cd "$WORK/bin" && exec "$@" "$TORVEL") >"$WORK/out.txt" 2>"$WORK/err.txt" &
  GAME_PID=$!
}

# With `start_game env LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 xN"` the game's
# clock (and its sleeps) run N times fast, and its pid stays the game's.
# (sanitize.sh sets its own list, with the sanitizer's runtime first.)
FAKETIME_LIB=${FAKETIME_LIB:-/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1}

# wait_for_line TEXT SECONDS: until the game's output holds TEXT
wait_for_line() {
  local deadline=$((SECONDS + $2))
  until grep -qF "$1" "$WORK/out.txt" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "no line '$1' within $2 s"
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before printing '$1'"
    sleep 0.2
  done
}

# wait_for_exit SECONDS: the game's exit status in $GAME_STATUS
wait_for_exit() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$GAME_PID" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the game did not end within $1 s"
    sleep 0.2
  done
  GAME_STATUS=0
  wait "$GAME_PID" || GAME_STATUS=$?
  GAME_PID=
}

# Without a window manager the keyboard follows the pointer: keep it over the game.
press() { xdotool mousemove 683 384; xdotool key "$@"; }

# mean_level FILE: mean brightness 0..1 of a picture
mean_level() { convert "$1" -colorspace Gray -format '%[fx:mean]' info:; }

# capture FILE: the game's window as the player sees it
capture() { import -window root -crop 1366x768+0+0 +repage "$1"; }

# read_text FILE GEOMETRY THRESHOLD: the text of a part of a capture. White
# (or gold) text with a dark rim: keep the bright, enlarge, and read; O and 0
# look alike in this font, so figures after a colon are read as digits.
read_text() {
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold "$3" -negate -resize 300% "$1.text.png"
  tesseract "$1.text.png" - --psm 6 2>/dev/null | sed -E ':a; s/(: *[0-9]*)[Oo]/\10/; ta' | grep -v '^\s*$'
}

# hud_text FILE [THRESHOLD]: the three HUD lines read off a capture
hud_text() { read_text "$1" 300x80+0+0 "${2:-80%}"; }

# read_box FILE GEOMETRY...: the text of a box of text over the scene, read
# a few ways (each part of the capture given, two thresholds): the reader
# stumbles now and then on a sight's line or a box's edge, seldom twice
# alike, so every line any way read is kept.
read_box() {
  local file=$1 geometry threshold
  shift
  for geometry in "$@"; do
    for threshold in 55% 65%; do
      read_text "$file" "$geometry" "$threshold"
    done
  done | sort -u
}
# panel_text FILE: the round's panel in the middle, with one round in its table
panel_text() { read_box "$1" 400x180+483+292 324x170+521+300; }
# invitation_text FILE: the invitation to a round or a raid, with one round in its table
invitation_text() { read_box "$1" 400x140+483+360 324x130+521+364; }

source "$(dirname "${BASH_SOURCE[0]}")/gunner.sh"

# shoot NAME [KEY...]: presses the keys and T together and keeps the frame the
# game itself writes for T as $WORK/NAME.png: the picture of that very frame.
shoot() {
  local name=$1
  shift
  press "$@" t
  keep_frame "$name"
}

# keep_frame NAME: waits for the frame the game writes for a T already
# pressed, and keeps it as $WORK/NAME.png.
keep_frame() {
  local shot=
  for _ in $(seq 100); do
    for shot in "$WORK"/bin/*.png; do break; done
    # (the game may still be writing the file when it first shows)
    [ -e "$shot" ] && convert "$shot" null: >/dev/null 2>&1 && break
    shot=
    sleep 0.1
  done
  [ -n "$shot" ] || fail "T wrote no screenshot for $1"
  mv "$shot" "$WORK/$1.png"
}

# shift_x BEFORE AFTER: how far the sky moved sideways between two captures,
# in pixels (negative: to the left). Each capture's band of sky between the
# HUD and the sight becomes one brightness per column; the answer is the
# offset at which the two rows of figures agree best.
shift_x() {
  column_levels() { convert "$1" -crop 1366x160+0+90 +repage -colorspace Gray -scale 1366x1! -depth 8 txt:- | awk -F'[(),]' 'NR > 1 { print $3 }'; }
  column_levels "$1" >"$WORK/levels-before.txt"
  column_levels "$2" >"$WORK/levels-after.txt"
  awk 'NR == FNR { a[FNR - 1] = $1; n = FNR; next } { b[FNR - 1] = $1 }
       END {
         best = 0; bestCost = -1
         for (s = -900; s <= 900; s++) {
           cost = 0; count = 0
           for (x = 0; x < n; x++) { y = x + s; if (y < 0 || y >= n) continue; d = a[x] - b[y]; cost += d < 0 ? -d : d; count++ }
           if (count < 300) continue
           cost /= count
           if (bestCost < 0 || cost < bestCost) { bestCost = cost; best = s }
         }
         print best
       }' "$WORK/levels-before.txt" "$WORK/levels-after.txt"
}

# turn_view START_CAPTURE RESULT_CAPTURE COMMAND [ARGS...]: how far the sky
# moved sideways (as shift_x) after strokes of COMMAND, each one short push
# that turns the turret. How far a push turns depends on the frame rate, so
# it pushes until the sky has clearly moved, at most eight times.
turn_view() {
  local moved=0
  for _ in $(seq 8); do
    "${@:3}"
    sleep 2 # the turret coasts to a stop
    capture "$2"
    moved=$(shift_x "$1" "$2")
    [ "${moved#-}" -lt 40 ] || break
  done
  echo "$moved"
}

# wait_for_hud TEXT SECONDS: until the HUD reads TEXT (a grep pattern)
wait_for_hud() {
  local deadline=$((SECONDS + $2))
  while :; do
    capture "$WORK/hud-now.png"
    hud_text "$WORK/hud-now.png" >"$WORK/hud.txt"
    grep -q "$1" "$WORK/hud.txt" && return 0
    [ $SECONDS -lt $deadline ] || fail "the HUD never read '$1'; last: $(tr '\n' '/' <"$WORK/hud.txt")"
    sleep 0.3
  done
}

# take_screenshot: presses T and waits for the one file it writes, readable
# and named by the rule (digits and ".png"); its path in $SHOT, its mean
# brightness (0..1) in $SHOT_LEVEL.
take_screenshot() {
  press t
  SHOT_LEVEL=
  # (the game may still be writing the file when it first shows)
  for _ in $(seq 50); do
    SHOT_LEVEL=$(mean_level "$WORK"/bin/*.png 2>/dev/null) && break
    sleep 0.2
  done
  local shots=("$WORK"/bin/*.png)
  [ -f "${shots[0]}" ] || fail "T wrote no screenshot"
  [ ${#shots[@]} -eq 1 ] || fail "one T wrote ${#shots[@]} files"
  [[ "$(basename "${shots[0]}")" =~ ^[1-9][0-9]*\.png$ ]] || fail "bad screenshot name ${shots[0]}"
  [ -n "$SHOT_LEVEL" ] || fail "the screenshot cannot be read"
  SHOT=${shots[0]}
}
