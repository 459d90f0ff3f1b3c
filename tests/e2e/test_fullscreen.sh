# Full screen on the 1280 x 1024 X screen: the window covers the screen, and
# the HUD texts and "Game Over" are laid out for that size, not stretched
# from the 1024 x 768 of settings.ini. A windowed run gives the reference
# sizes: text is drawn in window pixels, so every glyph keeps its size, the
# corner texts keep their distance from their corners and the end text stays
# on the centre, which moves by (128, 128).
source "$(dirname "$0")/lib.sh"

# Plays one game up to "Game Over" and sets, as "x y w h" window pixels, the
# boxes of the temperature text (top left), the FPS text (its left part, top
# right) and the end text; $2 and $3 are the window's size.
play_to_game_over() {
    local mode=$1 width=$2 height=$3
    [ "$mode" = full ] && sed -i 's/^fullscreen = .*/fullscreen = true/' "$RUN/settings.ini"
    # The pointer far from the centre, where the cursor's capture warps it
    # from: the view must still start level.
    xdotool mousemove 10 10
    start_game
    wait_window Frostmoor
    geometry=$(xdotool getwindowgeometry "$WINDOW" | sed -n 's/.*Position: \([0-9,]*\).*/\1/p;s/.*Geometry: //p' | paste -sd' ')
    [ "$geometry" = "0,0 ${width}x${height}" ] || fail "$mode window at $geometry, expected 0,0 ${width}x${height}"

    # A second of frames after the first, so that the frame counter shows.
    wait_first_frame
    sleep 1
    window_screenshot "fullscreen_${mode}_hud"
    # Level: the lowest quarter of the picture is sand, with no sky in it
    # (above the first round's hint along the bottom edge).
    sky=$(count_pixels "fullscreen_${mode}_hud" 0 $((height * 3 / 4)) "$width" $((height / 4 - height / 12)) "b > r + 0.15")
    [ "$sky" -lt 100 ] || fail "$mode: $sky pixels of sky in the lowest quarter: the view starts tilted"
    # "Body Temperature:" and "FPS:" without their numbers, which change.
    temperature_box=$(match_box "fullscreen_${mode}_hud" 0 0 180 40 "$YELLOW_TEXT")
    fps_box=$(match_box "fullscreen_${mode}_hud" $((width - 110)) 0 53 40 "$YELLOW_TEXT")

    END_TEXT_REGION="$((width / 2 - 160)) $((height / 2 - 64)) 320 80"
    [ -n "$(walk_into_cactus "fullscreen_${mode}_end_poll")" ] || fail "$mode: no \"Game Over\" by $(elapsed) s"
    window_screenshot "fullscreen_${mode}_game_over"
    end_box=$(match_box "fullscreen_${mode}_game_over" $((width / 2 - 200)) $((height / 2 - 80)) 400 100 "$RED_TEXT")
    press Escape
    status=$(wait_exit 30)
    [ "$status" = 0 ] || fail "$mode: exit status $status, expected 0"
    echo "$mode: temperature $temperature_box, FPS $fps_box, Game Over $end_box"
}

# Checks "x y w h" against "x y w h" moved by (dx, dy), one pixel of slack.
same_box() {
    local what=$1 got=$2 ref=$3 dx=$4 dy=$5
    read -r gx gy gw gh <<<"$got"
    read -r rx ry rw rh <<<"$ref"
    [ "$got" != none ] && [ "$ref" != none ] || fail "$what: box $got, windowed $ref"
    for d in $((gx - rx - dx)) $((gy - ry - dy)) $((gw - rw)) $((gh - rh)); do
        [ "${d#-}" -le 1 ] || fail "$what at $got, expected the windowed $ref moved by ($dx, $dy)"
    done
}

make_run_dir
play_to_game_over windowed 1024 768
ref_temperature=$temperature_box ref_fps=$fps_box ref_end=$end_box
play_to_game_over full 1280 1024

same_box "temperature text" "$temperature_box" "$ref_temperature" 0 0
same_box "FPS text" "$fps_box" "$ref_fps" 256 0
same_box "Game Over" "$end_box" "$ref_end" 128 128

# Where that puts them on the screen: the texts in the top corners, the
# end text on the middle with its baseline on the centre line.
read -r x y w h <<<"$temperature_box"
[ "$x" -le 20 ] && [ "$y" -le 12 ] && [ "$((y + h))" -le 32 ] || fail "temperature text at $temperature_box"
read -r x y w h <<<"$fps_box"
[ "$x" -ge 1176 ] && [ "$x" -le 1190 ] && [ "$y" -le 12 ] && [ "$((y + h))" -le 32 ] \
    || fail "FPS text at $fps_box, not near (1180, 0..30)"
read -r x y w h <<<"$end_box"
[ "$((x + w / 2 - 640))" -ge -24 ] && [ "$((x + w / 2 - 640))" -le 24 ] \
    && [ "$((y + h))" -ge 505 ] && [ "$((y + h))" -le 516 ] || fail "Game Over at $end_box, not on (640, 512)"
echo "ok: full screen 1280x1024, texts as in the window, Game Over at $end_box"
