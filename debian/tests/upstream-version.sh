# shellcheck shell=bash
# The version that the game's own files name (the launcher's --version, the
# manual, the metainfo), from a package's: without an epoch ("1:"), a
# binary-only rebuild's suffix ("+b1") or a Debian revision ("-1").
upstream_version() {
    local version=${1#*:}
    [[ $version =~ ^(.*)\+b[0-9]+$ ]] && version=${BASH_REMATCH[1]}
    printf '%s\n' "${version%-*}"
}
