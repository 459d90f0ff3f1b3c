# A scripted walk to the helicopter at (400, 0, 50) that takes all five ice
# cubes on the way and keeps clear of every cactus and larva. Each cube lies
# in the middle of a straight stretch, so that a key held a little too long
# or too short still passes through it:
#   (0,0) -> (0,-5) -> (70,-5)      through cubes 0 and 1 near (20,-5)
#         -> (115,-50) -> (153,-50) through cube 2 at (119.8,-50)
#         -> (228,25)               through cube 3 at (220,15)
#         -> (258,-5) -> (328,-5)   through cube 4 at (320,-5)
#         -> (385,50) -> helicopter
# The walk takes about 40 s: without the cubes' cooling the snowman would
# melt after 33 s, so a win proves they were taken. The recording of the
# game's sound shows a rising chime at each cube, the rotor growing louder
# and louder to the right on the way in, and the fanfare after the win.
source "$(dirname "$0")/lib.sh"

LEGS=() # where in the recording each stretch of the walk began
# Holds one key, or two together, for a while. One xdotool run presses,
# waits and releases, so a hold lasts what it says however long xdotool takes
# to start on a machine the game keeps busy, and two keys go down and up
# together.
walk() {
    local seconds=$1
    shift
    LEGS+=("$(recorded_seconds)")
    local down=() up=()
    for key in "$@"; do
        down+=(keydown "$key")
        up+=(keyup "$key")
    done
    xdotool "${down[@]}" sleep "$seconds" "${up[@]}"
}

# Bursts of a tone: the times at which its amplitude, in windows of 50 ms,
# rises above $2 after half a second below it, up to $3 seconds.
tone_bursts() {
    sound_tone "$1" 0.05 0 "$3" | awk -v level="$2" '
        ($2 + $3) / 2 > level { if (quiet >= 10 || NR == 1) print $1; quiet = 0; next }
        { quiet++ }'
}

make_run_dir
record_sound
start_game
wait_window Frostmoor

# The physics takes one step a frame at most, so under a slow software
# renderer the cubes land later. Wait until the first two lie on the sand
# in front of the camera: ice-blue pixels where the sand is, seen steadily.
steady=0
for _ in $(seq 1 80); do
    ice=$(count_window_pixels win_first_cubes 340 455 70 55 "b>r+0.08")
    if [ "$ice" -gt 30 ]; then steady=$((steady + 1)); else steady=0; fi
    [ "$steady" -ge 3 ] && break
    sleep 0.3
done
[ "$steady" -ge 3 ] || fail "the first ice cubes never came to rest in view"
walk_start=$(elapsed)
walk_start_rec=$(recorded_seconds)

walk 0.5 a
walk 7 w
walk 4.5 w a
# A little short, as walked: it keeps the next diagonal on cube 3.
walk 3.8 w
screenshot win_walking
walk 7.5 w d
walk 3 w a
walk 7 w
walk 5.5 w d
xdotool keydown w
won=$(wait_end_text win_end_text "$GREEN_TEXT")
won_rec=$(recorded_seconds)
xdotool keyup w
screenshot win_you_won
[ -n "$won" ] || fail "no \"You Won\" by $(elapsed) s"
# The round's time under it, in the same green, smaller.
times=$(count_pixels win_you_won 352 395 320 50 "$GREEN_TEXT")
[ "$times" -gt 100 ] || fail "no time under \"You Won\" ($times green pixels)"
awk -v w="$won" -v s="$walk_start" 'BEGIN { exit !(w - s > 34) }' \
    || fail "won after $won - $walk_start s: too quick to need the ice cubes"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "exit status $status, expected 0"
cp "$REC" "$ARTIFACTS/win_sound.wav"
echo "recording: walk from $walk_start_rec s, won at $won_rec s, stretches from ${LEGS[*]}"

# One chime per cube, each a step higher up the scale than the last, heard
# where the walk passes the cube: cubes 0 and 1 1.8 and 2.2 s into the
# second stretch, cube 2 0.5 s into the fourth, cube 3 6.6 s into the fifth
# and cube 4 6.2 s into the seventh.
expected=("$(awk -v t="${LEGS[1]}" 'BEGIN { print t + 1.84 }')"
          "$(awk -v t="${LEGS[1]}" 'BEGIN { print t + 2.19 }')"
          "$(awk -v t="${LEGS[3]}" 'BEGIN { print t + 0.48 }')"
          "$(awk -v t="${LEGS[4]}" 'BEGIN { print t + 6.6 }')"
          "$(awk -v t="${LEGS[6]}" 'BEGIN { print t + 6.2 }')")
# The fanfare's horns share some of these frequencies: look before it.
last_cube=$(awk -v t="${LEGS[7]}" 'BEGIN { print t + 2 }')
k=0
for hz in 1046.5 1177.3 1308.1 1569.8 1744.2; do
    mapfile -t bursts < <(tone_bursts "$hz" 0.03 "$last_cube")
    echo "chime $k at $hz Hz: ${bursts[*]:-none} (expected near ${expected[$k]})"
    [ "${#bursts[@]}" = 1 ] || fail "chime $k ($hz Hz) rang ${#bursts[@]} times, expected once"
    awk -v b="${bursts[0]}" -v e="${expected[$k]}" 'BEGIN { exit !(b > e - 1.0 && b < e + 1.0) }' \
        || fail "chime $k at ${bursts[0]} s, but cube $k was passed near ${expected[$k]} s"
    k=$((k + 1))
done

# From here the win's moment is the game's own: its fanfare's first horn (C5,
# which no chime has) sounds in the frame that wins. The screen's polls see
# the text later, by seconds on a busy machine.
mapfile -t horn < <(tone_bursts 523.25 0.05 -1)
[ "${#horn[@]}" = 1 ] || fail "the fanfare's first horn sounded ${#horn[@]} times, expected once"
echo "the win heard at ${horn[0]} s, its text seen at $won_rec s of the recording"
won_rec=${horn[0]}

# The rotor's engine drone (55 Hz) grows over the last stretch, and while
# the helicopter stands ahead to the right it is louder on the right.
rotor_at() { # summed left and right amplitude, one second from $1
    sound_tone 55 1 "$1" "$(awk -v t="$1" 'BEGIN { print t + 1 }')" | awk '{ print $2 + $3 }'
}
far=$(rotor_at "$(awk -v t="$won_rec" 'BEGIN { print t - 12 }')")
nearer=$(rotor_at "$(awk -v t="$won_rec" 'BEGIN { print t - 6 }')")
near=$(rotor_at "$(awk -v t="$won_rec" 'BEGIN { print t - 1.5 }')")
echo "rotor: $far, $nearer, $near at 12, 6 and 1.5 s before the win"
awk -v a="$far" -v b="$nearer" -v c="$near" 'BEGIN { exit !(c > 1.3 * b && b > 1.5 * a && c > 0.01) }' \
    || fail "the rotor does not grow louder as the snowman nears"
read -r left right < <(sound_tone 55 1 "${LEGS[6]}" "${LEGS[7]}" | awk '{ l += $2; r += $3 } END { print l, r }')
echo "rotor with the helicopter ahead to the right: left $left, right $right"
awk -v l="$left" -v r="$right" 'BEGIN { exit !(r > 1.3 * l) }' \
    || fail "the rotor is not louder on the right"

# The fanfare ends on a held C6 (1046.5 Hz) after the win.
read -r before after < <(sound_tone 1046.5 0.25 "$(awk -v t="$won_rec" 'BEGIN { print t - 6 }')" -1 |
    awk -v w="$won_rec" '{ a = ($2 + $3) / 2; if ($1 < w - 1) { if (a > b) b = a } else if (a > f) f = a } END { print b, f }')
echo "fanfare: $after after the win, $before before it"
awk -v b="$before" -v a="$after" 'BEGIN { exit !(a > 0.03 && a > 10 * b) }' || fail "no fanfare after the win"
closed=$(elapsed)

# The records keep the win: one round played and won, its time the best,
# and its path from the start to the helicopter at 20 samples a second.
records=$XDG_DATA_HOME/frostmoor/records.txt
read -r best count first last < <(awk '
    $1 == "best" { b = $2 } $1 == "path" { n = $2; at = NR }
    at && NR == at + 1 { f = $1 "," $2 } at && NR == at + n { l = $1 "," $2 }
    END { print b, n, f, l }' "$records")
echo "records: best $best s, $count samples from $first to $last"
grep -qx 'played 1' "$records" && grep -qx 'won 1' "$records" || fail "the records do not hold one round won"
awk -v b="$best" -v s="$walk_start" -v w="$won" 'BEGIN { exit !(b > w - s && b < w) }' ||
    fail "best time $best s, but the walk took from $walk_start s to $won s"
awk -v b="$best" -v n="$count" 'BEGIN { exit !(n >= b * 20 - 2 && n <= b * 20 + 2) }' ||
    fail "$count path samples for a round of $best s"
awk -v f="$first" -v l="$last" 'BEGIN { split(f, a, ","); split(l, b, ",");
    exit !(a[1] == 0 && a[2] == 0 && (b[1] - 400) ^ 2 + (b[2] - 50) ^ 2 < 49) }' ||
    fail "the path runs from $first to $last, not from the start to the helicopter"

# The next start brings the ghost of that run. Its walk began only once the
# cubes had landed, so for its first seconds it stands at the start: a step
# aside (D) shows it there, left of the snowman and the camera.
start_game
wait_window Frostmoor
wait_first_frame
press d 0.6
press p 0.3
wait_line "Pause toggled to: 1"
window_screenshot win_ghost
ghost=$(count_pixels win_ghost 40 480 180 200 "b > 0.62 && b < 0.93 && g > 0.74")
echo "the next round's ghost: $ghost pale pixels where the start lies"
[ "$ghost" -gt 300 ] || fail "no ghost at the start of the next round ($ghost pale pixels)"
press Escape
[ "$(wait_exit 30)" = 0 ] || fail "the next round did not end with status 0"
echo "ok: walk from $walk_start s, won at $won s, closed at $closed s, best $best s, its ghost seen"
