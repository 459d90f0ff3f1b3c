# The ghost of the best run walks its path from the records file: a path
# that goes to (20, 0, 6) and waits there puts a pale snowman on that spot
# of the start view, and "ghost = false" leaves the spot to the sand.
source "$(dirname "$0")/lib.sh"

# Records as the game writes them: the path at 20 samples a second, and a
# CRC-32 of everything above the checksum line (gzip's trailer holds it).
write_records() {
    local body=$WORK/records.body
    {
        printf 'frostmoor records 1\nbest 30.0000\nplayed 1\nwon 1\npath 200\n'
        for i in $(seq 0 199); do
            awk -v i="$i" 'BEGIN { x = i / 4; if (x > 20) x = 20; printf "%.4f 6.0000 0.0000 0.0000 1.0100\n", x }'
        done
    } >"$body"
    mkdir -p "$XDG_DATA_HOME/frostmoor"
    {
        cat "$body"
        printf 'checksum %x\n' "$(gzip -c "$body" | tail -c8 | od -An -tu4 -N4 | tr -d ' ')"
    } >"$XDG_DATA_HOME/frostmoor/records.txt"
}

# Pale pixels on the spot, seen from the start: (20, 0, 6) lies at about
# (675, 490) in the 1024 x 768 window, the ghost's body above it.
ghost_pixels() {
    start_game
    wait_window Frostmoor
    wait_first_frame
    sleep 6
    window_screenshot "$1"
    press Escape
    [ "$(wait_exit 30)" = 0 ] || fail "$1: the game did not end with status 0"
    [ ! -s "$GAME_OUT" ] || fail "$1: unexpected output $(cat "$GAME_OUT")"
    count_pixels "$1" 635 400 80 100 "b > 0.62 && b < 0.93 && g > 0.74"
}

make_run_dir
write_records
seen=$(ghost_pixels ghost_on)
sed -i 's/^ghost = .*/ghost = false/' "$RUN/settings.ini"
unseen=$(ghost_pixels ghost_off)
echo "pale pixels on the ghost's spot: $seen with the ghost, $unseen without"
[ "$seen" -gt 600 ] || fail "no ghost where its path ends ($seen pale pixels)"
[ "$unseen" -lt 150 ] || fail "something pale on the spot without a ghost ($unseen pixels)"
grep -q '^played 1$' "$XDG_DATA_HOME/frostmoor/records.txt" || fail "the records changed without a round played"
echo "ok: the ghost stands where its path says, and not at all with ghost = false"
