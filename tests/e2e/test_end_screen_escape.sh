# Escape still quits while "Game Over" is up: the game ends with status 0
# at once, not when the end screen's 4 seconds have run out.
source "$(dirname "$0")/lib.sh"

make_run_dir
start_game
wait_window Frostmoor
wait_first_frame
shown=$(walk_into_cactus escape_end_text)
[ -n "$shown" ] || fail "no red \"Game Over\" on the screen by $(elapsed) s"
xdotool keydown Escape
status=$(wait_exit 30)
ended=$(elapsed)
xdotool keyup Escape
[ "$status" = 0 ] || fail "exit status $status after Escape, expected 0"
# The text was seen within a poll (well under a second) of its appearance,
# so the end screen alone would have lasted over 3 s more.
awk -v s="$shown" -v e="$ended" 'BEGIN { exit !(e - s <= 2.0) }' \
    || fail "\"Game Over\" seen at $shown s, Escape pressed, game ended only at $ended s"
echo "ok: \"Game Over\" seen at $shown s, Escape pressed, game ended at $ended s"
