#!/usr/bin/env bash
# The filter kit's state changes when parts of them fail, and its locking rule
# (kit_state_test.exe, on tiny filters built from the kit, no graph): a Pause that fails
# halfway leaves the filter as it found it, Stop deactivates every pin and reports the first
# failure, and a streaming step may take the filter lock while Stop waits for the thread.
# Usage: test_kit_state.sh <Zelvio dist folder> <testbin folder>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"
zt_run_checks "kit_state_test.exe" "$ZT_TMP/kit_state_test.log" timeout 60 wine "$ZT_TESTBIN/kit_state_test.exe"
zt_finish
