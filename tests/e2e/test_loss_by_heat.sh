# Standing still, the snowman melts: the warning shows above 80 degrees,
# "Game Over" after about 33 seconds of play, and the game then closes by
# itself with status 0.
source "$(dirname "$0")/lib.sh"

make_run_dir
start_game
wait_window Frostmoor
window=$(elapsed)
# The heat counts from the first frame, which a busy machine may take seconds
# to draw; 80 degrees come after 26.7 s of it, "Game Over" after 33.3 s.
wait_first_frame
shown=$(elapsed)
sleep 28
screenshot heat_warning
# The end screen lasts 4 s, so the pixels of the warning are counted after.
over=$(wait_end_text heat_end_text "$RED_TEXT")
[ -n "$over" ] || fail "no \"Game Over\" by $(elapsed) s"
screenshot heat_game_over
red=$(count_pixels heat_warning $END_TEXT_REGION "$RED_TEXT")
[ "$red" -lt 100 ] || fail "\"Game Over\" shown too early ($red red pixels 28 s after the first frame)"
warning=$(count_pixels heat_warning 300 160 600 80 "r>0.8 && g<0.15 && b<0.15")
[ "$warning" -gt 200 ] || fail "no melting warning above 80 degrees ($warning pixels)"
melted_on_time "$over" "$window" "$shown" ||
    fail "\"Game Over\" at $over s, window at $window s, first frame seen at $shown s: not about 33 s of play"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "exit status $status, expected 0"
echo "ok: window at $window s, first frame seen at $shown s, melted at $over s, closed at $(elapsed) s"
