#!/usr/bin/env bash
# Wine end-to-end test of PushSource.ax in a recording graph.
# Usage: run.sh <build-dir> <WINEPREFIX>
# Starts Xvfb (display $ZELVIO_GRAPHTEST_DISPLAY, default :41) and the wineserver when
# needed, registers the test-only stand-ins, runs graphtest.exe and checks the AVI.
# Prints "N passed, N failed" last; exits non-zero on any failure.
set -u
if [ $# -lt 2 ]; then
  echo "usage: $0 <build-dir> <WINEPREFIX>" >&2
  exit 2
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(cd "$1" && pwd)"
export WINEPREFIX="$(mkdir -p "$2" && cd "$2" && pwd)"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY="${ZELVIO_GRAPHTEST_DISPLAY:-:41}"

work="$(mktemp -d /tmp/zelvio-graphtest.XXXXXX)"
source "$here/../../../scripts/wine-env.sh"
own_display=""
cleanup() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  [ -n "$own_display" ] && wine_env_stop_display "$DISPLAY"
  [ -z "${ZELVIO_KEEP_OUTPUT:-}" ] && rm -rf "$work"
}
trap cleanup EXIT

if ! wine_env_display_alive "$DISPLAY"; then
  wine_env_start_display "$DISPLAY" || { echo "0 passed, 1 failed"; exit 1; }
  own_display=1
fi
wine_env_start_server
wine_env_ensure_prefix || { echo "0 passed, 1 failed"; exit 1; }

bash "$here/../standins/register.sh" "$WINEPREFIX" "$build/testbin/ZelvioTestFilters.dll" >"$work/register.log" 2>&1 \
  || { cat "$work/register.log"; echo "0 passed, 1 failed"; exit 1; }

avi="$work/graphtest.avi"
results="$work/results.txt"
timeout 180 wine "$build/testbin/graphtest.exe" \
  "$(winepath -w "$build/Zelvio/Filters/PushSource.ax")" "$(winepath -w "$avi")" "$(winepath -w "$results")" \
  </dev/null >"$work/graphtest.log" 2>&1
graph_rc=$?
grep -E '^(PASS|FAIL|SKIP|push source)' "$work/graphtest.log"
summary="$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$work/graphtest.log" | tail -1)"
passed="$(echo "$summary" | awk '{print $1}')"
failed="$(echo "$summary" | awk '{print $3}')"
passed="${passed:-0}"
failed="${failed:-1}"
[ "$graph_rc" -ne 0 ] && [ "$failed" -eq 0 ] && failed=1

if [ -s "$avi" ] && [ -s "$results" ]; then
  python3 "$here/check_avi.py" "$avi" "$results" >"$work/check.log" 2>&1
  grep -vE '^[0-9]+ passed, [0-9]+ failed' "$work/check.log"
  summary="$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$work/check.log" | tail -1)"
  passed=$((passed + $(echo "$summary" | awk '{print $1+0}')))
  failed=$((failed + $(echo "${summary:-0 passed, 1 failed}" | awk '{print $3+0}')))
else
  echo "FAIL: no AVI or results written"
  failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
