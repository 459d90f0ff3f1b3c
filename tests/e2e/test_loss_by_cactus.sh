# Walking into the nearest cactus, (4.2, -25.9) from the start at the origin,
# shows "Game Over"; the game then closes by itself about 4 seconds later.
# The melt is heard between the first step and the "Game Over".
source "$(dirname "$0")/lib.sh"

make_run_dir
record_sound
start_game
wait_window Frostmoor
wait_first_frame
walk_rec=$(recorded_seconds)
touched=$(walk_into_cactus cactus_end_text)
touched_rec=$(recorded_seconds)
[ -n "$touched" ] || fail "no red \"Game Over\" on the screen by $(elapsed) s"
# The heat alone would take over 33 s.
awk -v t="$touched" 'BEGIN { exit !(t < 25) }' || fail "\"Game Over\" at $touched s: lost by heat, not by touch"
screenshot cactus_game_over
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "exit status $status, expected 0"
ended=$(elapsed)
awk -v t="$touched" -v e="$ended" 'BEGIN { exit !(e - t >= 2.5 && e - t <= 8.0) }' \
    || fail "shown at $touched s, closed at $ended s: not about 4 s later"
# The melt's long hiss: at least 0.4 s above 4 kHz louder than any step.
melt=$(sound_hiss 4000 0.1 0 -1 | awk '
    ($2 + $3) / 2 <= 0.009 { run = 0; next }
    run++ == 0 { start = $1 }
    run == 4 { print start; exit }')
cp "$REC" "$ARTIFACTS/cactus_sound.wav"
echo "recording: walk from $walk_rec s, melt at ${melt:-none} s, Game Over seen at $touched_rec s"
[ -n "$melt" ] || fail "no melt in the recording"
awk -v m="$melt" -v w="$walk_rec" -v t="$touched_rec" 'BEGIN { exit !(m > w && m < t + 0.3) }' \
    || fail "the melt at $melt s does not follow the touch (walk from $walk_rec s, end text at $touched_rec s)"
echo "ok: \"Game Over\" at $touched s, game closed at $ended s"
