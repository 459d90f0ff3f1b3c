# Escape still quits while "Game Over" is up: the game ends with status 0
# at once, not when the end screen's 4 seconds have run out.
source "$(dirname "$0")/lib.sh"

make_run_dir
start_game
wait_window Frostmoor
wait_first_frame
# Into the nearest cactus (as walk_into_cactus walks), until the records
# are written: the game does that in the frame that first shows the end
# text (test_loss_by_cactus looks at that text), and a file is seen at once,
# where a screen poll may take seconds.
start_cactus_walk
wait_round_end || true
xdotool keyup w
[ -f "$RECORDS_FILE" ] || fail "no end of the round by $(elapsed) s"
xdotool keydown Escape
status=$(wait_exit 30)
xdotool keyup Escape
[ "$status" = 0 ] || fail "exit status $status after Escape, expected 0"
shown=$(end_screen_seconds)
awk -v d="$shown" 'BEGIN { exit !(d < 3.5) }' ||
    fail "Escape pressed while \"Game Over\" showed, but the game closed only $shown s after it appeared"
echo "ok: \"Game Over\" shown for $shown s, then Escape ended the game"
