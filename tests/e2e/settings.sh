#!/usr/bin/env bash
# The player's settings, as the game sets, keeps and reads them: through the
# menus, with real clicks and keys, the mouse set to 0.10 degrees a pixel
# with the vertical inverted, and a key of the player's own to fire (a key
# taken refused with what has it); after a restart the view turns twice as
# far and raises where it would lower, the key fires and the old one no
# longer does. Bad lines in the file are one line each on standard error
# while the game plays on and the file stays as it was; a FIFO in the file's
# place is set aside; under a real window manager F11 makes the window the
# screen's size, with the HUD, sight and invitation placed for it, and keeps
# the choice; F11 again gives the window back at 1366 x 768.
#
# TORVEL_OPTIONS_OUT=FILE: a capture of the Options screen.
source "$(dirname "$0")/lib.sh"

export XDG_CONFIG_HOME=$WORK/config
SETTINGS=$XDG_CONFIG_HOME/torvel/settings
mkdir -p "$XDG_CONFIG_HOME/torvel"

# shift_y BEFORE AFTER: how far the view moved up or down between two
# captures, in pixels (positive: down), as shift_x does it sideways. Read in
# a strip on the left, clear of the HUD, the boxes in the middle and the guns.
shift_y() {
  row_levels() { convert "$1" -crop 280x600+40+100 +repage -colorspace Gray -scale 1x600! -depth 8 txt:- | awk -F'[(),]' 'NR > 1 { print $3 }'; }
  row_levels "$1" >"$WORK/rows-before.txt"
  row_levels "$2" >"$WORK/rows-after.txt"
  awk 'NR == FNR { a[FNR - 1] = $1; n = FNR; next } { b[FNR - 1] = $1 }
       END {
         best = 0; bestCost = -1
         for (s = -300; s <= 300; s++) {
           cost = 0; count = 0
           for (y = 0; y < n; y++) { z = y + s; if (z < 0 || z >= n) continue; d = a[y] - b[z]; cost += d < 0 ? -d : d; count++ }
           if (count < 200) continue
           cost /= count
           if (bestCost < 0 || cost < bestCost) { bestCost = cost; best = s }
         }
         print best
       }' "$WORK/rows-before.txt" "$WORK/rows-after.txt"
}
# wait_for_size SIZE: up to 10 s for the window manager to give the window that size.
wait_for_size() {
  local _
  for _ in $(seq 50); do
    [ "$(window_size)" = "$1" ] && return 0
    sleep 0.2
  done
  return 1
}
# wait_for_box GEOMETRY PATTERN SECONDS: until that part of the screen reads PATTERN (grep -E)
wait_for_box() {
  local deadline=$((SECONDS + $3))
  while :; do
    capture "$WORK/box-now.png"
    BOX_TEXT=$(read_box "$WORK/box-now.png" "$1" || true)
    grep -qE "$2" <<<"$BOX_TEXT" && return 0
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.3
  done
}
settings_lines() { grep -cF "$SETTINGS" "$WORK/err.txt" || true; }
window_size() { xwininfo -id "$(xdotool search --classname '^torvel$' | head -n1)" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
quit_game() {
  press F12
  wait_for_exit 20
  [ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after F12"
}

# 1. Through the menus: Esc opens the invitation's menu and frees the
# pointer; a click on Options opens them.
start_game
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
sleep 1
xdotool mousemove 683 384
wait_for_hud "RNDS REMAIN: 80" 10
press Escape
sleep 0.5
xdotool mousemove 626 444
sleep 0.5
[ "$(xdotool getmouselocation | cut -d' ' -f1-2)" = "x:626 y:444" ] || fail "in the menu the pointer is held: $(xdotool getmouselocation)"
xdotool click 1
wait_for_box 300x40+533+165 OPTIONS 10 || fail "a click on Options opened no Options screen"
# The sensitivity's row is chosen first: five steps right of 0.05. Invert
# vertical by a click on its box; Fire's first key by a click and F; F
# again for Reload is refused.
xdotool key Right Right Right Right Right
xdotool mousemove 482 244 click 1
xdotool mousemove 939 337 click 1
sleep 0.3
xdotool key f
xdotool mousemove 939 368 click 1
sleep 0.3
xdotool key f
wait_for_box 800x34+283+524 "F ?is taken ?by Fire" 10 || fail "the clash was not refused with its holder: '$BOX_TEXT'"
cp "$WORK/box-now.png" "$WORK/options-set.png"
[ -z "${TORVEL_OPTIONS_OUT:-}" ] || cp "$WORK/options-set.png" "$TORVEL_OPTIONS_OUT"
grep -q "0.10" <<<"$(read_box "$WORK/options-set.png" 120x30+610+198 || true)" || fail "the sensitivity does not read 0.10"
grep -qx 'mouse_sensitivity = 0.1' "$SETTINGS" && grep -qx 'invert_vertical = yes' "$SETTINGS" &&
  grep -qx 'key_fire = F' "$SETTINGS" && grep -qx 'key_reload = R' "$SETTINGS" ||
  fail "the settings were not kept as set: $(cat "$SETTINGS" 2>&1)"
# Esc back to the menu, Esc to play: the pointer is held again. Then the
# menu once more, and Quit by the keys.
press Escape
sleep 0.3
press Escape
sleep 1
pointer_centred || fail "back in play the pointer is not held: $(xdotool getmouselocation)"
press Escape
sleep 0.3
xdotool key Down Down Down Return
wait_for_exit 20
[ "$GAME_STATUS" -eq 0 ] || fail "exit status $GAME_STATUS after Quit"

# After a restart: the mouse at 0.10, inverted, and F fires.
start_game
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
sleep 1
xdotool mousemove 683 384
wait_for_hud "RNDS REMAIN: 80" 10
[ "$(settings_lines)" -eq 0 ] || fail "a good file was complained of: $(cat "$WORK/err.txt")"
capture "$WORK/before-mouse.png"
xdotool mousemove_relative -- 100 0
sleep 1
capture "$WORK/after-mouse.png"
# Twice the 46 to 62 pixels of 0.05 degrees a pixel.
across=$(shift_x "$WORK/before-mouse.png" "$WORK/after-mouse.png")
[ "$across" -le -85 ] && [ "$across" -ge -130 ] || fail "100 px of mouse to the right moved the sky by $across px, not about -100"
# Pulled back (down), an inverted mouse raises the guns: the view goes up, the land down.
xdotool mousemove_relative -- 0 100
sleep 1
capture "$WORK/after-raise.png"
down=$(shift_y "$WORK/after-mouse.png" "$WORK/after-raise.png")
[ "$down" -ge 60 ] || fail "100 px of mouse back, inverted, moved the view by $down px, not up by about 90"
press space
sleep 1
wait_for_hud "RNDS REMAIN: 80" 2 # Space no longer fires
press f
wait_for_hud "RNDS REMAIN: 64" 20
quit_game
grep -qx 'mouse_sensitivity = 0.1' "$SETTINGS" || fail "the file was written over: $(cat "$SETTINGS")"

# 2. Bad lines: one line each, and the game plays on the rest. Fullscreen
# as the file has it, but --windowed holds for this run (with no window
# manager the game would cover the screen itself).
printf 'torvel-settings 1\nmouse_sensitivity = 0.5\neffects_volume = 250\nvsync = yes\nfullscreen = yes\nkey_fire = Q\nkey_reload = Q\ninvert_vertical = ye' >"$SETTINGS"
cp "$SETTINGS" "$WORK/bad-lines"
(cd "$WORK/bin" && exec "$TORVEL" --windowed) >"$WORK/out.txt" 2>"$WORK/err.txt" &
GAME_PID=$!
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
sleep 1
[ "$(window_size)" = "1366x768" ] || fail "--windowed over fullscreen = yes, the window is $(window_size)"
xdotool mousemove 683 384
wait_for_hud "RNDS REMAIN: 80" 10
[ "$(settings_lines)" -eq 5 ] || fail "five bad lines, not five messages: $(cat "$WORK/err.txt")"
for said in 'mouse_sensitivity = "0.5"' 'effects_volume = "250"' 'unknown setting vsync' \
  'key_reload = Q is refused: Q is taken by key_fire; it stays at R' 'invert_vertical = "ye"'; do
  grep -qF "$said" "$WORK/err.txt" || fail "no line '$said': $(cat "$WORK/err.txt")"
done
press q
wait_for_hud "RNDS REMAIN: 64" 20
quit_game
cmp -s "$SETTINGS" "$WORK/bad-lines" || fail "the file with bad lines was changed"

# 3. Under a window manager, with a FIFO where the file should be.
openbox >/dev/null 2>&1 &
WM_PID=$!
trap 'kill "$WM_PID" 2>/dev/null || true; cleanup' EXIT
# The window manager is up once it names its window on the root.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
rm "$SETTINGS"
mkfifo "$SETTINGS"
start_game
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
sleep 2
[ "$(window_size)" = "1366x768" ] || fail "the window starts at $(window_size)"
[ "$(settings_lines)" -eq 1 ] && grep -qF "kept it as $SETTINGS.bad" "$WORK/err.txt" ||
  fail "the FIFO was not set aside in one line: $(cat "$WORK/err.txt")"
[ -p "$SETTINGS.bad" ] || fail "the FIFO is not kept as settings.bad"
press F11
wait_for_size 1600x900 || fail "fullscreen, the window is $(window_size), not the screen's 1600x900"
# Asked of the window manager, not moved over the screen by the game itself.
xprop -id "$(xdotool search --classname '^torvel$' | head -n1)" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN ||
  fail "the window manager was not asked for fullscreen"
sleep 1
grep -qx 'fullscreen = yes' "$SETTINGS" || fail "fullscreen was not kept: $(cat "$SETTINGS" 2>&1)"
import -window root "$WORK/fullscreen.png"
hud_text "$WORK/fullscreen.png" | grep -q "RNDS REMAIN: 80" || fail "no HUD in the top left corner, fullscreen"
# The invitation in the middle of the larger screen.
# (its first two lines: the menu's keys below read less well beside the controls)
read_box "$WORK/fullscreen.png" 240x50+680+430 | grep -qE "start a ?round" || fail "no invitation in the middle, fullscreen"
# Kept across a start: the game comes back fullscreen.
quit_game
start_game
wait_for_line "Joystick support is enabled and 0 joystick(s) are present." 30
wait_for_size 1600x900 || fail "started again, the window is $(window_size), not fullscreen as kept"
# The sight at the screen's centre: its amber ring crosses the row and the
# column through the centre 118 pixels out, where the window's old centre
# has none. It shows once a round has taken the invitation's place.
press F9
sleep 1
import -window root "$WORK/fullscreen-round.png"
amber() { convert "$WORK/fullscreen-round.png" -crop 1x1+"$1"+"$2" +repage -format '%[fx:r > 0.6 && b < 0.5 ? 1 : 0]' info:; }
sight=0
for at in "800 332" "800 568" "682 450" "918 450"; do
  # shellcheck disable=SC2086 # x and y
  for d in -2 -1 0 1 2; do set -- $at; [ "$(amber $(($1 + (d * ($2 != 450)))) $(($2 + (d * ($2 == 450)))))" = 1 ] && { sight=$((sight + 1)); break; }; done
done
[ "$sight" -ge 3 ] || fail "the sight's ring is not round the screen's centre ($sight of 4 points amber)"
press F11
wait_for_size 1366x768 || fail "back from fullscreen, the window is $(window_size)"
grep -qx 'fullscreen = no' "$SETTINGS" || fail "the window was not kept: $(cat "$SETTINGS")"
quit_game
echo "settings: ok (100 px of mouse at 0.10: $across px across, $down px down inverted; fullscreen 1600x900 and back to 1366x768)"
