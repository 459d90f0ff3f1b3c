# The pause menu as a player drives it: P opens it over the frozen scene;
# the keys reach Options, where the volume goes to 0, printed, written back
# to the settings file in its one line, silent when played, and read again
# at the next start; full screen and back apply at once, the texts in the corners of
# each size; a click chooses; another window taking the focus pauses; the
# first round and the end screen show their hints; Escape quits.
source "$(dirname "$0")/lib.sh"

# "width height" of the game's window.
window_size() {
    xdotool getwindowgeometry --shell "$WINDOW" | sed -n 's/^\(WIDTH\|HEIGHT\)=//p' | paste -sd' '
}

make_run_dir
record_sound
before="$WORK/settings.before"
cp "$RUN/settings.ini" "$before"
start_game
wait_window Frostmoor
wait_first_frame
# A first round: what to do, along the bottom.
window_screenshot menu_first_hint
white="r>0.9 && g>0.9 && b>0.9"
[ "$(count_pixels menu_first_hint 100 710 824 50 "$white")" -gt 200 ] || fail "no controls hint in a first round"
press p 0.3
wait_line "Pause toggled to: 1"
sleep 1
window_screenshot menu_main
# The items hang below "Paused": white letters where there were none.
items=$(count_pixels menu_main 432 400 160 170 "r>0.9 && g>0.9 && b>0.9")
[ "$items" -gt 300 ] || fail "no menu items under \"Paused\" ($items white pixels)"

press Down 0.3
press Return 0.3
for _ in 1 2 3 4 5 6 7 8; do press Left 0.3; done
wait_line "Volume set to: 0"
diff "$before" "$RUN/settings.ini" >"$WORK/changed" && fail "the settings file did not change"
[ "$(grep -c '^[<>]' "$WORK/changed")" = 2 ] && grep -qx '> volume = 0' "$WORK/changed" ||
    fail "not just the volume's line changed: $(cat "$WORK/changed")"

# Played on at volume 0, the game is silent (the wind and the rotor sound
# from the first frame on).
press p 0.3
wait_line "Pause toggled to: 0"
silent_from=$(recorded_seconds)
sleep 2
read -r peak _ <<<"$(sound_level "$(awk -v t="$silent_from" 'BEGIN { print t + 0.3 }')" -1)"
awk -v p="$peak" 'BEGIN { exit !(p < 1e-6) }' || fail "sound at volume 0 (peak $peak)"

# Full screen and back, at once: the window takes the screen, then its
# own size again, with the temperature in the top left of both.
press p 0.3
wait_line "Pause toggled to: 1" 5
press Down 0.3
press Return 0.3
press Down 0.3
press Down 0.3
press Return 0.3
wait_line "Fullscreen toggled to: 1"
sleep 1
read -r width height < <(window_size)
[ "$width x $height" = "1280 x 1024" ] || fail "full screen is $width x $height, not the screen's 1280 x 1024"
window_screenshot menu_fullscreen
yellow="r>0.8 && g>0.8 && b<0.3"
[ "$(count_pixels menu_fullscreen 0 0 260 40 "$yellow")" -gt 50 ] || fail "no temperature in the full screen's corner"
[ "$(count_pixels menu_fullscreen 1000 0 280 40 "$yellow")" -gt 20 ] || fail "no frame rate in the full screen's corner"
press Return 0.3
wait_line "Fullscreen toggled to: 0"
sleep 1
read -r width height < <(window_size)
[ "$width x $height" = "1024 x 768" ] || fail "back from full screen at $width x $height"
window_screenshot menu_windowed
[ "$(count_pixels menu_windowed 0 0 260 40 "$yellow")" -gt 50 ] || fail "no temperature in the window's corner"

press Escape
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "exit status $status after Escape in the menu"
grep -qx 'fullscreen = false' "$RUN/settings.ini" || fail "full screen was not written back off"

# The next start reads the volume back: one step up from 0 is 0.1.
start_game
wait_window Frostmoor
wait_first_frame
press p 0.3
wait_line "Pause toggled to: 1"
press Down 0.3
press Return 0.3
press Right 0.3
wait_line "Volume set to: 0.1"
# A click on Back, then on Resume.
sleep 1
window_screenshot menu_options
read -r x y < <(match_box menu_options 312 0 400 768 "r>0.9 && g>0.9 && b>0.9" | awk '{ print $1 + $3 / 2, $2 + $4 - 10 }')
xdotool mousemove --window "$WINDOW" 512 "$y" click 1
sleep 1
window_screenshot menu_back
[ "$(count_pixels menu_back 432 344 160 60 "r>0.9 && g>0.9 && b>0.9")" -gt 300 ] || fail "Back did not return to \"Paused\""
press p 0.3
wait_line "Pause toggled to: 0"

# Another window takes the focus: the game pauses, shows the menu, and
# stays paused when the focus comes back.
xev -name frostmoor-elsewhere >/dev/null 2>&1 &
other=$!
for _ in $(seq 1 50); do
    focus=$(xdotool search --onlyvisible --name '^frostmoor-elsewhere$' 2>/dev/null | head -n 1 || true)
    [ -n "$focus" ] && break
    sleep 0.2
done
[ -n "$focus" ] || fail "no other window to switch to"
xdotool windowfocus "$focus"
for _ in $(seq 1 50); do
    [ "$(grep -c 'Pause toggled to' "$GAME_OUT")" -ge 3 ] && break
    sleep 0.2
done
[ "$(grep -c 'Pause toggled to' "$GAME_OUT")" = 3 ] || fail "switching away did not pause once"
xdotool windowfocus "$WINDOW"
kill "$other"
sleep 2
window_screenshot menu_away
[ "$(count_pixels menu_away 432 344 160 60 "$white")" -gt 300 ] || fail "no menu after switching away"
[ "$(grep -c 'Pause toggled to: 0' "$GAME_OUT")" = 1 ] || fail "the game went on by itself"

# The end screen says what the keys do, under "Game Over".
press p 0.3
over=$(walk_into_cactus menu_over)
[ -n "$over" ] || fail "no \"Game Over\" after the walk into the cactus"
window_screenshot menu_end_hint
[ "$(count_pixels menu_end_hint 352 405 320 35 "$white")" -gt 100 ] || fail "no hint under \"Game Over\""
press Escape
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "exit status $status"
echo "ok: menu, volume written and read back, full screen and back, paused when away, both hints"
