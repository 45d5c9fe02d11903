#!/usr/bin/env bash
# PushSource.ax in a recording graph with the test-only stand-ins: graphtest.exe builds and
# runs it (recording, pause and resume), then check_avi.py checks the AVI frame by frame.
# Once more with the multimedia scheduler's library switched off, the streaming thread's
# fallback: above normal priority.
# Usage: test_pushsource_graph.sh <Zelvio dist folder> <testbin folder>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

avi="$ZT_TMP/graphtest.avi"
results="$ZT_TMP/results.txt"
zt_run_checks "graphtest.exe" "$ZT_TMP/graphtest.log" timeout 180 wine "$ZT_TESTBIN/graphtest.exe" \
  "$(zt_windows_path "$ZT_APP/Filters/PushSource.ax")" "$(zt_windows_path "$avi")" "$(zt_windows_path "$results")"
if [ -s "$avi" ] && [ -s "$results" ]; then
  zt_run_checks "check_avi.py" "$ZT_TMP/check.log" python3 "$ZT_REPO/tests/wine/graphtest/check_avi.py" "$avi" "$results"
else
  zt_fail "graphtest.exe wrote the AVI and its results"
fi
zt_run_checks "graphtest.exe --priority, no scheduler library" "$ZT_TMP/priority.log" \
  env WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}avrt=d" timeout 60 wine "$ZT_TESTBIN/graphtest.exe" --priority
zt_finish
