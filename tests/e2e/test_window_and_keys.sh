# The shipped settings open a 1024 x 768 window titled "Frostmoor"; F3 flips
# the wire frame; Escape ends the game with status 0.
source "$(dirname "$0")/lib.sh"

make_run_dir
start_game
wait_window Frostmoor
geometry=$(xdotool getwindowgeometry "$WINDOW" | sed -n 's/.*Geometry: //p')
[ "$geometry" = 1024x768 ] || fail "window is $geometry, expected 1024x768"

sleep 2
screenshot window_plain
press F3
wait_line "Wire frame toggled to: 1"
sleep 1
screenshot window_wireframe

press Escape
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "exit status $status after Escape, expected 0"
[ "$(grep -c 'toggled' "$GAME_OUT")" = 1 ] || fail "expected exactly one switch report"
echo "ok: window, F3 and Escape"
