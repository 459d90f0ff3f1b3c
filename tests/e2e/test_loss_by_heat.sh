# Standing still, the snowman melts: the warning shows above 80 degrees,
# "Game Over" after about 33 seconds of play, and the game then closes by
# itself with status 0.
source "$(dirname "$0")/lib.sh"

make_run_dir
start_game
wait_window Frostmoor
shown=$(elapsed)
sleep 29
screenshot heat_warning
red=$(count_pixels heat_warning $END_TEXT_REGION "$RED_TEXT")
[ "$red" -lt 100 ] || fail "\"Game Over\" shown too early ($red red pixels at $(elapsed) s)"
warning=$(count_pixels heat_warning 300 160 600 80 "r>0.8 && g<0.15 && b<0.15")
[ "$warning" -gt 200 ] || fail "no melting warning above 80 degrees ($warning pixels)"

over=$(wait_end_text heat_end_text "$RED_TEXT" 100)
[ -n "$over" ] || fail "no \"Game Over\" by $(elapsed) s"
screenshot heat_game_over
awk -v o="$over" -v s="$shown" 'BEGIN { exit !(o - s >= 31 && o - s <= 40) }' \
    || fail "\"Game Over\" at $over s, window at $shown s: not about 33 s of play"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "exit status $status, expected 0"
echo "ok: window at $shown s, melted at $over s, closed at $(elapsed) s"
