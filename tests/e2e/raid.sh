#!/usr/bin/env bash
# An air raid left alone, with the game's clock running fast: the invitation
# names F8, F8 starts raid 42 (given on the command line, so that its course
# is known), "WAVE 1" and the armour show, the view is turned onto the first
# bomber's stick of bombs and onto the first attacker's run as the planner
# says they come, the gun position is lost within a few waves, the panel
# says so, the raid is in the table of best raids with its number, and the
# game exits 0. A malformed command line gets the usage line and status 2.
#
# TORVEL_RAID_BOMBS_OUT=FILE and TORVEL_RAID_ATTACK_OUT=FILE keep the game's
# own frames of the stick and of the run there.
source "$(dirname "$0")/lib.sh"
PLANNER=$3
# keep: with TORVEL_RAID_KEEP=DIR, every frame taken and the game's output go there, passed or failed
keep() { [ -z "${TORVEL_RAID_KEEP:-}" ] || cp "$WORK"/*.png "$WORK/out.txt" "$TORVEL_RAID_KEEP"/ 2>/dev/null || true; }
eval "$(declare -f fail | sed '1,2s/{/{ keep;/')"
SPEED=10    # game milliseconds per real millisecond
NUMBER=42

# A bad command line: one line on standard error, status 2, no window.
status=0
"$TORVEL" --raid 12x >"$WORK/bad-out.txt" 2>"$WORK/bad-err.txt" || status=$?
[ "$status" -eq 2 ] || fail "status $status for a malformed raid number"
[ "$(wc -l <"$WORK/bad-err.txt")" -eq 1 ] && grep -q '^torvel: .*; usage: torvel' "$WORK/bad-err.txt" ||
  fail "not one usage line: $(cat "$WORK/bad-err.txt")"

read -r _ BOMBS_X BOMBS_Y BOMBS_AT < <("$PLANNER" view "$NUMBER" bombs) || fail "no view of the bombs"
read -r _ ATTACK_X ATTACK_Y ATTACK_AT < <("$PLANNER" view "$NUMBER" cannon) || fail "no view of the attacker"
read -r _ LOST_AT WAVES < <("$PLANNER" lost "$NUMBER") || fail "the raid is never lost"
echo "bombs at $BOMBS_AT ms ($BOMBS_X, $BOMBS_Y), attacker at $ATTACK_AT ms ($ATTACK_X, $ATTACK_Y), lost at $LOST_AT ms after $WAVES waves"

(cd "$WORK/bin" && exec env LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x$SPEED" "$TORVEL" --raid "$NUMBER") \
  >"$WORK/out.txt" 2>"$WORK/err.txt" &
GAME_PID=$!
wait_for_line "Joystick support is enabled and" 60
sleep 1
shoot invitation
invitation_text "$WORK/invitation.png" | grep -q 'F8: air raid' || fail "no F8 in the invitation: $(invitation_text "$WORK/invitation.png")"

press F8
START=$(now_ms)
# later GAME_MS: the real moment that long after F8
later() { echo $((START + $1 / SPEED)); }
sleep_until "$(later 1500)"
shoot wave
hud=$(read_box "$WORK/wave.png" 300x100+0+0)
# (a 1 before two 0s is read as l or L at times)
grep -qE 'ARMOUR: [1lLI]00' <<<"$hud" || fail "no armour on the HUD: $hud"
read_text "$WORK/wave.png" 300x24+533+242 50% | grep -q "WAVE 1" || fail "no WAVE 1 banner"

sleep_until "$(later $((BOMBS_AT - 20000)))"
mouse "$BOMBS_X" "$BOMBS_Y" || fail "the game did not take the mouse's move"
sleep_until "$(later "$BOMBS_AT")"
shoot bombs
sleep_until "$(later $((ATTACK_AT - 20000)))"
mouse $((ATTACK_X - BOMBS_X)) $((ATTACK_Y - BOMBS_Y)) || fail "the game did not take the mouse's move"
sleep_until "$(later "$ATTACK_AT")"
shoot attack
# Something dark of each stands out against the sky above the guns.
for view in bombs attack; do
  dark=$(convert "$WORK/$view.png" -crop 900x300+233+100 +repage -colorspace Gray -threshold 30% -negate \
    -format '%[fx:mean*w*h]' info:)
  [ "${dark%.*}" -gt 40 ] || fail "nothing dark in the $view view ($dark pixels)"
done
[ -z "${TORVEL_RAID_BOMBS_OUT:-}" ] || cp "$WORK/bombs.png" "$TORVEL_RAID_BOMBS_OUT"
[ -z "${TORVEL_RAID_ATTACK_OUT:-}" ] || cp "$WORK/attack.png" "$TORVEL_RAID_ATTACK_OUT"

# The panel stays 15 s of game time.
sleep_until "$(later $((LOST_AT + 3000)))"
shoot lost
panel=$(read_box "$WORK/lost.png" 700x300+333+234 600x260+383+254)
grep -q 'GUN POSITION LOST' <<<"$panel" || fail "no panel: $panel"
grep -q "WAVES SURVIVED: $WAVES" <<<"$panel" || fail "not $WAVES waves survived: $panel"
grep -qE "^[0-9]+ $WAVES $NUMBER [0-9]+$" "$WORK/data/torvel/raids" || fail "no entry: $(cat "$WORK/data/torvel/raids")"

press F12
wait_for_exit 30
[ "$GAME_STATUS" -eq 0 ] || fail "status $GAME_STATUS"
echo "raid $NUMBER: lost after $WAVES waves, as planned; entry kept"
keep
