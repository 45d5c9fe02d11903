#!/usr/bin/env bash
# Creates the project-local 64-bit Wine prefix once (build/wineprefix).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] && exit 0
mkdir -p "$WINEPREFIX"
echo "setup: creating Wine prefix in $WINEPREFIX"
# The helpers wineboot starts inherit our standard handles: keep them on files.
wine wineboot -i </dev/null >"$WINEPREFIX.boot.log" 2>&1 || true
# Wait for the server to save the new registry and go away.
wineserver -w </dev/null >/dev/null 2>&1 || true
