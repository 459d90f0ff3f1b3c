# shellcheck shell=bash
# The launcher (dist/frostmoor.in) in a made-up installed tree, with a stub
# for the game: one game at a time, the folders it refuses to use, paths kept
# as given, and the system's reason in its one line of error. Needs no X.
# FROSTMOOR_LAUNCHER names another launcher source to try instead.
set -euo pipefail

source_file=${FROSTMOOR_LAUNCHER:-$(dirname "$0")/../../dist/frostmoor.in}
T=$(mktemp -d /tmp/frostmoor-launcher.XXXXXX)
trap 'rm -rf "$T"' EXIT

prefix=$T/prefix
launcher=$prefix/games/frostmoor
data=$prefix/share/games/frostmoor
mkdir -p "$prefix/games" "$prefix/lib/games/frostmoor" "$data/run" "$data/assets"
sed 's/@PROJECT_VERSION@/0-test/' "$source_file" >"$launcher"
chmod +x "$launcher"
printf '[window]\nwidth = 1024\n' >"$data/run/settings.ini"
echo shader >"$data/run/a.vert"
echo shader >"$data/run/a.frag"
touch "$data/assets/marker"

# The stub checks its working directory as the game would read it until
# $STUB_RELEASE exists (10 s at most), then logs OK or BROKEN.
cat >"$prefix/lib/games/frostmoor/frostmoor" <<'EOF'
#!/bin/sh
printf 'start %s\n' "$$" >>"$STUB_LOG"
verdict=OK
i=0
while [ "$i" -lt 200 ]; do
    if ! [ -f settings.ini ] || ! [ -f a.vert ] || ! [ -f ../assets/marker ]; then
        verdict=BROKEN
    fi
    [ -e "$STUB_RELEASE" ] && break
    i=$((i + 1))
    sleep 0.05
done
printf '%s %s\n' "$verdict" "$$" >>"$STUB_LOG"
[ "$verdict" = OK ]
EOF
chmod +x "$prefix/lib/games/frostmoor/frostmoor"

export HOME=$T/home STUB_LOG=$T/log STUB_RELEASE=$T/release
unset XDG_CONFIG_HOME XDG_CACHE_HOME
mkdir -p "$HOME"

failed=0
bad() {
    echo "FAIL: $*" >&2
    failed=1
}
starts() { grep -c '^start' "$STUB_LOG" || true; }

# Runs the launcher to its end with the given environment changes, the stub
# told to end at once; sets STATUS, ERR (its standard error) and LINES.
launch() {
    : >"$STUB_LOG"
    touch "$STUB_RELEASE"
    STATUS=0
    env "$@" "$launcher" >/dev/null 2>"$T/err" || STATUS=$?
    ERR=$(cat "$T/err")
    LINES=$(wc -l <"$T/err")
}
played() {
    [ "$STATUS" = 0 ] && [ "$LINES" = 0 ] && [ "$(cut -d' ' -f1 "$STUB_LOG" | tr '\n' ' ')" = "start OK " ] && return
    bad "$1: status $STATUS, error '$ERR', game log '$(tr '\n' ' ' <"$STUB_LOG")'"
}
refused() {
    [ "$STATUS" = 1 ] && [ "$LINES" = 1 ] && [[ $ERR == "frostmoor: "* ]] && [ "$(starts)" = 0 ] && return
    bad "$1: status $STATUS, error '$ERR', $(starts) game(s) started"
}

# --- a first start makes private folders (XDG), the cache's parent too ---
launch XDG_CONFIG_HOME="$T/fresh/config" XDG_CACHE_HOME="$T/fresh/cache"
played "first start"
for dir in config/frostmoor cache cache/frostmoor cache/frostmoor/run; do
    mode=$(stat -c %a "$T/fresh/$dir" 2>/dev/null || echo none)
    [ "$mode" = 700 ] || bad "first start: $dir has mode $mode, not 700"
done
cmp -s "$T/fresh/config/frostmoor/settings.ini" "$data/run/settings.ini" ||
    bad "first start: no copy of the default settings"

# --- one game at a time: of two starts, together or the second 0.5 s after
# the first game started, one game runs whole, and the other start says so in
# one line and exits 1 ---
start() {
    (
        set +e
        "$launcher" >/dev/null 2>"$T/$1.err"
        echo $? >"$T/$1.status"
    ) &
}
# Waits up to 5 s for a command to succeed.
waits_for() {
    for _ in $(seq 1 100); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}
game_started() { [ -s "$STUB_LOG" ]; }
one_ended() { [ -e "$T/a.status" ] || [ -e "$T/b.status" ]; }
pair() {
    local gap=$1 a b
    rm -f "$T"/[ab].status "$STUB_RELEASE"
    : >"$STUB_LOG"
    start a
    if [ "$gap" != 0 ]; then
        waits_for game_started || true
        sleep "$gap"
    fi
    start b
    # The refused start ends at once; the game checks its files until
    # released, after that.
    waits_for one_ended || true
    waits_for game_started || true
    touch "$STUB_RELEASE"
    wait
    a=$(cat "$T/a.status")/$(wc -l <"$T/a.err")
    b=$(cat "$T/b.status")/$(wc -l <"$T/b.err")
    if [ "$gap" != 0 ] && [ "$a $b" != "0/0 1/1" ]; then
        echo "the first start: status/lines of error $a; the second: $b"
    elif [ "$a $b" != "0/0 1/1" ] && [ "$a $b" != "1/1 0/0" ]; then
        echo "status/lines of error $a and $b"
    elif ! grep -qx 'frostmoor: already running' "$T/a.err" "$T/b.err"; then
        echo "the refused start said '$(cat "$T/a.err" "$T/b.err")'"
    elif [ "$(starts)" != 1 ] || [ "$(grep -c '^OK' "$STUB_LOG")" != 1 ]; then
        echo "game log: $(tr '\n' ' ' <"$STUB_LOG")"
    fi
}
for gap in 0 0.5; do
    for n in $(seq 1 20); do
        why=$(pair "$gap")
        if [ -n "$why" ]; then
            bad "two starts $gap s apart, pair $n: $why"
            break
        fi
    done
done

# --- the lock goes with the game, however it ends ---
rm -f "$STUB_RELEASE"
: >"$STUB_LOG"
("$launcher" >/dev/null 2>&1 || true) 2>/dev/null &
waits_for game_started && sleep 0.2
kill -9 "$(cut -d' ' -f2 "$STUB_LOG")" 2>/dev/null || true
wait
# The stub's last sleep, which inherited the lock, ends too.
sleep 0.2
launch
played "a start after a killed game"

# --- folders the launcher must not use ---
mkdir -p "$T/victim/run" "$T/linked-cache"
touch "$T/victim/keep" "$T/victim/run/keep"
ln -s "$T/victim" "$T/linked-cache/frostmoor"
launch XDG_CACHE_HOME="$T/linked-cache"
refused "a linked cache folder"
[ "$(cd "$T/victim" && find . | sort | tr '\n' ' ')" = ". ./keep ./run ./run/keep " ] ||
    bad "a linked cache folder: the link's target changed: $(cd "$T/victim" && find . | tr '\n' ' ')"

mkdir -p "$T/linked-run/frostmoor" "$T/victim-run"
chmod 700 "$T/linked-run/frostmoor"
touch "$T/victim-run/keep"
ln -s "$T/victim-run" "$T/linked-run/frostmoor/run"
launch XDG_CACHE_HOME="$T/linked-run"
refused "a linked run folder"
if ! [ -e "$T/victim-run/keep" ] || ! [ -L "$T/linked-run/frostmoor/run" ]; then
    bad "a linked run folder was changed"
fi

if [ "$(id -u)" = 0 ]; then
    mkdir -p "$T/foreign/frostmoor"
    chown nobody "$T/foreign/frostmoor"
    launch XDG_CACHE_HOME="$T/foreign"
    refused "a cache folder of another user's"
    [ -z "$(ls -A "$T/foreign/frostmoor")" ] || bad "a cache folder of another user's gained files"
else
    echo "skipped: a cache folder of another user's (needs root to make one)"
fi

# A cache that is a link to elsewhere is the user's own choice.
mkdir -p "$T/cache-elsewhere"
ln -s "$T/cache-elsewhere" "$T/cache-link"
launch XDG_CACHE_HOME="$T/cache-link"
played "a linked cache"

# --- paths as given, backslashes and all ---
odd=$T/'odd\tpath\n'
launch XDG_CONFIG_HOME="$odd/config" XDG_CACHE_HOME="$odd/cache"
played "backslashes in the paths"
if ! [ -f "$odd/config/frostmoor/settings.ini" ] || ! [ -d "$odd/cache/frostmoor/run" ]; then
    bad "backslashes in the paths: made $(find "$T" -maxdepth 1 -name '*path*' -printf '%P ')"
fi
help=$(XDG_CONFIG_HOME="$odd/config" "$launcher" --help)
grep -qF "Settings: $odd/config/frostmoor/settings.ini" <<<"$help" ||
    bad "--help misprints a path with backslashes"

# --- failures: one line, with the system's reason ---
touch "$T/plain-file"
for var in XDG_CONFIG_HOME XDG_CACHE_HOME; do
    launch "$var=$T/plain-file/below"
    refused "$var beneath a file"
    [[ $ERR == *"$T/plain-file/below/frostmoor"*": Not a directory" ]] ||
        bad "$var beneath a file: the error '$ERR' lacks the path or the reason"
done

mkdir -p "$T/cwd"
cd "$T/cwd"
launch HOME=relative
cd "$T"
refused "a relative HOME"
[ -z "$(ls -A "$T/cwd")" ] || bad "a relative HOME: files were made in the working folder"

# --- the player's settings are never replaced ---
mkdir -p "$T/kept/config/frostmoor"
ln -s "$T/nowhere" "$T/kept/config/frostmoor/settings.ini"
launch XDG_CONFIG_HOME="$T/kept/config"
[ "$(readlink "$T/kept/config/frostmoor/settings.ini")" = "$T/nowhere" ] ||
    bad "a broken settings link was replaced"

# Another start (one with another cache) makes the settings just after this
# one found none; here cp stands in for it. mv is as in coreutils 9.2 to 9.4,
# where "mv -n" fails when it does not replace.
mkdir -p "$T/shim"
real_mv=$(command -v mv)
cat >"$T/shim/cp" <<EOF
#!/bin/sh
$(command -v cp) "\$@" || exit
[ -e "\$RIVAL_SETTINGS" ] || echo rival >"\$RIVAL_SETTINGS"
EOF
cat >"$T/shim/mv" <<EOF
#!/bin/sh
if [ "\$1" = -n ] && [ -e "\$3" ]; then
    echo "mv: not replacing '\$3'" >&2
    exit 1
fi
exec $real_mv "\$@"
EOF
chmod +x "$T/shim/cp" "$T/shim/mv"
launch PATH="$T/shim:$PATH" XDG_CONFIG_HOME="$T/race/config" RIVAL_SETTINGS="$T/race/config/frostmoor/settings.ini"
played "settings made by another start meanwhile"
[ "$(cat "$T/race/config/frostmoor/settings.ini")" = rival ] || bad "the other start's settings were replaced"
leftovers=$(find "$T/race/config/frostmoor" -mindepth 1 ! -name settings.ini -printf '%P ')
[ -z "$leftovers" ] || bad "leftovers beside the settings: $leftovers"

# --- the installed tree is never written to ---
[ "$(find "$data/assets" -mindepth 1)" = "$data/assets/marker" ] ||
    bad "the installed assets gained $(find "$data/assets" -mindepth 1 ! -name marker -printf '%P ')"

[ "$failed" = 0 ] || exit 1
echo "ok: the launcher"
