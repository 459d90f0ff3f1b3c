# The shipped settings open a 1024 x 768 window titled "Frostmoor"; F3 flips
# the wire frame; Escape ends the game with status 0.
# In wire frame the sand below the horizon becomes lines, with the light blue
# clear colour between them, while the dense far lines still show sand.
source "$(dirname "$0")/lib.sh"

make_run_dir
start_game
wait_window Frostmoor
geometry=$(xdotool getwindowgeometry "$WINDOW" | sed -n 's/.*Geometry: //p')
[ "$geometry" = 1024x768 ] || fail "window is $geometry, expected 1024x768"

sleep 2
window_screenshot window_plain
press F3
wait_line "Wire frame toggled to: 1"
sleep 1
window_screenshot window_wireframe

# Left of the falling ice cubes and the snowman, below the far cacti.
SKY="b>r+0.1 && b>0.7"
plain_sky=$(count_pixels window_plain 20 480 300 280 "$SKY")
wire_sky=$(count_pixels window_wireframe 20 480 300 280 "$SKY")
# The far ground, left of the rock ring.
wire_sand=$(count_pixels window_wireframe 20 320 600 80 "r>g && g>b && r>0.5")
echo "sky-blue below the horizon: $plain_sky plain, $wire_sky wire frame of 84000;" \
    "sand in the far ground, wire frame: $wire_sand of 48000"
[ "$plain_sky" -lt 800 ] || fail "plain: $plain_sky sky-blue pixels where the sand is"
[ "$wire_sky" -gt 67000 ] || fail "wire frame: only $wire_sky sky-blue pixels between the ground's lines"
[ "$wire_sand" -gt 2000 ] || fail "wire frame: only $wire_sand sand pixels: the ground's lines are missing"

press Escape
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "exit status $status after Escape, expected 0"
[ "$(grep -c 'toggled' "$GAME_OUT")" = 1 ] || fail "expected exactly one switch report"
echo "ok: window, F3 and Escape"
