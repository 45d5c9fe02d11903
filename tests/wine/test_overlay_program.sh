#!/usr/bin/env bash
# The overlay and cursor-hook programs on their own, driven by companions_probe.exe: frame
# rectangle and shape, colours on the screen, caption, malformed commands, focus, clicks
# through the region, the background backdrop, Close, and the cursor-hook window.
# Usage: test_overlay_program.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

probe="$ZT_TESTBIN/companions_probe.exe"
[ -f "$probe" ] || zt_abort "no companions_probe.exe in '$ZT_TESTBIN'"
cd "$ZT_APP" || zt_abort "no folder $ZT_APP"
zt_run_checks "companions_probe.exe" "$ZT_TMP/probe.log" timeout 120 wine "$probe" --dir "$ZT_APP_WIN"
cd "$ZT_TMP" || zt_abort "no folder $ZT_TMP"
zt_finish
