# Walking into the nearest cactus, (4.2, -25.9) from the start at the origin,
# shows "Game Over"; the game then closes by itself about 4 seconds later.
source "$(dirname "$0")/lib.sh"

make_run_dir
start_game
wait_window Frostmoor
sleep 3
press w 0.42
xdotool keydown a
touched=$(wait_end_text cactus_end_text "$RED_TEXT")
xdotool keyup a
[ -n "$touched" ] || fail "no red \"Game Over\" on the screen by $(elapsed) s"
screenshot cactus_game_over
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "exit status $status, expected 0"
ended=$(elapsed)
awk -v t="$touched" -v e="$ended" 'BEGIN { exit !(e - t >= 2.5 && e - t <= 8.0) }' \
    || fail "shown at $touched s, closed at $ended s: not about 4 s later"
echo "ok: \"Game Over\" at $touched s, game closed at $ended s"
