#!/usr/bin/env bash
# Runs one command inside a private display and Wine session, then ends everything it started.
#
#   session.sh PREFIX_DIR COMMAND [ARGS...]
#
# Starts Xorg with the dummy driver on a free display number (never one somebody else uses),
# prepares the Wine prefix (tools/harness/prefix.sh), keeps one wineserver alive for the whole
# command, and on exit -- normal, failure or interrupt -- stops the wineserver and the X server.
# The command sees DISPLAY, WINEPREFIX and VELMORA_XORG_LOG.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=$1
shift

mkdir -p "$(dirname "$prefix")"
logdir=$(cd "$(dirname "$prefix")" && pwd)
xorg_pid=""
display=""

cleanup() {
    local status=$?
    trap - EXIT INT TERM
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
    if [ -n "$xorg_pid" ] && kill -0 "$xorg_pid" 2>/dev/null; then
        kill "$xorg_pid" 2>/dev/null || true
        for _ in $(seq 50); do
            kill -0 "$xorg_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$xorg_pid" 2>/dev/null || true
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Starts Xorg on display number $1 and waits until it answers; fails when the number is taken
# (another session may start a server on the same number at the same moment).
start_xorg() {
    local n=$1
    xorg_log="$logdir/xorg$n.log"
    Xorg ":$n" -config "$here/xorg-dummy.conf" -noreset -nolisten tcp -logfile "$xorg_log" \
        >"$xorg_log.out" 2>&1 &
    xorg_pid=$!
    for _ in $(seq 100); do
        kill -0 "$xorg_pid" 2>/dev/null || break
        # Answering is not enough: the server on that number must be ours.
        if [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$xorg_pid" ] &&
            DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
            display=":$n"
            return 0
        fi
        sleep 0.1
    done
    kill "$xorg_pid" 2>/dev/null || true
    wait "$xorg_pid" 2>/dev/null || true
    xorg_pid=""
    return 1
}

# A display number is free when neither its lock file nor its socket exists.
for n in $(seq 70 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] && start_xorg "$n"; then
        break
    fi
done
[ -n "$display" ] || { echo "session: could not start Xorg on a free display, see $logdir" >&2; exit 1; }
export DISPLAY="$display"
export VELMORA_XORG_LOG="$xorg_log"

export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
"$here/prefix.sh" "$prefix"
# The prefix check may leave a short-lived server behind; this session keeps its own.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -p
# Start Wine's background processes now, detached from the command's output streams.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

"$@"
