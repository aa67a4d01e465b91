#!/usr/bin/env bash
# `make bench`: every benchmark, each printing its own figures (none of them is a test).
#
#   tools/bench.sh BUILD_DIR
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "$1" && pwd)
bin="$build/win/bin"

if [ "${VELMORA_BENCH_SESSION:-}" != 1 ]; then
    VELMORA_BENCH_SESSION=1 "$root/tools/harness/session.sh" "$build/wineprefix" "$0" "$build"
    echo
    echo "== Start-up under three name services"
    "$root/tools/bench-startup/bench-startup.sh" "$build" 10
    exit 0
fi

# The simulated card reads and rewrites its state file on every driver call, which no driver does:
# the start-up benchmarks keep it in memory so that they measure the program.
# An optional scenario names the card (default: today's ATIDL card).
quiet_card() {
    local folder="$WINEPREFIX/drive_c/velmora-sim"
    mkdir -p "$folder"
    rm -f "$folder/state.ini" "$folder/calls.log"
    printf '[Sim]\r\nScenario=%s\r\nMemory=1\r\nLog=0\r\n' "${1:-Default}" >"$folder/state.ini"
}

cd "$bin"
echo "== Skin images: compressed size and decoding"
wine skinbench.exe
echo
echo "== Slider step against a bare presentation"
wine bench_toolkit.exe
echo
echo "== First frame: Velmora.exe against the floor program"
quiet_card
wine bench_firstframe.exe 45 TALVANE_DLG "$(winepath -w "$bin/Velmora.exe")" \
    VELMORA_FLOOR_WINDOW "$(winepath -w "$bin/floor_window.exe")"
echo
echo "== Opening each page the first time, against a bare full-surface presentation"
wine bench_pages.exe 15
echo
echo "== One gamma slider step on the display-quality page, against a bare presentation"
wine bench_gamma.exe 200
echo
echo "== A core-clock hotkey handled by the main window, against the driver's clock write alone,"
echo "   on the card of each Overdrive generation"
for scenario in Default Od5 Od6 OdN Od8; do
    quiet_card "$scenario"
    wine bench_hotkey.exe 200
done
quiet_card
echo
echo "== The same hotkey from the key event on the X server to the card's new clock"
VELMORA_BIN="$bin" python3 "$root/tools/bench-hotkey/key_to_driver.py" 200
echo
echo "== Idle cost on a page: program, wineserver and X server, against a bare window with two timers"
VELMORA_BIN="$bin" python3 "$root/tools/bench-idle/idle_cost.py" 60
