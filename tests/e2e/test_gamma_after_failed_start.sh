# Full screen sets the monitor's gamma from the brightness before the font is
# loaded. When start-up then fails, the gamma must be put back: X keeps a
# changed ramp after the game has gone, and the screen would stay dimmed.
source "$(dirname "$0")/lib.sh"
: "${FROSTMOOR_GAMMA_PROBE:?}"

make_run_dir
# An asset tree without the font.
rm "$WORK/assets"
mkdir "$WORK/assets"
ln -s "$FROSTMOOR_ASSET_DIR/objects" "$WORK/assets/objects"
sed -i -e 's/^fullscreen = .*/fullscreen = true/' -e 's/^brightness = .*/brightness = 0.5/' \
    "$RUN/settings.ini"

before=$("$FROSTMOOR_GAMMA_PROBE") || fail "cannot read the monitor's gamma ramp"
start_game
status=$(wait_exit 30)
[ "$status" = 255 ] || fail "exit status $status, expected 255"
[ "$(cat "$GAME_OUT")" = "ERROR::FREETYPE: Failed to load font" ] || fail "unexpected output"
after=$("$FROSTMOOR_GAMMA_PROBE")
[ "$after" = "$before" ] || fail "the monitor's gamma ramp was left changed"
echo "ok: gamma ramp unchanged after a failed full-screen start"
