#!/usr/bin/env bash
# Start-up time of Velmora.exe, from process start to the first presented frame, under three name
# services, with the recording stand-in of the update library installed so that the update check
# (and its host lookup) really runs:
#   system    the machine's own resolver configuration
#   answering a local name server that answers at once
#   silent    a local name server that never answers (every lookup runs into its time-out)
# Also prints when the background check reached the library, which shows how long the lookup took.
#
#   tools/bench-startup/bench-startup.sh [BUILD_DIR] [RUNS]      (after `make build BUILD=...`)
#
# Needs root (or user namespaces) for the private network and mount namespaces of the two local
# name servers. Prints figures only; it is not a test.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-10}
bin="$build/win/bin"

if [ "${VELMORA_BENCH_INSIDE:-}" != 1 ]; then
    work=$(mktemp -d /tmp/velmora-bench-startup.XXXXXX)
    trap 'rm -rf "$work"' EXIT
    install="$work/Velmora"
    mkdir -p "$install/update"
    cp "$bin/Velmora.exe" "$bin/RunConfig.dat" "$bin/MachineId.dll" "$install/"
    cp "$bin/standin/full/versync.dll" "$install/update/"
    VELMORA_BENCH_INSIDE=1 VELMORA_BENCH_INSTALL="$install" \
        "$root/tools/harness/session.sh" "$build/wineprefix" "$0" "$build" "$runs"
    exit
fi

install=$VELMORA_BENCH_INSTALL
exe=$(winepath -w "$install/Velmora.exe")
log=$(winepath -w "$install/update/calls.log")
bench=(wine "$bin/bench_startup.exe" "$runs" "$exe" "$log")

# Runs the benchmark in private network and mount namespaces whose only name server is
# fake_dns.py in the given mode on 127.0.0.1.
with_local_name_server() {
    local mode=$1
    shift
    unshare -mn bash -c '
        set -e
        ip link set lo up
        conf=$(mktemp)
        echo "nameserver 127.0.0.1" >"$conf"
        mount --bind "$conf" /etc/resolv.conf
        python3 "$1" "$2" &
        server=$!
        sleep 0.5
        shift 2
        "$@"
        kill $server
        rm -f "$conf"' _ "$here/fake_dns.py" "$mode" "$@"
}

echo "Velmora start-up, $runs runs each (process start -> first visible TALVANE_DLG window)"
echo "-- system name service"
"${bench[@]}"
echo "-- local name service answering at once"
with_local_name_server answer "${bench[@]}"
echo "-- local name service that never answers"
with_local_name_server silent "${bench[@]}"
