#!/usr/bin/env bash
# Sound and picture in step, again and again: the recording with sound of the recording
# test (nine runs, eight pauses of 0.3 to 1.5 s) made ROUNDS times in a row in one program
# session, optionally with a busy loop on every core. Prints the worst click offset of
# every round and fails if any round failed.
#
# Usage: scripts/soak_av.sh [--load] [ROUNDS]     (after a Windows build; default 20 rounds)
# Environment as for the Wine tests: WINEPREFIX, DISPLAY. SOAK_DIST names another program
# folder to soak (for example a copy with testbin/PushSourceTimed.ax as its push source and
# ZELVIO_FILTER_TIMES set, to see each grab's timing).
set -u
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
load=0
if [ "${1:-}" = "--load" ]; then
  load=1
  shift
fi
rounds="${1:-20}"
log="$repo/build/soak_av.log"

hogs=()
stop_hogs() {
  [ ${#hogs[@]} -gt 0 ] && kill "${hogs[@]}" 2>/dev/null
  hogs=()
}
trap stop_hogs EXIT
if [ "$load" = 1 ]; then
  for _ in $(seq 1 "$(nproc)"); do
    bash -c 'while :; do :; done' &
    hogs+=($!)
  done
  echo "soak: busy loops on $(nproc) cores (pids ${hogs[*]})"
fi

ZR_AV_ROUNDS="$rounds" bash "$repo/tests/wine/test_recording.sh" "${SOAK_DIST:-$repo/build/win/Zelvio}" "$repo/build/win/testbin" \
  >"$log" 2>&1
rc=$?
stop_hogs
awk '/^# round / { round = $3 } /^worst offset: / { printf "round %s: worst offset %s ms\n", round, $3 }' "$log"
grep -E '^FAIL' "$log"
tail -n 1 "$log"
echo "soak: log in $log"
exit "$rc"
