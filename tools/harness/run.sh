#!/usr/bin/env bash
# `make run`: starts Velmora.exe on the user's X display, or, without one, on a private X server
# where it takes a screenshot of the window and then stops everything it started.
#
#   run.sh PREFIX_DIR BIN_DIR SCREENSHOT_DIR
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=$1
bin=$2
shots=$3

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export WINEPREFIX="$prefix"
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    "$here/prefix.sh" "$prefix"
    exec wine "$bin/Velmora.exe" "$@"
fi

echo "No X display: starting a private one and taking a screenshot."
VELMORA_BIN="$bin" VELMORA_SCREENSHOTS="$shots" \
    "$here/session.sh" "$prefix" /usr/bin/python3 "$here/screenshot_run.py"
