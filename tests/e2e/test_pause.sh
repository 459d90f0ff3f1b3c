# P stops the game's clock: with the rock ring turning, two pictures three
# seconds apart are the same, no sound plays, and the heat loss comes later
# by the length of the pause. Paused during the end screen, the game waits;
# Escape still quits.
source "$(dirname "$0")/lib.sh"

make_run_dir
record_sound
start_game
wait_window Frostmoor
window=$(elapsed)
wait_first_frame
shown=$(elapsed)
press F7
wait_line "Particle animation toggled to 1"
window_screenshot pause_turning_first
sleep 1
window_screenshot pause_turning_second
turned=$(picture_difference pause_turning_first pause_turning_second)
[ "$turned" -gt 1000 ] || fail "the rock ring does not turn ($turned pixels changed in 1 s)"

press p 0.3
wait_line "Pause toggled to: 1"
paused_at=$(since_start "$(written_at "$GAME_OUT")")
paused_rec=$(recorded_seconds)
window_screenshot pause_first
sleep 3
window_screenshot pause_second
differ=$(picture_difference pause_first pause_second)
[ "$differ" = 0 ] || fail "the paused picture changed: $differ pixels in 3 s"
white=$(count_pixels pause_first 432 344 160 60 "r>0.9 && g>0.9 && b>0.9")
[ "$white" -gt 300 ] || fail "no \"Paused\" on the middle of the window ($white white pixels)"
sleep 5
resumed_rec=$(recorded_seconds)
press p 0.3
wait_line "Pause toggled to: 0"
pause=$(awk -v a="$paused_at" -v b="$(since_start "$(written_at "$GAME_OUT")")" 'BEGIN { printf "%.1f", b - a }')
read -r peak _ <<<"$(sound_level "$(awk -v t="$paused_rec" 'BEGIN { print t + 0.3 }')" "$resumed_rec")"
awk -v p="$peak" 'BEGIN { exit !(p < 1e-6) }' || fail "sound while paused (peak $peak)"

# Melted by the heat alone: about 33 s of play, plus the pause.
over=$(wait_end_text pause_heat_end "$RED_TEXT")
[ -n "$over" ] || fail "no \"Game Over\" by $(elapsed) s"
played=$(awk -v o="$over" -v w="$window" -v s="$shown" -v p="$pause" 'BEGIN { printf "%.1f to %.1f", o - s - p, o - w - p }')
echo "window at $window s, first frame seen at $shown s, paused for $pause s, Game Over at $over s: $played s of play"
melted_on_time "$over" "$window" "$shown" "$pause" ||
    fail "$played s of play to the heat loss, not about 33"

press p 0.3
wait_line "Pause toggled to: 1" 5
sleep 6
[ ! -f "$GAME_STATUS_FILE" ] || fail "the end screen ran on while paused"
press Escape
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "exit status $status after Escape while paused"
echo "ok: paused $pause s, melted after $played s of play, Escape while paused"
