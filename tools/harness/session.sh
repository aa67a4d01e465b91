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

# A display number is free when neither its lock file nor its socket exists.
for n in $(seq 70 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=":$n"
        break
    fi
done
[ -n "$display" ] || { echo "session: no free X display number" >&2; exit 1; }

xorg_log="$logdir/xorg${display#:}.log"
Xorg "$display" -config "$here/xorg-dummy.conf" -noreset -nolisten tcp -logfile "$xorg_log" \
    >"$xorg_log.out" 2>&1 &
xorg_pid=$!
export DISPLAY="$display"
export VELMORA_XORG_LOG="$xorg_log"

for _ in $(seq 100); do
    if xdpyinfo >/dev/null 2>&1; then
        break
    fi
    kill -0 "$xorg_pid" 2>/dev/null || { echo "session: Xorg failed, see $xorg_log" >&2; exit 1; }
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || { echo "session: Xorg did not answer on $display" >&2; exit 1; }

export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
"$here/prefix.sh" "$prefix"
wineserver -p
# Start Wine's background processes now, detached from the command's output streams.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

"$@"
