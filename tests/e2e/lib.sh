# Shared helpers of the end-to-end tests: a private run directory beside the
# built asset tree, the real game started in it under the test's X display,
# and real key presses through xdotool.
# Some of what is set here is only for the tests that source it.
# shellcheck shell=bash disable=SC2034
set -euo pipefail

: "${FROSTMOOR_BIN:?}" "${FROSTMOOR_RUN_DIR:?}" "${FROSTMOOR_ASSET_DIR:?}"
: "${DISPLAY:?the end-to-end tests need an X display (run them under xvfb-run)}"
ARTIFACTS=${FROSTMOOR_ARTIFACTS:-/tmp/frostmoor-artifacts}
mkdir -p "$ARTIFACTS"

WORK=$(mktemp -d /tmp/frostmoor-e2e.XXXXXX)
# The player's records of every test stay in its own folder.
export XDG_DATA_HOME="$WORK/data"
GAME_PID=""
GAME_OUT="$WORK/stdout.txt"
GAME_STATUS_FILE="$WORK/status"

cleanup() {
    # GAME_PID is the subshell that waits for the game: end the game too, or
    # its window would linger into the next test. Once the subshell has
    # written the status file the game is over, and the number may already
    # be another process's: "status=$(wait_exit)" cannot clear GAME_PID here.
    if [ -n "$GAME_PID" ] && [ ! -f "$GAME_STATUS_FILE" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        pkill -9 -P "$GAME_PID" 2>/dev/null || true
        kill -9 "$GAME_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$GAME_OUT" ]; then
        echo "--- game output ---" >&2
        cat "$GAME_OUT" >&2
    fi
    exit 1
}

# A run directory of our own, so that a test may break files in it; the
# asset tree is linked unless the test asks for a copy it may change.
make_run_dir() {
    mkdir -p "$WORK/run"
    cp -r "$FROSTMOOR_RUN_DIR"/. "$WORK/run/"
    if [ "${1:-link}" = copy ]; then
        cp -r "$FROSTMOOR_ASSET_DIR" "$WORK/assets"
    else
        ln -s "$FROSTMOOR_ASSET_DIR" "$WORK/assets"
    fi
    RUN="$WORK/run"
}

# Starts the game in the background; its exit status lands in a file.
start_game() {
    rm -f "$GAME_STATUS_FILE"
    (
        cd "$RUN"
        set +e
        "$FROSTMOOR_BIN" >"$GAME_OUT" 2>"$WORK/stderr.txt"
        echo $? >"$GAME_STATUS_FILE"
    ) &
    GAME_PID=$!
    GAME_START=$(date +%s.%N)
}

# Waits up to $2 seconds (default 60) for the game to end; prints its status.
wait_exit() {
    local limit=${1:-60} waited=0
    while [ ! -f "$GAME_STATUS_FILE" ]; do
        sleep 0.2
        waited=$((waited + 1))
        if [ "$waited" -gt $((limit * 5)) ]; then
            fail "the game did not end within $limit seconds"
        fi
    done
    wait "$GAME_PID" 2>/dev/null || true
    GAME_PID=""
    cat "$GAME_STATUS_FILE"
}

# Waits for the game's window to be on screen and gives it the keyboard
# focus; focusing a window that is not mapped yet is an X error (BadMatch).
wait_window() {
    local name=${1:-Frostmoor} tries=0
    WINDOW=""
    while [ -z "$WINDOW" ]; do
        WINDOW=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -n 1 || true)
        [ -n "$WINDOW" ] && break
        [ -f "$GAME_STATUS_FILE" ] && fail "the game ended before its window appeared"
        tries=$((tries + 1))
        [ "$tries" -gt 300 ] && fail "no window named '$name' appeared"
        sleep 0.2
    done
    xdotool windowfocus --sync "$WINDOW" 2>/dev/null || xdotool windowfocus "$WINDOW"
}

# Holds a key for several frames, since the game polls keys once a frame.
press() {
    local key=$1 hold=${2:-0.6}
    xdotool keydown "$key"
    sleep "$hold"
    xdotool keyup "$key"
    sleep 0.3
}

# Waits until the game's output holds a line; fails after $2 seconds.
wait_line() {
    local line=$1 limit=${2:-20} waited=0
    while ! grep -qxF -- "$line" "$GAME_OUT" 2>/dev/null; do
        sleep 0.2
        waited=$((waited + 1))
        [ "$waited" -gt $((limit * 5)) ] && fail "no line '$line' in the game's output"
    done
    return 0
}

# Screenshots are taken with a time limit: asked for a window that has gone,
# import waits for a mouse click instead of failing.
screenshot() {
    timeout 20 import -window root "$ARTIFACTS/$1.png" || fail "no screenshot $1"
}

# Prints the colour of one pixel of a screenshot as "r,g,b" (0-255).
pixel() {
    convert "$ARTIFACTS/$1.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# Counts the pixels of a screenshot region (x y w h, window pixels from the
# top left) that match an -fx colour condition such as "r>0.9 && g<0.2".
count_pixels() {
    local shot=$1 x=$2 y=$3 w=$4 h=$5 cond=$6
    convert "$ARTIFACTS/$shot.png" -crop "${w}x${h}+${x}+${y}" +repage \
        -fx "($cond) ? 1 : 0" -format "%[fx:round(mean*w*h)]" info:
}

# Grabs just one region of the game window and counts its pixels matching an
# -fx condition: quick enough to poll while a key is held.
count_window_pixels() {
    local name=$1 x=$2 y=$3 w=$4 h=$5 cond=$6
    timeout 20 import -window "$WINDOW" -crop "${w}x${h}+${x}+${y}" +repage "$ARTIFACTS/$name.png" \
        || fail "no screenshot $name of the game window"
    convert "$ARTIFACTS/$name.png" -fx "($cond) ? 1 : 0" -format "%[fx:round(mean*w*h)]" info:
}

# Waits until the game has drawn its first frame: sky above the horizon.
wait_first_frame() {
    for _ in $(seq 1 150); do
        [ -f "$GAME_STATUS_FILE" ] && fail "the game ended before its first frame"
        [ "$(count_window_pixels first_frame 0 40 400 100 "b > r + 0.1")" -gt 10000 ] && return 0
        sleep 0.2
    done
    fail "no frame drawn by $(elapsed) s"
}

# How many pixels of two window screenshots differ by more than 10%, the
# frame-rate text's corner left out (it counts real frames, paused or not),
# and the bottom edge, where a first round shows its controls hint.
picture_difference() {
    local a b w=${3:-1024} h
    a=$(mktemp --suffix=.png -p "$WORK") b=$(mktemp --suffix=.png -p "$WORK")
    h=$(identify -format %h "$ARTIFACTS/$1.png")
    convert "$ARTIFACTS/$1.png" -fill black -draw "rectangle $((w - 110)),0 $w,40" \
        -draw "rectangle 0,$((h - h / 12)) $w,$h" "$a"
    convert "$ARTIFACTS/$2.png" -fill black -draw "rectangle $((w - 110)),0 $w,40" \
        -draw "rectangle 0,$((h - h / 12)) $w,$h" "$b"
    compare -metric AE -fuzz 10% "$a" "$b" null: 2>&1 | cut -d' ' -f1 || true
}

# The game's own clock for its end screens: it writes the records in the
# frame that first shows an end text, and the status file is written as it
# exits. Screen polls see the text later, by seconds on a busy machine.
RECORDS_FILE=$XDG_DATA_HOME/frostmoor/records.txt
written_at() { stat -c %.9Y "$1" 2>/dev/null || echo 0; }
# Seconds from the start to a moment given as from date +%s.%N; with
# written_at "$GAME_OUT", to the game's last line, which it flushes at once.
since_start() { awk -v a="$1" -v b="$GAME_START" 'BEGIN { printf "%.2f", a - b }'; }
end_screen_seconds() { # from the end text's first frame to the exit
    awk -v a="$(written_at "$RECORDS_FILE")" -v b="$(written_at "$GAME_STATUS_FILE")" \
        'BEGIN { printf "%.2f", b - a }'
}

# Waits up to a minute for the records' first write since $1 (as from
# date +%s.%N; the game's start by default); fails (returns 1) when the game
# ended first or the minute ran out.
wait_round_end() {
    local since=${1:-$GAME_START}
    for _ in $(seq 1 600); do
        awk -v a="$(written_at "$RECORDS_FILE")" -v b="$since" 'BEGIN { exit !(a > b) }' && return 0
        [ -f "$GAME_STATUS_FILE" ] && return 1
        sleep 0.1
    done
    return 1
}

# Waits up to a minute for the end of a round, then for its end text in the
# given colour in the middle of the window. The end is the records' first
# write since the round began (the game's start, or $3 as from date +%s.%N),
# seen at once; only then do the screen polls start, as on a busy machine
# each takes seconds of the end screen's four. Prints the seconds from the
# start to the end text's first frame, or nothing when the game ended or the
# polls missed the text.
wait_end_text() {
    local name=$1 cond=$2
    wait_round_end "${3:-$GAME_START}" || return 0
    for _ in $(seq 1 20); do
        [ -f "$GAME_STATUS_FILE" ] && return 0
        # shellcheck disable=SC2086 # the region's four numbers, split on purpose
        if [ "$(count_window_pixels "$name" $END_TEXT_REGION "$cond")" -gt 300 ]; then
            since_start "$(written_at "$RECORDS_FILE")"
            return 0
        fi
    done
}

# Seconds since the game was started.
elapsed() { since_start "$(date +%s.%N)"; }

# True when an end at $1 s came about 33 s of play (the heat's loss) after
# the first frame, less a pause of $4 s. The first frame fell between the
# window's appearance at $2 s and its sighting at $3 s.
melted_on_time() {
    awk -v o="$1" -v w="$2" -v s="$3" -v p="${4:-0}" 'BEGIN { exit !(o - w - p >= 31 && o - s - p <= 36) }'
}

# The centred end texts sit on the middle of the 1024 x 768 window.
END_TEXT_REGION="352 320 320 80"
RED_TEXT="r>0.85 && g<0.25 && b<0.25"
GREEN_TEXT="g>0.85 && r<0.3 && b<0.3"

# Screenshot of the game window alone, so that positions are window pixels
# whatever the window's size.
window_screenshot() {
    timeout 20 import -window "$WINDOW" "$ARTIFACTS/$1.png" || fail "no screenshot $1 of the game window"
}

# Prints the bounding box "x y w h" (window pixels from the top left) of the
# pixels of a screenshot region (x y w h) that match an -fx condition, or
# "none" when no pixel does.
match_box() {
    local shot=$1 x=$2 y=$3 w=$4 h=$5 cond=$6 box
    # The black border keeps the trim reference off any matching pixel.
    box=$(convert "$ARTIFACTS/$shot.png" -crop "${w}x${h}+${x}+${y}" +repage \
        -fx "($cond) ? 1 : 0" -bordercolor black -border 1 -format "%@" info: 2>/dev/null)
    if [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && [ "${BASH_REMATCH[1]}" -gt 0 ]; then
        echo "$((BASH_REMATCH[3] - 1 + x)) $((BASH_REMATCH[4] - 1 + y)) ${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
    else
        echo none
    fi
}

# A step aside, then W held down: straight into the nearest cactus.
start_cactus_walk() {
    press a 2.59
    xdotool keydown w
}

# Walks into the nearest cactus, (4.2, -25.9) from the start at the origin:
# first sideways to its row, then ahead into it, so that a key held a little
# long or short still ends at the cactus. Prints the seconds since the start
# at which the red "Game Over" first showed, or nothing. END_TEXT_REGION must
# cover the middle of the window; $2 is as wait_end_text's $3.
walk_into_cactus() {
    start_cactus_walk
    wait_end_text "$1" "$RED_TEXT" "${2:-$GAME_START}"
    xdotool keyup w
}

YELLOW_TEXT="r>0.8 && g>0.8 && b<0.35"

# Sound: OpenAL Soft's own configuration (the game reads none) sends the mix
# to a WAV file instead of a device, 44.1 kHz stereo float, in real time.
record_sound() {
    : "${FROSTMOOR_WAV_PROBE:?}"
    REC="$WORK/sound.wav"
    printf '[general]\ndrivers = wave\n[wave]\nfile = %s\n' "$REC" >"$WORK/alsoft.conf"
    export ALSOFT_CONF="$WORK/alsoft.conf"
}

# Seconds recorded so far: the writer's 68-byte header, then 8-byte frames.
recorded_seconds() {
    local size
    size=$(stat -c %s "$REC" 2>/dev/null || echo 68)
    awk -v s="$size" 'BEGIN { printf "%.3f", (s - 68) / (44100 * 8) }'
}

# "peak rmsLeft rmsRight" of the recording from $1 to $2 seconds (-1: end).
sound_level() {
    "$FROSTMOOR_WAV_PROBE" level "$REC" "$1" "$2"
}

# Lines "time left right": the amplitude of a sine of $1 Hz in windows of $2
# seconds, from $3 to $4 seconds.
sound_tone() {
    "$FROSTMOOR_WAV_PROBE" tone "$REC" "$@"
}

# The same for the RMS of all that lies above $1 Hz.
sound_hiss() {
    "$FROSTMOOR_WAV_PROBE" hiss "$REC" "$@"
}
