#!/usr/bin/env bash
# Runs one test in the lane ctest gave it: the test takes a whole X display and Wine prefix, and
# ctest hands out the lanes of tools/harness/session.sh (its resource file lanes.json) one test
# at a time each. Without a lane from ctest the test runs in the session's own lane 0.
#
#   lane.sh COMMAND [ARGS...]
set -euo pipefail

lane=0
if [ -n "${CTEST_RESOURCE_GROUP_0_LANE:-}" ]; then
    # "id:1,slots:1"
    lane=${CTEST_RESOURCE_GROUP_0_LANE#id:}
    lane=${lane%%,*}
fi
display_var=VELMORA_LANE_${lane}_DISPLAY
prefix_var=VELMORA_LANE_${lane}_PREFIX
log_var=VELMORA_LANE_${lane}_XORG_LOG
if [ -n "${!display_var:-}" ] && [ -n "${!prefix_var:-}" ]; then
    export DISPLAY="${!display_var}" WINEPREFIX="${!prefix_var}"
    export VELMORA_XORG_LOG="${!log_var:-}"
fi
exec "$@"
