# The game's sound, recorded through OpenAL Soft's wave writer: an idle run
# is neither silent nor clipped, F8 silences it with its one line, and
# volume = 0 is silence. Without a sound device the console stays as it was.
source "$(dirname "$0")/lib.sh"

make_run_dir

# Runs the game for two seconds under OpenAL Soft's configuration $1 and
# checks that Escape ends it with status 0 and that stdout stays empty.
brief_run() {
    export ALSOFT_CONF=$1
    start_game
    wait_window Frostmoor
    sleep 2
    press Escape
    status=$(wait_exit 30)
    [ "$status" = 0 ] || fail "exit status $status ($2)"
    [ ! -s "$GAME_OUT" ] || fail "stdout is not empty ($2)"
}

# A sound device that fails to open, forced through OpenAL Soft's own
# configuration (whatever this machine has): a clean run still prints
# nothing at all, though OpenAL itself reports the failure on stderr.
printf '[general]\ndrivers = wave\n[wave]\nfile = %s\n' "$WORK/no/such/folder.wav" >"$WORK/broken.conf"
brief_run "$WORK/broken.conf" "without a sound device"
[ ! -s "$WORK/stderr.txt" ] || fail "stderr is not empty without a sound device: $(head -3 "$WORK/stderr.txt")"

# A mixer with room for five voices of the fourteen: the sounds it cannot
# take stay silent, each says so in one line on stderr, and the game plays.
printf '[general]\ndrivers = wave\nsources = 5\n[wave]\nfile = %s\n' "$WORK/few.wav" >"$WORK/few.conf"
brief_run "$WORK/few.conf" "with too few voices"
silenced=$(sed -n 's/^ERROR::SOUND:: \([a-z]*\.wav\) stays silent: .*/\1/p' "$WORK/stderr.txt" | paste -sd' ')
[ "$silenced" = "chime.wav rotor.wav fanfare.wav thud.wav" ] && [ "$(wc -l <"$WORK/stderr.txt")" = 4 ] ||
    fail "with five voices: $(cat "$WORK/stderr.txt")"

record_sound
start_game
wait_window Frostmoor
sleep 4
idle_end=$(recorded_seconds)
press F8
wait_line "Sound toggled to: 0"
muted_at=$(recorded_seconds)
sleep 2
press Escape
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "exit status $status"
[ "$(cat "$GAME_OUT")" = "Sound toggled to: 0" ] || fail "unexpected output"
[ ! -s "$WORK/stderr.txt" ] || fail "stderr is not empty: $(head -3 "$WORK/stderr.txt")"
read -r peak left right <<<"$(sound_level 0.5 "$idle_end")"
echo "idle to $idle_end s: peak $peak, RMS $left / $right"
awk -v p="$peak" -v l="$left" -v r="$right" 'BEGIN { exit !(p < 0.99 && l > 0.003 && r > 0.003) }' \
    || fail "the idle game is silent or clipped"
read -r peak _ <<<"$(sound_level "$(awk -v t="$muted_at" 'BEGIN { print t + 0.3 }')" -1)"
echo "after F8 at $muted_at s: peak $peak"
awk -v p="$peak" 'BEGIN { exit !(p < 1e-6) }' || fail "sound after F8 (peak $peak)"

sed -i 's/^volume = .*/volume = 0/' "$RUN/settings.ini"
start_game
wait_window Frostmoor
sleep 3
press Escape
wait_exit 30 >/dev/null
read -r peak _ <<<"$(sound_level 0 -1)"
echo "volume 0: peak $peak over $(recorded_seconds) s"
awk -v p="$peak" 'BEGIN { exit !(p < 1e-6) }' || fail "sound at volume 0 (peak $peak)"
echo "ok: sound recorded, muted by F8 and by volume 0, a silent console without a device, one line a sound the mixer cannot take"
