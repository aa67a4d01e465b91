#!/usr/bin/env bash
# Runs one command inside private displays and Wine sessions, then ends everything it started.
#
#   [VELMORA_LANES=N] session.sh PREFIX_DIR COMMAND [ARGS...]
#
# Lane 0 is Xorg with the dummy driver on a free display number (never one somebody else uses)
# and the Wine prefix PREFIX_DIR (prepared by tools/harness/prefix.sh) with one wineserver kept
# alive for the whole command. VELMORA_LANES (default 1) asks for more lanes, each with its own
# X server, prefix (PREFIX_DIR-lane<i>) and wineserver, so that tests which take a whole display
# and prefix can run side by side: the command sees VELMORA_LANE_<i>_DISPLAY, _PREFIX and
# _XORG_LOG for each, and ctest's resource file PREFIX_DIR/../lanes.json lists them (see
# tools/harness/lane.sh). On exit -- normal, failure or interrupt -- every wineserver and X
# server of the session stops. The command itself sees lane 0 as DISPLAY, WINEPREFIX and
# VELMORA_XORG_LOG.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=$1
shift
lanes=${VELMORA_LANES:-1}
[[ "$lanes" =~ ^[1-9][0-9]*$ ]] || lanes=1

mkdir -p "$(dirname "$prefix")"
logdir=$(cd "$(dirname "$prefix")" && pwd)
xorg_pids=()
lane_prefixes=()

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

cleanup() {
    local status=$?
    trap - EXIT INT TERM
    local lane_prefix pid
    for lane_prefix in "${lane_prefixes[@]}"; do
        if [ -d "$lane_prefix" ]; then
            WINEPREFIX="$lane_prefix" wineserver -k >/dev/null 2>&1 || true
            WINEPREFIX="$lane_prefix" wineserver -w >/dev/null 2>&1 || true
        fi
    done
    for pid in "${xorg_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${xorg_pids[@]}"; do
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
    done
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Starts Xorg on display number $1 and waits until it answers; fails when the number is taken
# (another session may start a server on the same number at the same moment). Sets `display`,
# `xorg_log` and adds the server to the ones cleanup stops.
start_xorg() {
    local n=$1 pid
    xorg_log="$logdir/xorg$n.log"
    Xorg ":$n" -config "$here/xorg-dummy.conf" -noreset -nolisten tcp -logfile "$xorg_log" \
        >"$xorg_log.out" 2>&1 &
    pid=$!
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        # Answering is not enough: the server on that number must be ours.
        if [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")" = "$pid" ] &&
            DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
            display=":$n"
            xorg_pids+=("$pid")
            return 0
        fi
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    return 1
}

# A display number is free when neither its lock file nor its socket exists.
start_free_xorg() {
    display=""
    for n in $(seq 70 199); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] && start_xorg "$n"; then
            return 0
        fi
    done
    echo "session: could not start Xorg on a free display, see $logdir" >&2
    exit 1
}

# One lane: its X server, its prepared prefix and the wineserver kept for the whole session.
start_lane() {
    local lane_prefix=$1
    start_free_xorg
    lane_prefixes+=("$lane_prefix")
    DISPLAY="$display" "$here/prefix.sh" "$lane_prefix"
    # The prefix check may leave a short-lived server behind; this session keeps its own.
    export DISPLAY="$display" WINEPREFIX="$lane_prefix"
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wineserver -p
    # Start Wine's background processes now, detached from the command's output streams.
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

resources="{\"version\": {\"major\": 1, \"minor\": 0}, \"local\": [{\"lane\": ["
for ((lane = lanes - 1; lane >= 0; lane--)); do
    if [ "$lane" = 0 ]; then
        lane_prefix=$prefix
    else
        lane_prefix=$prefix-lane$lane
    fi
    start_lane "$lane_prefix"
    export "VELMORA_LANE_${lane}_DISPLAY=$display" "VELMORA_LANE_${lane}_PREFIX=$lane_prefix" \
        "VELMORA_LANE_${lane}_XORG_LOG=$xorg_log"
    resources+="{\"id\": \"$lane\", \"slots\": 1}"
    [ "$lane" = 0 ] || resources+=", "
done
echo "$resources]}]}" >"$logdir/lanes.json"
# Lane 0, started last, is the command's own.
export VELMORA_XORG_LOG="$xorg_log"

"$@"
