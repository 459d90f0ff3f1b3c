# Without settings.ini the game says so twice, opens no window, waits two
# seconds and exits with -1 (255 as the shell sees it).
source "$(dirname "$0")/lib.sh"

make_run_dir
rm "$RUN/settings.ini"
start_game
sleep 1
if xdotool search --name '^Frostmoor$' >/dev/null 2>&1; then
    fail "a window opened although start-up failed"
fi
status=$(wait_exit 20)
elapsed=$(awk -v a="$(date +%s.%N)" -v b="$GAME_START" 'BEGIN { print a - b }')
[ "$status" = 255 ] || fail "exit status $status, expected 255"
expected=$'WARNING: settings.ini not found! Using defaults instead.\nFailed to load \'settings.ini\''
[ "$(cat "$GAME_OUT")" = "$expected" ] || fail "unexpected output"
awk -v e="$elapsed" 'BEGIN { exit !(e >= 2.0) }' || fail "exited after $elapsed s, before the 2-second wait"
echo "ok: failed start-up after $elapsed s"
