#!/usr/bin/env bash
# The black-box benchmark, run inside one X server by scripts/bench
# --black-box: the unchanged game, as a player starts it, timed at each
# buffer swap by a preloaded stamper; beside it a window that only clears and
# swaps. Rounds alternate game (animation off), bare loop and game (animation
# on, by its own key), so that a drift of the machine's speed shows in all.
# Usage: black_box.sh build-dir rounds
set -euo pipefail
build=$1
rounds=${2:-3}
stamper=$build/libswap_stamps.so
work=$(mktemp -d /tmp/frostmoor-black-box.XXXXXX)
pid=""
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$work"' EXIT

# Runs one program with the stamper until it has written its figures; prints
# them. $1 names the run, $2 is "anim" to press the animation key, the rest
# is the command, started in the run directory.
timed() {
    local name=$1 animation=$2
    shift 2
    local out=$work/$name.txt
    rm -f "$out"
    (cd "$build/run" && exec env LD_PRELOAD="$stamper" FROSTMOOR_STAMPS_OUT="$out" "$@" \
        >"$work/stdout.txt" 2>"$work/stderr.txt") &
    pid=$!
    if [ "$animation" = anim ]; then
        # The measurement leaves out the first 3 s; the key lands in them.
        local window="" tries=0
        while [ -z "$window" ] && [ "$tries" -lt 100 ]; do
            window=$(xdotool search --onlyvisible --name '^Frostmoor$' 2>/dev/null | head -n 1 || true)
            tries=$((tries + 1))
            sleep 0.1
        done
        xdotool windowfocus --sync "$window" 2>/dev/null || true
        xdotool keydown F7; sleep 0.4; xdotool keyup F7
    fi
    local waited=0
    while [ ! -f "$out" ]; do
        if ! kill -0 "$pid" 2>/dev/null || [ "$waited" -gt 600 ]; then
            echo "$name: no figures (the program ended or hung)" >&2
            cat "$work/stdout.txt" "$work/stderr.txt" >&2
            exit 1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=""
    if [ "$animation" = anim ] && ! grep -q 'Particle animation toggled to' "$work/stdout.txt"; then
        echo "$name: the animation key did not reach the game" >&2
        exit 1
    fi
    printf '%-16s %s\n' "$name" "$(cat "$out")"
}

fps() { sed -n 's/.* fps \([0-9.]*\) .*/\1/p' "$work/$1.txt"; }

# The player's records stay out of it: the game runs without a best run, and
# once with one whose ghost walks a slow circle in view the whole time
# (records as the game writes them: CRC-32 from gzip's trailer).
export XDG_DATA_HOME=$work/no-records
ghost_records() {
    local body=$work/records.body folder=$work/ghost/frostmoor
    mkdir -p "$folder"
    awk 'BEGIN {
        print "frostmoor records 1\nbest 60.0000\nplayed 1\nwon 1\npath 2400"
        for (i = 0; i < 2400; i++) {
            a = i / 200
            printf "%.4f %.4f %.4f %.4f 1.0100\n", 15 + 5 * cos(a), 5 * sin(a), a + 1.5708, (i % 8 < 4) ? 0.1 : -0.1
        }
    }' >"$body"
    { cat "$body"; printf 'checksum %x\n' "$(gzip -c "$body" | tail -c8 | od -An -tu4 -N4 | tr -d ' ')"; } \
        >"$folder/records.txt"
}
ghost_records

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
echo "frame times in ms over 20 s after the first 3 s; fps = 1000 / median frame;"
echo "cpu, main: ms of CPU time per frame, of all threads and of the game's main thread"
for round in $(seq 1 "$rounds"); do
    timed "game-off-$round" - ../frostmoor
    timed "bare-$round" - ../frostmoor-bare-loop
    timed "game-on-$round" anim ../frostmoor
    XDG_DATA_HOME=$work/ghost timed "game-ghost-$round" - ../frostmoor
done

# The medians of the runs, and the game's share of the bare loop's rate.
median_of() {
    local kind=$1
    for round in $(seq 1 "$rounds"); do fps "$kind-$round"; done | sort -n |
        awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
off=$(median_of game-off)
on=$(median_of game-on)
ghost=$(median_of game-ghost)
bare=$(median_of bare)
echo "median of runs: game $off fps (animation off), $on fps (on), $ghost fps (a ghost walking, animation off); bare loop $bare fps"
awk -v off="$off" -v on="$on" -v bare="$bare" \
    'BEGIN { printf "game / bare loop: %.3f (off), %.3f (on)\n", off / bare, on / bare }'
