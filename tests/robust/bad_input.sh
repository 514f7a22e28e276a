#!/usr/bin/env bash
# Starts the real game three times with one resource file faulted: missing,
# cut to half its size, and replaced by random bytes of the same size; a
# fourth time with the input a fuzzer found for it, where found/ holds one
# under the file's name (each once ended the game or lost memory). Each
# time it starts a round (F9, with the clock twenty times faster so a jet
# comes and its fly-by sound plays), fires a burst with Space, and ends with F12.
# The game must end with status 0 every time, without a crash or a sanitizer
# report; without a usable guns mesh it must stop at once with its message.
#
# The files the game first uses when a round hits a jet (the fireball, the
# boom, the smoke) get a round that does: the clock twice as fast, the
# mouse aimed where the game's first jet passes (round-planner, the fourth
# argument, says where and when), bursts as it crosses, and a second of the
# burning jet before F12. The sound log's first word of the boom file dates
# the hit. A jet cannot be hit without its mesh, so the jet's files get none.
#
# Files named together (FILE,FILE,...) are faulted together, the same way
# each time. The air raid's files get a raid: the game started with a raid
# number, F8, and the raid left alone until the gun position is lost, which
# must happen after the waves that raid-planner (the fourth argument) knows
# of, and enter the raid among the best raids, whatever its craft look and
# sound like. The gun's cues get a round in which the magazine is emptied,
# the guns click dry and are reloaded.
#
#   bad_input.sh TORVEL RESDIR FILE[,FILE...] [PLANNER]  runs the faults of FILE
#   bad_input.sh --covers RESDIR FILE...                 fails if RESDIR holds a file not listed
#
# With ROBUST_SHOTS set to a directory, the screen of every run is saved
# there as FILE-FAULT.png, and a line per run is appended to its table.txt.
set -euo pipefail

if [ "${1:-}" = "--covers" ]; then
  res=$2
  shift 2
  missing=0
  for f in "$res"/*; do
    name=$(basename "$f")
    case " $* " in *" $name "*) ;; *) echo "not faulted by any test: $name" >&2; missing=1 ;; esac
  done
  exit $missing
fi

TORVEL=$1
RES=$2
FILE=$3
IFS=, read -r -a FILES <<<"$FILE"
PLANNER=${4:-}
for f in "${FILES[@]}"; do
  [ -f "$RES/$f" ] || { echo "FAIL: no $f in $RES" >&2; exit 1; }
done
source "$(dirname "$0")/../e2e/gunner.sh"
RUN=plain SPEED=20
case ${FILES[0]} in
  fireball.png | hit.wav | smoke.png | smoke1.png) RUN=hit SPEED=2 ;;
  bomber.* | attacker.* | bomb.* | whistle.wav | bombburst.wav | cannon.wav | impact.wav) RUN=raid SPEED=20 ;;
  magout.wav | magin.wav | click.wav) RUN=cues ;;
esac
case $RUN in hit | raid)
  [ -n "$PLANNER" ] || { echo "FAIL: $FILE needs a $RUN, and the planner for it" >&2; exit 1; } ;;
esac
RAID_NUMBER=42
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
GUNS_LINE="Cannot load ../res/guns.obj: the turret cannot be built."
READY_LINE="Joystick support is enabled and"
# The clock library, or (from sanitize.sh) a list with the sanitizer's runtime first.
FAKETIME_LIB=${FAKETIME_LIB:-/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1}
# A game in the sanitizer build starts more slowly.
START_SECONDS=${ROBUST_START_SECONDS:-40}

WORK=$(mktemp -d)
# The game keeps its best rounds here, never in the player's own data folder.
export XDG_DATA_HOME=$WORK/data
GAME_PID=
cleanup() {
  if [ -n "$GAME_PID" ]; then kill "$GAME_PID" 2>/dev/null || true; fi
  xdotool keyup space 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $FILE $FAULT: $*" >&2
  echo "--- standard output:" >&2; cat "$WORK/out.txt" >&2 2>/dev/null || true
  echo "--- standard error (last lines):" >&2; tail -n 30 "$WORK/err.txt" >&2 2>/dev/null || true
  exit 1
}

# fault_file KIND PATH: the three ways a file goes bad on a player's disk.
fault_file() {
  local size
  size=$(stat -c %s "$2")
  case $1 in
    missing) rm -f "$2" ;;
    half) truncate -s $((size / 2)) "$2" ;;
    # The same bytes on every run: a fixed start value for Perl's generator.
    found) cp "$FOUND/$(basename "$2")" "$2" ;;
    random) perl -e 'srand(1208); binmode STDOUT; print pack("C*", map { int(rand(256)) } 1 .. $ARGV[0]);' "$size" >"$2" ;;
  esac
}

# Keys go to the window under the pointer (there is no window manager).
press() { xdotool mousemove 683 384; xdotool key "$@"; }

game_running() { kill -0 "$GAME_PID" 2>/dev/null; }

wait_for_exit() {
  local deadline=$((SECONDS + $1))
  while game_running; do
    [ $SECONDS -lt $deadline ] || fail "the game did not end within $1 s"
    sleep 0.2
  done
  STATUS=0
  wait "$GAME_PID" || STATUS=$?
  GAME_PID=
}

# The player's view of one run for the table: the game's own lines, other
# than the joystick report, or that it ran normally.
record() {
  [ -n "${ROBUST_SHOTS:-}" ] || return 0
  local said
  said=$(grep -v "^$READY_LINE" "$WORK/out.txt" | grep -v '^~Aircraft$' | paste -sd'|' - || true)
  printf '%s\t%s\t%s\t%s\n' "$FILE" "$FAULT" "$1" "${said:-(no message)}" >>"$ROBUST_SHOTS/table.txt"
}

# The raid's course, known from its number: when it is lost, after how many waves.
if [ $RUN = raid ]; then
  read -r _ LOST_AT WAVES < <("$PLANNER" lost "$RAID_NUMBER") || { echo "FAIL: raid $RAID_NUMBER is never lost" >&2; exit 1; }
fi
arguments=()
[ $RUN != raid ] || arguments=(--raid "$RAID_NUMBER")

FOUND=$(cd "$(dirname "$0")" && pwd)/found
faults="missing half random"
[ ${#FILES[@]} -ne 1 ] || [ ! -f "$FOUND/$FILE" ] || faults="$faults found"
for FAULT in $faults; do
  rm -rf "$WORK/play" "$XDG_DATA_HOME"
  mkdir -p "$WORK/play/bin"
  cp -r "$RES" "$WORK/play/res"
  for f in "${FILES[@]}"; do
    fault_file "$FAULT" "$WORK/play/res/$f"
  done

  (cd "$WORK/play/bin" && exec env LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x$SPEED" "$TORVEL" "${arguments[@]}") \
    >"$WORK/out.txt" 2>"$WORK/err.txt" &
  GAME_PID=$!

  deadline=$((SECONDS + START_SECONDS))
  until grep -q "^$READY_LINE" "$WORK/out.txt" 2>/dev/null; do
    game_running || break
    [ $SECONDS -lt $deadline ] || fail "no start within $START_SECONDS s"
    sleep 0.2
  done

  if grep -qxF "$GUNS_LINE" "$WORK/out.txt"; then
    # No turret: the game must stop by itself, before its first frame.
    wait_for_exit 20
    [ "$STATUS" -eq 0 ] || fail "status $STATUS after the guns message"
    ! grep -q "^$READY_LINE" "$WORK/out.txt" || fail "the game went on without its guns"
    record "stops at once with the guns message"
  else
    [ "$FILE $FAULT" != "guns.obj missing" ] || fail "no guns message: $(head -c 300 "$WORK/out.txt")"
    game_running || { wait "$GAME_PID" && STATUS=0 || STATUS=$?; GAME_PID=; fail "the game ended by itself (status $STATUS)"; }
    if [ $RUN = hit ]; then
      # The first jet comes 5 s of game time after F9; the aim is where it
      # passes 3 to 6 s later.
      read -r _ aim_x aim_y hit_from hit_to _ < <("$PLANNER" aim "$RES" 1 3000 6000) || fail "no aim at the first jet"
      xdotool mousemove 683 384
      sleep 0.5
      mouse "$aim_x" "$aim_y" || fail "the game did not take the mouse's move"
      press F9
      hit=$(( $(now_ms) + (5000 + (hit_from + hit_to) / 2) / SPEED ))
      fire_around $((hit - 600)) $((hit + 600)) 0.12
      deadline=$(($(now_ms) + 5000))
      until boom_heard "$WORK/play/bin"; do
        [ "$(now_ms)" -lt "$deadline" ] || fail "the bursts did not hit the first jet"
        sleep 0.05
      done
      sleep 1
    elif [ $RUN = raid ]; then
      # The panel that says so comes at the loss; the entry is written with it.
      press F8
      lost=$(( $(now_ms) + LOST_AT / SPEED ))
      deadline=$((lost + 30000))
      until grep -qE "^[0-9]+ $WAVES $RAID_NUMBER [0-9]+$" "$XDG_DATA_HOME/torvel/raids" 2>/dev/null; do
        game_running || fail "the game ended during the raid"
        [ "$(now_ms)" -lt "$deadline" ] || fail "raid $RAID_NUMBER not lost after $WAVES waves by $(( (deadline - lost) / 1000 )) s after its planned end: $(cat "$XDG_DATA_HOME/torvel/raids" 2>/dev/null)"
        sleep 0.2
      done
      [ "$(now_ms)" -ge $((lost - 2000)) ] || fail "raid $RAID_NUMBER lost well before its planned end"
    elif [ $RUN = cues ]; then
      # Five bursts empty the magazine, a sixth press clicks dry, R takes the
      # magazine out, and 15 s of game time later one is in again.
      press F9
      sleep 0.5
      xdotool mousemove 683 384
      for _ in 1 2 3 4 5 6; do xdotool keydown space sleep 0.15 keyup space sleep 0.25; done
      xdotool key r
      sleep 1.2
    else
      # The first jet comes 5 s after F9, and its sound starts 11 to 18.5 s
      # later: within 1.2 s here.
      press F9
      sleep 0.5
      xdotool mousemove 683 384 keydown space
      sleep 0.5
      xdotool keyup space
      sleep 0.8
    fi
    game_running || fail "the game ended during the round"
    if [ -n "${ROBUST_SHOTS:-}" ]; then
      import -window root -crop 1366x768+0+0 +repage "$ROBUST_SHOTS/$FILE-$FAULT.png"
    fi
    press F12
    wait_for_exit 20
    [ "$STATUS" -eq 0 ] || fail "status $STATUS after F12"
    case $RUN in
      hit) record "plays, hits the first jet; F12 ends it" ;;
      raid) record "plays raid $RAID_NUMBER to its loss after $WAVES waves; F12 ends it" ;;
      *) record "plays; F12 ends it" ;;
    esac
  fi
  if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$WORK/err.txt"; then
    fail "a sanitizer report"
  fi
  echo "$FILE $FAULT: ok"
done
