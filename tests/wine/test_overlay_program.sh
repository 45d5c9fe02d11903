#!/usr/bin/env bash
# The overlay and cursor-hook programs on their own, driven by companions_probe.exe: frame
# rectangle and shape, colours on the screen, caption, malformed commands, focus, clicks
# through the region, the background backdrop, Close, and the cursor-hook window.
# Usage: test_overlay_program.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

probe="$ZT_TESTBIN/companions_probe.exe"
[ -f "$probe" ] || zt_abort "no companions_probe.exe in '$ZT_TESTBIN'"
(cd "$ZT_APP" && timeout 120 wine "$probe" --dir "$ZT_APP_WIN" </dev/null >"$ZT_TMP/probe.log" 2>&1)
rc=$?
tr -d '\r' <"$ZT_TMP/probe.log" | grep -E '^(ok|FAIL|#)'
summary="$(tr -d '\r' <"$ZT_TMP/probe.log" | grep -E '^[0-9]+ passed, [0-9]+ failed' | tail -1)"
if [ -z "$summary" ]; then
  zt_fail "probe ran to the end" "exit code $rc, no summary line"
else
  ZT_PASSED=$((ZT_PASSED + ${summary%% passed*}))
  failed="${summary#*, }"
  ZT_FAILED=$((ZT_FAILED + ${failed%% failed*}))
  [ "$rc" = 0 ] || [ "${failed%% failed*}" != 0 ] || zt_fail "probe exit code" "$rc"
fi
zt_finish
