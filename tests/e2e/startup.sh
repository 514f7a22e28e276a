#!/usr/bin/env bash
# Start, the joystick line, a screenshot that matches the screen, F12, and a
# start without any display.
source "$(dirname "$0")/lib.sh"

# No display: one clear line, status 0.
(cd "$WORK/bin" && env -u DISPLAY "$TORVEL") >"$WORK/out.txt" 2>"$WORK/err.txt" || fail "status $? without a display"
grep -q "^Torvel cannot open its window: no display is set" "$WORK/out.txt" || fail "no message without a display"
[ "$(wc -l <"$WORK/out.txt")" -eq 1 ] || fail "more than one line without a display"

start_game
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
sleep 2

take_screenshot
import -window root -crop 1366x768+0+0 +repage "$WORK/screen.png"

[ "$(identify -format '%wx%h' "$SHOT")" = "1366x768" ] || fail "screenshot is not 1366x768"
level=$SHOT_LEVEL
awk -v l="$level" 'BEGIN { exit !(l > 0.15) }' || fail "screenshot is dark (mean $level)"
# compare answers 1 for pictures that differ at all (the screen shows the
# name of the picture just saved, the picture does not): the measure decides.
diff=$({ compare -metric RMSE "$SHOT" "$WORK/screen.png" null: 2>&1 || true; } | sed -E 's/.*\(([0-9.e-]+)\).*/\1/')
awk -v d="$diff" 'BEGIN { exit !(d < 0.08) }' || fail "screenshot differs from the screen (RMSE $diff)"

start=$SECONDS
press F12
wait_for_exit 10
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after F12"
echo "startup: ok (screenshot mean $level, RMSE to screen $diff, F12 took $((SECONDS - start)) s)"
