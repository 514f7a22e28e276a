#!/usr/bin/env bash
# The game stopped from outside in the middle of a round, the round running
# with the clock four times fast and a jet in the sky:
#
#   stopped.sh TORVEL RESDIR term|int|hup   the signal, sent to the game
#   stopped.sh TORVEL RESDIR nohup          SIGHUP, which nohup told it to ignore
#   stopped.sh TORVEL RESDIR terminal       the terminal it runs in closed
#   stopped.sh TORVEL RESDIR display        its X server ended
#
# A signal or the terminal gone ends it as F12 does: status 0, and the sound
# service's shut-down the last thing it logs. The display gone ends it at
# once with status 1 and one line on standard error, without a crash or a
# core dump. Under nohup, SIGHUP changes nothing and F12 ends the game.
# Every time the best rounds stay whole, byte for byte.
source "$(dirname "$0")/../e2e/lib.sh"
CASE=$3
READY_LINE="Joystick support is enabled and"
TABLE=$'torvel-scores 1\n7412 3 1718000000\n2500 1 1718000100\nend\n'
mkdir -p "$XDG_DATA_HOME/torvel"
printf '%s' "$TABLE" >"$XDG_DATA_HOME/torvel/scores"
ulimit -c unlimited 2>/dev/null || true

# The round: F9, then until the first jet (5 s of game time) flies, which
# the sound log tells by its fly-by sound.
jet_in_the_sky() { grep -q 'flyby\.wav' "$WORK/bin/cAudioEngineLog.html" 2>/dev/null; }
play_a_round() {
  local deadline=$((SECONDS + 20))
  sleep 0.5
  press F9
  until jet_in_the_sky; do
    [ $SECONDS -lt $deadline ] || fail "no jet in the sky within 20 s of F9"
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during the round"
    sleep 0.2
  done
  sleep 0.5
}

table_whole() {
  [ "$(cat "$XDG_DATA_HOME/torvel/scores"; echo x)" = "${TABLE}x" ] || fail "the best rounds changed: $(cat "$XDG_DATA_HOME/torvel/scores")"
  [ -z "$(ls "$XDG_DATA_HOME/torvel" | grep -v '^scores$')" ] || fail "left in the data folder: $(ls "$XDG_DATA_HOME/torvel")"
}

# As after F12: the whole shut-down ran, the sound service's last of all.
ended_as_after_f12() {
  [ "$GAME_STATUS" -eq 0 ] || fail "status $GAME_STATUS"
  local last
  last=$(grep -v '^\s*$' "$WORK/bin/cAudioEngineLog.html" | sed -e 's/<[^>]*>//g' | grep -v '^\s*$' | tail -n 1)
  case $last in *"Shut down: "*) ;; *) fail "the sound service's last line is not its shut-down: $last" ;; esac
  echo "$CASE: status 0; sound log ends: $last"
}

no_crash() {
  ! grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:|Segmentation|Aborted' "$WORK/err.txt" || fail "a crash report: $(cat "$WORK/err.txt")"
  [ -z "$(ls "$WORK/bin" | grep '^core')" ] || fail "a core dump"
}

# A script's background job starts with SIGINT ignored, and the game keeps
# it so, as it keeps nohup's: the game here starts with it as a player's does.
# start [env option...]: more of the signals the game starts with.
start() {
  start_game env --default-signal=INT "$@" LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x4"
  wait_for_line "$READY_LINE" 60
}

case $CASE in
  term | int | hup)
    start
    play_a_round
    kill -"${CASE^^}" "$GAME_PID"
    wait_for_exit 30
    ended_as_after_f12
    ;;
  nohup)
    start --ignore-signal=HUP
    play_a_round
    kill -HUP "$GAME_PID"
    sleep 1
    kill -0 "$GAME_PID" 2>/dev/null || fail "SIGHUP ended the game under nohup"
    press F12
    wait_for_exit 30
    ended_as_after_f12
    ;;
  terminal)
    # The game's terminal is a pty, whose far end is closed mid-round.
    python3 - "$WORK" "$TORVEL" "$FAKETIME_LIB" <<'PY' || fail "the game in a terminal: see above"
import os, pty, select, subprocess, sys, time
work, torvel, faketime = sys.argv[1:4]
pid, terminal = pty.fork()
if pid == 0:
    os.chdir(work + "/bin")
    os.environ.update(LD_PRELOAD=faketime, FAKETIME="+0 x4")
    os.execv(torvel, [torvel])
said = b""
deadline = time.time() + 60
while b"Joystick support is enabled and" not in said:
    if time.time() > deadline or not select.select([terminal], [], [], 1)[0] and os.waitpid(pid, os.WNOHANG)[0]:
        sys.exit("no start in the terminal: %r" % said)
    try:
        said += os.read(terminal, 4096)
    except OSError:
        sys.exit("the terminal closed before the start: %r" % said)
time.sleep(0.5)
subprocess.run(["xdotool", "mousemove", "683", "384", "key", "F9"], check=True)
deadline = time.time() + 20
while b"flyby.wav" not in open(work + "/bin/cAudioEngineLog.html", "rb").read():
    if time.time() > deadline:
        sys.exit("no jet in the sky within 20 s of F9")
    if os.waitpid(pid, os.WNOHANG)[0]:
        sys.exit("the game ended during the round")
    time.sleep(0.2)
time.sleep(0.5)
os.close(terminal)
deadline = time.time() + 30
while True:
    done, status = os.waitpid(pid, os.WNOHANG)
    if done:
        break
    if time.time() > deadline:
        os.kill(pid, 9)
        sys.exit("the game did not end within 30 s of its terminal closing")
    time.sleep(0.1)
with open(work + "/status", "w") as out:
    out.write(str(os.waitstatus_to_exitcode(status)))
PY
    GAME_STATUS=$(cat "$WORK/status")
    : >"$WORK/err.txt"
    ended_as_after_f12
    ;;
  display)
    # An X server of its own, which the test ends.
    displayfile=$WORK/display
    Xvfb -displayfd 3 -screen 0 1600x900x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$displayfile" ] && break; sleep 0.1; done
    [ -s "$displayfile" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$displayfile")"
    start
    play_a_round
    before=$(wc -l <"$WORK/err.txt")
    kill "$xvfb"
    wait "$xvfb" 2>/dev/null || true
    wait_for_exit 30
    [ "$GAME_STATUS" -eq 1 ] || fail "status $GAME_STATUS when the display went"
    after=$(tail -n +"$((before + 1))" "$WORK/err.txt")
    [ "$after" = "torvel: the connection to the display is lost; the game ends" ] || fail "on standard error: $after"
    echo "display: status 1; standard error: $after"
    ;;
  *) fail "no such case: $CASE" ;;
esac
no_crash
table_whole
echo "$CASE: ok, the best rounds whole"
