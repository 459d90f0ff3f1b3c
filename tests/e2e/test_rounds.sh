# Play again: lose to a cactus, press Enter, and the new round starts as the
# first did, in the same window; it plays on past four seconds, and a second
# loss without a press closes the game four seconds later, status 0.
source "$(dirname "$0")/lib.sh"

make_run_dir
start_game
wait_window Frostmoor
wait_first_frame
sleep 1
window_screenshot rounds_first_start

[ -n "$(walk_into_cactus rounds_first_end)" ] || fail "no \"Game Over\" by $(elapsed) s"
# The new round drops the cubes again: paused a moment after Enter, they
# are high in the air, not on the sand where the first round left them.
second_round=$(date +%s.%N)
xdotool keydown Return sleep 0.3 keyup Return keydown p sleep 0.3 keyup p
wait_line "New round: 2"
wait_line "Pause toggled to: 1"
dropped=$(count_window_pixels rounds_second_drop 340 455 70 55 "b>r+0.08")
[ "$dropped" -lt 30 ] || fail "the new round did not drop the cubes again ($dropped pixels on the sand)"
press p 0.3
wait_line "Pause toggled to: 0"
sleep 0.7
window_screenshot rounds_second_start
# The ice cubes fall with the frames' steps, so they may lie a little
# differently; the snowman, the camera, the texts and the sky may not. The
# cubes alone made up to 4,219 pixels on a machine loaded by two suites and
# two busy loops; the snowman moved aside makes tens of thousands.
differ=$(picture_difference rounds_first_start rounds_second_start)
echo "the second round a second in: $differ pixels differ from the first's"
[ "$differ" -lt 8000 ] || fail "the new round does not start as the first did ($differ pixels differ)"

sleep 4.5
[ ! -f "$GAME_STATUS_FILE" ] || fail "the game closed during the second round"
[ -z "$(walk_into_cactus rounds_second_end "$second_round")" ] && fail "no \"Game Over\" in the second round by $(elapsed) s"
over=$(elapsed)
status=$(wait_exit 30)
ended=$(elapsed)
[ "$status" = 0 ] || fail "exit status $status, expected 0"
shown=$(end_screen_seconds)
awk -v d="$shown" 'BEGIN { exit !(d >= 3.8 && d <= 8.0) }' ||
    fail "Game Over for $shown s before the game closed: not about 4 s"
[ "$(cat "$GAME_OUT")" = "$(printf 'New round: 2\nPause toggled to: 1\nPause toggled to: 0')" ] ||
    fail "unexpected output: $(cat "$GAME_OUT")"
echo "ok: a new round after Enter, the second Game Over seen at $over s, shown $shown s, closed at $ended s"
