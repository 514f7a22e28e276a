#!/usr/bin/env bash
# An air raid played with the mouse and the trigger, with the game's clock
# running fast: the invitation names F8, F8 starts raid 43 (given on the
# command line, so that its course is known), "WAVE 1" and the armour show;
# then every fighter of waves 1 and 2 is shot down as the planner says, the
# HUD in the "WAVE 3" banner shows the points and the multiplier, a bomb of
# the first bomber's stick is shot down, the view is turned onto the first
# attacker's run, and the raid, left alone, loses the gun position. The
# panel says so, with the eight fighters downed, the raid is in the table of
# best raids with its number, and the game exits 0. A malformed command line
# gets the usage line and status 2.
#
# TORVEL_RAID_BOMBS_OUT=FILE and TORVEL_RAID_ATTACK_OUT=FILE keep the game's
# own frames of the stick and of the run there.
source "$(dirname "$0")/lib.sh"
PLANNER=$3
# keep: with TORVEL_RAID_KEEP=DIR, every frame taken and the game's output go there, passed or failed
keep() { [ -z "${TORVEL_RAID_KEEP:-}" ] || cp "$WORK"/*.png "$WORK/out.txt" "$TORVEL_RAID_KEEP"/ 2>/dev/null || true; }
eval "$(declare -f fail | sed '1,2s/{/{ keep;/')"
SPEED=5     # game milliseconds per real millisecond: at 10 a slow frame would outrun the 15 steps of aiming and rounds it may make up
NUMBER=43

# A bad command line: one line on standard error, status 2, no window.
status=0
"$TORVEL" --raid 12x >"$WORK/bad-out.txt" 2>"$WORK/bad-err.txt" || status=$?
[ "$status" -eq 2 ] || fail "status $status for a malformed raid number"
[ "$(wc -l <"$WORK/bad-err.txt")" -eq 1 ] && grep -q '^torvel: .*; usage: torvel' "$WORK/bad-err.txt" ||
  fail "not one usage line: $(cat "$WORK/bad-err.txt")"

"$PLANNER" plan "$NUMBER" >"$WORK/plan.txt" || fail "no plan for raid $NUMBER"
read -r _ CLEARED_AT LEAST MOST MULTIPLIER < <(grep '^cleared ' "$WORK/plan.txt")
read -r _ LOST_AT WAVES < <(grep '^lost ' "$WORK/plan.txt")
echo "plan: $(grep -c '^fire ' "$WORK/plan.txt") bursts; $LEAST to $MOST points and x$MULTIPLIER in the WAVE 3 banner;" \
  "lost at $LOST_AT ms after $WAVES waves"

(cd "$WORK/bin" && exec env LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x$SPEED" "$TORVEL" --raid "$NUMBER") \
  >"$WORK/out.txt" 2>"$WORK/err.txt" &
GAME_PID=$!
wait_for_line "Joystick support is enabled and" 60
sleep 1
shoot invitation
invitation_text "$WORK/invitation.png" | grep -q 'F8: air raid' || fail "no F8 in the invitation: $(invitation_text "$WORK/invitation.png")"

# The moment of F8 is taken before its xdotool starts, as each burst's is:
# starting one takes tens of ms, a good part of a second of game time.
xdotool mousemove 683 384
START=$(now_ms)
xdotool key F8
# later GAME_MS: the real moment that long after F8
later() { echo $((START + $1 / SPEED)); }
sleep_until "$(later 1500)"
# (kept and read once the gunner's part is done: that takes seconds)
xdotool key t
FRAMES=(wave)   # the frames asked for, in order: the game names each after its time

# The gunner's part, in order of time (and how late, in game ms, the latest
# burst was pressed). The keys go to the game as they are,
# the pointer held at its centre.
LATEST=0
while read -r what at rest; do
  sleep_until "$(later "$at")"
  late=$((($(now_ms) - $(later "$at")) * SPEED))
  [ "$what" != fire ] || [ "$late" -le "$LATEST" ] || LATEST=$late
  [ "$late" -lt 1000 ] || echo "($what at $at ms came $late ms late)"
  case $what in
    turn) mouse $rest || fail "the game did not take the mouse's move at $at ms" ;;
    fire) xdotool key space ;;
    reload) xdotool key r ;;
    look) xdotool key t; FRAMES+=("${rest%% *}") ;;
    cleared) xdotool key t; FRAMES+=(cleared) ;;
  esac
done < <(grep -E '^(turn|fire|reload|look|cleared) ' "$WORK/plan.txt" | sort -s -n -k2,2)
echo "the latest burst pressed $LATEST ms of game time late"
for name in "${FRAMES[@]}"; do keep_frame "$name"; done

hud=$(read_box "$WORK/wave.png" 300x100+0+0)
# (a 1 before two 0s is read as l or L at times)
grep -qE 'ARMOUR: [1lLI]00' <<<"$hud" || fail "no armour on the HUD: $hud"
read_text "$WORK/wave.png" 300x24+533+242 50% | grep -q "WAVE 1" || fail "no WAVE 1 banner"

# Waves 1 and 2 cleared: the banner of the third, the points of eight
# fighters at their multipliers and two clean waves, and the multiplier.
read_text "$WORK/cleared.png" 300x24+533+242 50% | grep -q "WAVE 3" || fail "no WAVE 3 banner when planned"
hud=$(read_box "$WORK/cleared.png" 300x125+0+0)
CLEARED_POINTS=$(sed -nE 's/^POINTS: ([0-9]+)$/\1/p' <<<"$hud" | head -1)
[ -n "$CLEARED_POINTS" ] && [ "$CLEARED_POINTS" -ge $((LEAST - 5)) ] && [ "$CLEARED_POINTS" -le $((MOST + 5)) ] ||
  fail "not $LEAST to $MOST points after wave 2: $hud"
grep -qE "^x$MULTIPLIER( |$)" <<<"$hud" || fail "no x$MULTIPLIER on the HUD after wave 2: $hud"

# The attacker's own pixels, dark grey against the sky, in a box about
# where the planner puts it (the kills of waves 1 and 2 move its course by a
# second or so), and not so in the same box mirrored beside the sight.
read -r _ _ _ ATTACK_X ATTACK_Y < <(grep '^look .* attack ' "$WORK/plan.txt")
dark_grey() {
  convert "$WORK/attack.png" -crop "160x100+$(($1 - 80))+$(($2 - 50))" +repage \
    -fx '(luma < 0.45 && b - r < 0.12) ? 1 : 0' -format '%[fx:mean*w*h]' info:
}
here=$(dark_grey "$ATTACK_X" "$ATTACK_Y")
there=$(dark_grey $((1366 - ATTACK_X)) "$ATTACK_Y")
echo "attacker: $here dark grey pixels where it stands, $there on the other side of the sight"
[ "${here%.*}" -ge 12 ] && [ "${there%.*}" -lt $((${here%.*} / 3)) ] || fail "no attacker where planned ($here pixels, $there beside)"
[ -z "${TORVEL_RAID_BOMBS_OUT:-}" ] || cp "$WORK/bombs.png" "$TORVEL_RAID_BOMBS_OUT"
[ -z "${TORVEL_RAID_ATTACK_OUT:-}" ] || cp "$WORK/attack.png" "$TORVEL_RAID_ATTACK_OUT"

# The panel stays 15 s of game time.
sleep_until "$(later $((LOST_AT + 3000)))"
shoot lost
panel=$(read_box "$WORK/lost.png" 700x300+333+234 600x260+383+254)
grep -q 'GUN POSITION LOST' <<<"$panel" || fail "no panel: $panel"
grep -q "WAVES SURVIVED: $WAVES" <<<"$panel" || fail "not $WAVES waves survived: $panel"
grep -q "DOWNED: 8 FIGHTERS" <<<"$panel" || fail "not the eight fighters downed: $panel"
grep -qE "^[0-9]+ $WAVES $NUMBER [0-9]+$" "$WORK/data/torvel/raids" || fail "no entry: $(cat "$WORK/data/torvel/raids")"
# After wave 2 only bombs scored, 250 each.
points=$(grep -E "^[0-9]+ $WAVES $NUMBER " "$WORK/data/torvel/raids" | cut -d' ' -f1)
bombs=$(((points - CLEARED_POINTS) / 250))
[ "$bombs" -ge 1 ] && [ $((CLEARED_POINTS + bombs * 250)) -eq "$points" ] ||
  fail "$points points at the end, $CLEARED_POINTS after wave 2: not bombs shot down"

press F12
wait_for_exit 30
[ "$GAME_STATUS" -eq 0 ] || fail "status $GAME_STATUS"
echo "raid $NUMBER: waves 1 and 2 cleared ($CLEARED_POINTS points, x$MULTIPLIER), $bombs bomb(s) shot down, lost after $WAVES waves; entry kept"
keep
