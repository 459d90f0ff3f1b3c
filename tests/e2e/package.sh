# The Debian packages end to end: the game's and its data's (found beside
# it), unpacked with dpkg-deb into a private root, not installed, with HOME
# and the XDG folders private too, and the launcher started from an unrelated
# folder. Also the validators on the files as packaged, lintian, and
# "cmake --install" under two prefixes.
# Usage, under an X server: bash tests/e2e/package.sh <frostmoor_*.deb> <build-dir>
# "check && check || fail" is meant: fail exits, and runs when a check fails.
# shellcheck shell=bash disable=SC2015
set -euo pipefail
deb=$(realpath "$1")
build=$(realpath "$2")

T=$(mktemp -d /tmp/frostmoor-package.XXXXXX)
root=$T/root
# shellcheck source-path=SCRIPTDIR source=../../debian/tests/upstream-version.sh
source "$(dirname "$0")/../../debian/tests/upstream-version.sh"
# The game's own files name the upstream version. The data package, not
# rebuilt with a binary-only rebuild of the game, has the source's version,
# which the game depends on exactly; file names leave out the epoch.
version=$(upstream_version "$(dpkg-deb -f "$deb" Version)")
source_version=$(dpkg-deb --show --showformat '${source:Version}' "$deb")
data_deb=${deb%/*}/frostmoor-data_${source_version#*:}_all.deb
dpkg-deb -x "$deb" "$root"
dpkg-deb -x "$data_deb" "$root"
# fonts-liberation, a dependency, as it would be installed beside the game.
mkdir -p "$root/usr/share/fonts/truetype"
ln -s /usr/share/fonts/truetype/liberation "$root/usr/share/fonts/truetype/"
data=$root/usr/share/games/frostmoor
export FROSTMOOR_BIN=$root/usr/games/frostmoor FROSTMOOR_RUN_DIR=$data/run FROSTMOOR_ASSET_DIR=$data/assets
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "$0")/lib.sh"
trap 'cleanup; rm -rf "$T"' EXIT

# Rebuilds, Debian revisions and epochs leave the upstream version alone.
for given in 1.0.0 1.0.0+b1 1.0.0-1 1:1.0.0-1 1:1.0.0-1+b2; do
    [ "$(upstream_version "$given")" = 1.0.0 ] || fail "the upstream version of $given is not 1.0.0"
done

export HOME=$T/home XDG_CONFIG_HOME=$T/config XDG_CACHE_HOME=$T/cache
mkdir -p "$HOME" "$T/elsewhere"
RUN=$T/elsewhere
launcher=$FROSTMOOR_BIN
settings=$XDG_CONFIG_HOME/frostmoor/settings.ini

# Runs the launcher with the given arguments and environment changes; sets
# STATUS and LINES (what it wrote to standard error).
launch() {
    STATUS=0
    env "$@" >"$T/out" 2>"$T/err" || STATUS=$?
    LINES=$(wc -l <"$T/err")
}

# Presses a key until the game answers: the window shows before the scene is
# set up, and keys are read only from the first frame on.
press_until() {
    local key=$1 answered=$2
    for _ in $(seq 1 10); do
        press "$key"
        sleep 0.5
        "$answered" && return 0
    done
    fail "the game did not answer $key"
}
f2_answered() { grep -qxF "Show fps toggled to: 0" "$GAME_OUT"; }
ended() { [ -f "$GAME_STATUS_FILE" ]; }

# --- options and the launcher's own failures: nothing may be created ---
printed=$("$launcher" --version) || fail "--version exited with status $?"
[ "$printed" = "frostmoor $version" ] || fail "--version printed '$printed', not the package's upstream version $version"
help=$("$launcher" --help) || fail "--help exited with a failure"
for text in "$settings" "F2" "Escape"; do
    grep -qF -- "$text" <<<"$help" || fail "--help does not mention '$text'"
done
launch "$launcher" --fullscreen
[ "$STATUS" = 2 ] && [ "$LINES" = 1 ] || fail "unknown option: status $STATUS, $LINES lines of error"
mkdir -p "$T/lonely"
cp "$launcher" "$T/lonely/"
launch "$T/lonely/frostmoor"
[ "$STATUS" = 1 ] && [ "$LINES" = 1 ] || fail "no installed tree: status $STATUS, $LINES lines of error"
touch "$T/not-a-folder"
launch HOME="$T/not-a-folder" XDG_CONFIG_HOME= XDG_CACHE_HOME= "$launcher"
[ "$STATUS" = 1 ] && [ "$LINES" = 1 ] || fail "no writable home: status $STATUS, $LINES lines of error"
[ ! -e "$XDG_CONFIG_HOME" ] && [ ! -e "$XDG_CACHE_HOME" ] || fail "the options or failures created files"

# --- first start: default settings copied, 1024 x 768, a second start
# refused while the game plays on, the window's class the desktop entry's,
# F2, Escape ---
start_game
wait_window Frostmoor
geometry=$(xdotool getwindowgeometry "$WINDOW" | sed -n 's/.*Geometry: //p')
[ "$geometry" = 1024x768 ] || fail "first start: window is $geometry, expected 1024x768"
launch "$launcher"
[ "$STATUS" = 1 ] && [ "$(cat "$T/err")" = "frostmoor: already running" ] ||
    fail "a second start: status $STATUS, error '$(cat "$T/err")'"
class=$(xprop -id "$WINDOW" WM_CLASS | sed -n 's/.*, "\(.*\)"$/\1/p')
entry_class=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/frostmoor.desktop")
[ "$class" = "$entry_class" ] || fail "the window's class is '$class', the desktop entry's '$entry_class'"
press_until F2 f2_answered
press_until Escape ended
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "exit status $status after Escape, expected 0"
# The exit trap must leave alone whatever process has the ended game's
# number by then; a process of no relation stands in for one. Its state is
# read, since killed it may linger as a zombie, which "kill -0" still finds.
decoy=$(sleep 60 >/dev/null 2>&1 & echo $!)
(GAME_PID=$decoy WORK=$T/no-work && cleanup)
read -r _ _ state _ 2>/dev/null <"/proc/$decoy/stat" || state=gone
[ "$state" != Z ] && [ "$state" != gone ] || fail "the exit trap killed a process that was not the game"
kill "$decoy"
! grep -q ERROR "$GAME_OUT" || fail "the game reported an error"
cmp -s "$settings" "$data/run/settings.ini" || fail "no copy of the default settings at $settings"

# --- second start: the player's width, the file left as edited, the run
# folder made afresh ---
sed -i 's/^width = 1024$/width = 800/' "$settings"
grep -qx 'width = 800' "$settings" || fail "could not edit $settings"
cp "$settings" "$T/edited"
touch "$XDG_CACHE_HOME/frostmoor/run/stale"
start_game
wait_window Frostmoor
geometry=$(xdotool getwindowgeometry "$WINDOW" | sed -n 's/.*Geometry: //p')
[ "$geometry" = 800x768 ] || fail "second start: window is $geometry, expected 800x768"
press_until Escape ended
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "second start: exit status $status after Escape"
cmp -s "$settings" "$T/edited" || fail "the second start changed the settings file"
[ ! -e "$XDG_CACHE_HOME/frostmoor/run/stale" ] || fail "the run folder was not made afresh"

# --- the game's own failure comes through the launcher: a settings link to
# nowhere, which the launcher must leave alone ---
rm "$settings"
ln -s "$T/nowhere" "$settings"
start_game
[ "$(wait_exit 30)" = 255 ] || fail "a failed start did not give the game's status 255"
[ "$(readlink "$settings")" = "$T/nowhere" ] || fail "the launcher replaced a broken settings link"
echo "ok: launcher, settings and window"

# --- the files as packaged ---
out=$(desktop-file-validate "$root/usr/share/applications/frostmoor.desktop" 2>&1) && [ -z "$out" ] ||
    fail "desktop-file-validate: $out"
# The menu's generic name says what the game is, as the package's
# description does.
generic=$(sed -n 's/^GenericName=//p' "$root/usr/share/applications/frostmoor.desktop")
description=$(dpkg-deb -f "$deb" Description | sed -n 1p)
[[ ${description,,} == "${generic,,}: "* ]] ||
    fail "the desktop entry's generic name '$generic' is not what the description '$description' calls the game"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >"$T/appstream" ||
    fail "appstreamcli: $(cat "$T/appstream")"
manual=$root/usr/share/man/man6/frostmoor.6.gz
out=$(man --warnings -l "$manual" 2>&1 >/dev/null) && [ -z "$out" ] || fail "man --warnings: $out"
# Every setting, with its default, is in the manual; it and the metainfo
# name this version.
MANWIDTH=200 man -l "$manual" 2>/dev/null | col -bx >"$T/manual"
grep -q "^Frostmoor $version " "$T/manual" || fail "the manual is not of version $version"
grep -qF "<release version=\"$version\"" "$root"/usr/share/metainfo/*.metainfo.xml ||
    fail "the metainfo lists no release $version"
# The README, with how to win, is the package's documentation.
zgrep -q '^## How to win' "$root/usr/share/doc/frostmoor/README.md.gz" ||
    fail "the package's documentation lacks the README's how to win"
while IFS= read -r line; do
    key=${line% = *} value=${line#* = }
    grep -qF "$key (default $value)" "$T/manual" || fail "the manual lacks '$key (default $value)'"
done < <(grep ' = ' "$data/run/settings.ini")
icon=$(sed -n 's/^Icon=//p' "$root/usr/share/applications/frostmoor.desktop")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon"
for size in 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x$size/apps/$icon.png
    [ -f "$png" ] || fail "no $size-pixel icon $png"
    read -r w h corner mean < <(convert "$png" -format "%w %h %[fx:p{0,0}.a] %[fx:mean.a]\n" info:)
    [ "$w x $h" = "$size x $size" ] || fail "icon $size is $w x $h"
    awk -v c="$corner" -v m="$mean" 'BEGIN { exit !(c == 0 && m > 0.15 && m < 0.85) }' ||
        fail "icon $size: corner alpha $corner, mean alpha $mean: not a figure on a clear background"
done
# The package's font link is relative (dh_link makes it so): it is resolved
# by its path alone, as it will lie once installed.
liberation=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
font=/usr/share/games/frostmoor/assets/fonts/arial.ttf
target=$(readlink "$root$font") || fail "the font is not a link"
[[ $target == /* ]] || target=$(realpath -m -s "${font%/*}/$target")
[ "$target" = "$liberation" ] || fail "the font links to $target, not to $liberation"
[[ $(dpkg-query -S "$liberation") == "fonts-liberation: "* ]] || fail "fonts-liberation does not ship $liberation"
# The data, with the font link, in its own package, of the game's version.
depends=$(dpkg-deb -f "$data_deb" Depends)
grep -qE '^ *fonts-liberation *(\([^)]*\))? *$' <<<"$(tr ',' '\n' <<<"$depends")" ||
    fail "the data package does not depend on fonts-liberation: $depends"
grep -qxF "frostmoor-data (= $source_version)" <<<"$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ *$//')" ||
    fail "the game does not depend on frostmoor-data (= $source_version)"
dpkg-deb -c "$deb" >"$T/game.list"
! grep -qF ./usr/share/games/ "$T/game.list" || fail "the game's package carries data"
[ -z "$(find "$root" -name '*.ttf' -type f)" ] || fail "the package carries a font file"
lintian --pedantic -I --fail-on error,warning,info,pedantic "$deb" "$data_deb" 2>/dev/null ||
    fail "lintian reports tags"
echo "ok: desktop entry, metainfo, manual, icons, font and lintian"

# --- the same installed tree under any prefix ---
cmake --install "$build" --prefix "$T/prefix-a" >/dev/null
cmake --install "$build" --prefix "$T/elsewhere/prefix-b" >/dev/null
listing() { (cd "$1" && find . -printf '%y %m %p %l\n' | sort); }
[ "$(listing "$T/prefix-a")" = "$(listing "$T/elsewhere/prefix-b")" ] &&
    diff -r --no-dereference "$T/prefix-a" "$T/elsewhere/prefix-b" >/dev/null ||
    fail "cmake --install gives different trees under different prefixes"
[ -x "$T/prefix-a/games/frostmoor" ] && [ -x "$T/prefix-a/lib/games/frostmoor/frostmoor" ] ||
    fail "cmake --install: no launcher or game in the tree"
echo "ok: the package"
