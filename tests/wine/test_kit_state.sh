#!/usr/bin/env bash
# The filter kit's state changes when parts of them fail, and its locking rule
# (kit_state_test.exe, on tiny filters built from the kit, no graph): a Pause that fails
# halfway leaves the filter as it found it, Stop deactivates every pin and reports the first
# failure, and a streaming step may take the filter lock while Stop waits for the thread; a
# transform with a queue keeps order and times, holds Receive while full, and drops only what
# a flush or Stop throws away; and the screen codec refuses at its connection what it cannot
# encode.
# Usage: test_kit_state.sh <Zelvio dist folder> <testbin folder>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"
zt_run_checks "kit_state_test.exe" "$ZT_TMP/kit_state_test.log" timeout 60 wine "$ZT_TESTBIN/kit_state_test.exe" "$(zt_windows_path "$ZT_DIST/Filters/ScreenCodec.ax")"
zt_finish
