# Mouse look. With [camera] free on, moving the mouse 100 pixels up raises
# the view by 10 degrees, so the horizon drops some 160 rows in the picture;
# moving it 100 pixels right turns the view towards +Z, so the rock ring on
# the right slides into the middle. With free off the same motions leave the
# picture as it was.
source "$(dirname "$0")/lib.sh"

# Rows of sand in a strip on the left, below the temperature text and away
# from the ice cubes that fall in front of the camera.
sand_rows() {
    local sand
    sand=$(count_window_pixels "$1" 100 60 80 700 "r>g && g>b && r>0.5") || return
    echo $((sand / 80))
}
# Dark rock chips in the sky in the middle, left of where the ring starts.
rock_pixels() {
    count_window_pixels "$1" 460 60 140 240 "r<0.5 && b<0.4"
}

# Polls a measure of a screenshot for up to 10 s until it passes a test
# (operator, value); prints its last value.
poll() {
    local measure=$1 shot=$2 op=$3 limit=$4 value end=$((SECONDS + 10))
    while :; do
        [ -f "$GAME_STATUS_FILE" ] && fail "the game ended while $shot was awaited"
        value=$("$measure" "$shot")
        test "$value" "$op" "$limit" || [ "$SECONDS" -ge "$end" ] && break
        sleep 0.2
    done
    echo "$value"
}

look() {
    local free=$1
    sed -i "s/^free = .*/free = $free/" "$RUN/settings.ini"
    # Where the game centres the pointer, whatever an earlier test left.
    xdotool mousemove 512 384
    start_game
    wait_window Frostmoor
    level=$(poll sand_rows "look_${free}_level" -ge 400)
    [ "$level" -ge 400 ] || fail "free=$free: the view does not start level ($level rows of sand)"
    rocks=$(rock_pixels "look_${free}_ahead")
    # The game takes its first pointer report as the starting point, not as
    # a motion; a one-pixel nudge there and back uses it up.
    xdotool mousemove_relative -- 1 0
    sleep 0.3
    xdotool mousemove_relative -- -1 0
    sleep 0.3

    xdotool mousemove_relative -- 0 -100
    if [ "$free" = true ]; then
        raised=$(poll sand_rows "look_${free}_up" -lt $((level - 40)))
    else
        sleep 1.5 # nothing to wait for: give it a good many frames
        raised=$(sand_rows "look_${free}_up")
    fi
    xdotool mousemove_relative -- 100 100
    if [ "$free" = true ]; then
        turned=$(poll rock_pixels "look_${free}_right" -gt 3000)
    else
        sleep 1.5
        turned=$(rock_pixels "look_${free}_right")
    fi

    press Escape
    status=$(wait_exit 30)
    [ "$status" = 0 ] || fail "free=$free: exit status $status, expected 0"
    echo "free=$free: sand rows $level, after up $raised; rock pixels $rocks, after right $turned"
}

make_run_dir
look true
drop=$((level - raised))
[ "$drop" -ge 120 ] && [ "$drop" -le 210 ] \
    || fail "moving the mouse up 100 pixels dropped the horizon $drop rows, expected about 160"
[ "$rocks" -lt 100 ] && [ "$turned" -gt 3000 ] \
    || fail "moving the mouse right did not bring the rock ring in: $rocks then $turned dark pixels"

look false
[ $((level - raised)) -le 2 ] && [ $((raised - level)) -le 2 ] \
    || fail "free=false: the horizon moved from $level to $raised rows"
[ $((turned - rocks)) -le 50 ] || fail "free=false: the rock ring moved in: $rocks then $turned dark pixels"
echo "ok: the mouse turns the free camera and leaves the fixed one alone"
