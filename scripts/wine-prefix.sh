#!/bin/sh
# Create and initialise a 64-bit Wine prefix quietly, non-interactively and
# idempotently, for running the cross-built tests.
#
# Usage: scripts/wine-prefix.sh [--start | --stop] DIR
#
#   DIR      prefix directory (created if missing; its parent must exist or be
#            creatable). A prefix that is already initialised is left as is.
#   --start  also start a persistent wineserver plus Wine's helper processes
#            (services.exe, explorer.exe, ...) for DIR, detached and with their
#            output sent to /dev/null. Without this the first Wine process of
#            each test spawns those helpers; they inherit its stdout/stderr
#            pipe and ctest waits for them to exit (about 2.5 s per test
#            executable instead of about 0.05 s).
#   --stop   stop the wineserver of DIR (and every Wine process in it); no-op
#            if none is running or DIR does not exist.
#
# Environment (optional):
#   WINE              Wine loader (default: wine64 on PATH,
#                     /usr/lib/wine/wine64, then wine).
#   WINE_PERSIST_SECS how long a --start'ed server outlives its last client
#                     (default 120), so a forgotten --stop cannot leak it.
#
# Works as root, without a display (DISPLAY is unset), without HOME, without
# a TTY and with stdin closed. The first run takes about 10 s (Wine 8 on
# 2 cores); the prefix is ~700 MB because Wine copies its builtin DLLs into
# drive_c/windows/system32. Later runs return at once.
#
# Tests then need:  WINEPREFIX=DIR WINEDEBUG=-all DISPLAY= and, to load our own
# version.dll from the test's directory instead of Wine's builtin one,
# WINEDLLOVERRIDES=version=n,b (plain "version=n" also breaks Wine's helper
# processes, which then cannot load shell32: noisy "unimplemented function").
#
# Exit status: 0 prefix ready; 1 failure (message on stderr).

set -u

die() {
    echo "wine-prefix.sh: error: $*" >&2
    exit 1
}

usage="usage: wine-prefix.sh [--start | --stop] DIR"
mode=init
case ${1:-} in
    --start) mode=start; shift ;;
    --stop) mode=stop; shift ;;
    -*) die "$usage" ;;
esac
if [ $# -ne 1 ] || [ -z "$1" ]; then
    die "$usage"
fi

prefix=$1
case $prefix in
    /*) ;;
    *) prefix=$(pwd)/$prefix ;;
esac

wine=${WINE:-}
if [ -z "$wine" ]; then
    for cand in "$(command -v wine64 2>/dev/null)" /usr/lib/wine/wine64 "$(command -v wine 2>/dev/null)"; do
        if [ -n "$cand" ] && [ -x "$cand" ]; then
            wine=$cand
            break
        fi
    done
fi
if [ -z "$wine" ] || [ ! -x "$wine" ]; then
    die "no Wine loader found; install the Debian package wine64 (or set WINE)"
fi

# wineserver lives next to the loader on Debian (/usr/lib/wine/wineserver).
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver 2>/dev/null || true)

if [ "$mode" = stop ]; then
    if [ -d "$prefix" ] && [ -n "$wineserver" ]; then
        WINEPREFIX="$prefix" "$wineserver" -k </dev/null >/dev/null 2>&1 || true
        WINEPREFIX="$prefix" "$wineserver" -w </dev/null >/dev/null 2>&1 || true
    fi
    exit 0
fi

is_ready() {
    [ -f "$prefix/system.reg" ] && [ -f "$prefix/user.reg" ] &&
        [ -f "$prefix/.update-timestamp" ] &&
        [ -e "$prefix/drive_c/windows/system32/kernel32.dll" ]
}

if [ -d "$prefix" ] && [ "$(stat -c %u "$prefix")" != "$(id -u)" ]; then
    die "$prefix is owned by uid $(stat -c %u "$prefix"), not by uid $(id -u); Wine refuses such prefixes"
fi

mkdir -p "$prefix" || die "cannot create $prefix"

# Serialise concurrent callers (parallel ctest, two builds sharing a prefix).
# Every Wine command below gets 9>&- so no long-lived wineserver keeps the lock.
lock=$prefix.lock
if command -v flock >/dev/null 2>&1; then
    exec 9>"$lock" || die "cannot open lock file $lock"
    flock -w 300 9 || die "timed out waiting for lock $lock"
fi

start_server() {
    [ "$mode" = start ] || return 0
    [ -n "$wineserver" ] || die "wineserver not found next to $wine"
    persist=${WINE_PERSIST_SECS:-120}
    # Detached, stdio on /dev/null: nothing may hold ctest's output pipe.
    # Exits 2 (silently) when a server already runs for this prefix: fine, an
    # earlier --start left it; anything else shows up in the wineboot below.
    WINEPREFIX="$prefix" "$wineserver" -p"$persist" </dev/null >/dev/null 2>&1 9>&- || true
    if ! env -u DISPLAY -u WAYLAND_DISPLAY WINEPREFIX="$prefix" WINEDEBUG=-all \
            WINEDLLOVERRIDES="mscoree,mshtml=" \
            "$wine" wineboot </dev/null >/dev/null 2>&1 9>&-; then
        die "'$wine wineboot' failed to start the helper processes for $prefix"
    fi
}

if is_ready; then
    start_server
    exit 0
fi

log=$prefix.init.log
start=$(date +%s)
# DISPLAY unset: no X windows; mscoree/mshtml disabled: no Mono/Gecko install
# prompts; WINEDEBUG=-all: no fixme/err spam (and no wine32 hint on Debian).
if ! env -u DISPLAY -u WAYLAND_DISPLAY \
        WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all \
        WINEDLLOVERRIDES="mscoree,mshtml=" \
        "$wine" wineboot --init </dev/null >"$log" 2>&1 9>&-; then
    cat "$log" >&2
    die "'$wine wineboot --init' failed for $prefix (log: $log)"
fi
# wineboot returns before the wineserver has flushed the registry to disk;
# wait for the server (and the prefix's services) to exit.
if [ -n "$wineserver" ]; then
    WINEPREFIX="$prefix" "$wineserver" -w </dev/null >>"$log" 2>&1 || true
fi

if ! is_ready; then
    cat "$log" >&2
    die "Wine prefix $prefix is incomplete after wineboot (log: $log)"
fi
echo "wine-prefix.sh: initialised $prefix in $(( $(date +%s) - start ))s"
start_server
exit 0
