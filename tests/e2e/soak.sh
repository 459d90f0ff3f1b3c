# The soak, shared by scripts/soak and test_soak.sh: the soak driver (the
# real game loop, the snowman held at 0 degrees) runs for $1 seconds with the
# particle animation on while cel shading and wire frame are switched now and
# then by real key presses. It fails on any "GL error:" line, on resident
# memory that grows by 2 MB or more after the warm-up, or when the game does
# not end with status 0 on Escape.
# Needs FROSTMOOR_BIN pointing at frostmoor-soak (and what lib.sh needs).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

SOAK_SECONDS=${1:-600}
# The warm-up holds every combination of the switches for a few seconds, so
# that the driver has built (and grown its buffers to) what each needs before
# the baseline is taken: llvmpipe keeps its high-water marks.
WARMUP_SECONDS=30
[ "$SOAK_SECONDS" -gt "$WARMUP_SECONDS" ] || fail "a soak must last longer than its $WARMUP_SECONDS s warm-up"

# llvmpipe's binner may run ahead of its rasterizer threads by as many
# scenes as the scheduler allows, and it keeps every scene it has made. On a
# starved CPU that showed as a one-off 4 MB step, long after the warm-up.
# Rasterizing on the driver's own thread keeps one scene in flight, so what
# grows is the game's.
export LP_NUM_THREADS=0

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null; }

make_run_dir
start_game
wait_window Frostmoor
# Keys count from the first frame on; a busy machine may take seconds to it.
wait_first_frame
# The game's own process is the child of the subshell that start_game made.
pid=$(pgrep -P "$GAME_PID" -x "$(basename "$FROSTMOOR_BIN" | cut -c1-15)" | head -n 1)
[ -n "$pid" ] || fail "no soak process found"

start=$(date +%s)
press F7
wait_line "Particle animation toggled to 1"
for key in F5 F3 F5 F3; do
    press "$key"
    sleep 3
done

samples="$ARTIFACTS/soak_rss.txt"
: >"$samples"
while [ "$(date +%s)" -lt $((start + WARMUP_SECONDS)) ]; do sleep 1; done
baseline=$(rss_kb "$pid")
[ -n "$baseline" ] || fail "the game ended during the warm-up"
echo "warm-up done: resident $baseline kB"

keys=(F5 F3 F5 F3 F3 F5 F3 F5)
n=0
while [ "$(date +%s)" -lt $((start + SOAK_SECONDS)) ]; do
    rss=$(rss_kb "$pid")
    [ -n "$rss" ] || fail "the game ended during the soak"
    echo "$(($(date +%s) - start)) $rss" >>"$samples"
    if [ $((n % 5)) -eq 4 ]; then
        press "${keys[$(((n / 5) % ${#keys[@]}))]}"
    else
        sleep 1
    fi
    n=$((n + 1))
done
peak=$(awk 'BEGIN { m = 0 } { if ($2 > m) m = $2 } END { print m }' "$samples")
last=$(rss_kb "$pid")

press Escape
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "exit status $status after Escape, expected 0"
if grep -q '^GL error: ' "$GAME_OUT"; then
    fail "the driver reported OpenGL errors"
fi
unexpected=$(grep -v -e '^CEL shading toggled to [01]$' -e '^Wire frame toggled to: [01]$' \
    -e '^Particle animation toggled to 1$' "$GAME_OUT" || true)
[ -z "$unexpected" ] || fail "unexpected output: $unexpected"
[ "$(grep -c '^CEL shading toggled to ' "$GAME_OUT")" -ge 4 ] || fail "cel shading was not switched"
[ "$(grep -c '^Wire frame toggled to: ' "$GAME_OUT")" -ge 4 ] || fail "the wire frame was not switched"
growth=$((peak - baseline))
echo "resident memory: $baseline kB after warm-up, peak $peak kB, last $last kB, growth $growth kB over $SOAK_SECONDS s ($(wc -l <"$samples") samples in $samples)"
[ "$growth" -lt 2048 ] || fail "resident memory grew by $growth kB after the warm-up"
echo "ok: soak of $SOAK_SECONDS s"
