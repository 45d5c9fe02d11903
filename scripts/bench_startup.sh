#!/usr/bin/env bash
# Start-up time of the shipped program under Wine: from process creation to the main window
# being visible, measured by zdriver (it starts Zelvio.exe itself and polls every 5 ms, so
# its own start-up is not in the figure). Five runs, each from a fresh copy of the folder
# (no settings.ini), after one warm-up run that is not counted. Reports the raw median and
# the part beyond the 500 ms that the program waits after launching the overlay, and writes
# both into docs/benchmarks.md, section "Start-up".
#
# Usage: scripts/bench_startup.sh <Zelvio dist folder> <folder of zdriver.exe> [runs]
# Environment as for the Wine tests: WINEPREFIX, DISPLAY (default: a private Xvfb on :99).
set -u
# shellcheck source=bench-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/bench-lib.sh"
RUNS="${3:-5}"
LAUNCH_WAIT_MS=500

# One start from a fresh copy; prints the milliseconds until the main window showed.
one_run() {
  local copy="$ZT_TMP/run" elapsed
  rm -rf "$copy"
  cp -r "$ZT_DIST" "$copy"
  rm -f "$copy/settings.ini"
  if ! zt_drv start-timed "$(zt_windows_path "$copy")\\Zelvio.exe" "$(zt_windows_path "$copy")" TFormMain 60000; then
    echo "bench: start failed: $ZT_OUT" >&2
    return 1
  fi
  elapsed="$(zt_field elapsed_ms)"
  # Let start-up finish (the overlay gets its region last), then close the program.
  zt_drv wait-window TFormHookCursor FormHookCursor 10000
  sleep 1
  zt_drv close-main
  zt_drv messageboxes-dismiss-all 1500
  if ! zt_drv wait-gone TFormMain - 20000; then
    echo "bench: main window did not close" >&2
    wine_env_kill_in "$copy"
  fi
  sleep 1
  echo "$elapsed"
}

write_report() {
  local runs="$1" med="$2" beyond="$3" load="$4" section="$ZT_TMP/section.md"
  cat >"$section" <<EOF
## Start-up

Time from process creation to the main window being visible, first start (no settings.ini),
Wine $(wine --version 2>/dev/null | head -n 1) on Xvfb 1920x1080x24, $(nproc) cores, measured $(date -u +%Y-%m-%d)
(load average $load when the runs began: the cores are shared, so single runs vary).

| Figure | ms |
|---|---|
| median of $RUNS runs (raw) | $med |
| beyond the ${LAUNCH_WAIT_MS} ms wait after launching the overlay | $beyond |

Runs (ms): $runs

Command: \`scripts/bench_startup.sh <dist folder> <testbin folder>\` (zdriver start-timed
starts Zelvio.exe from a fresh copy of the folder and polls for a visible TFormMain every
5 ms; one warm-up run first, not counted).

EOF
  bench_write_section Start-up "$section"
}

main() {
  one_run >/dev/null || exit 1
  local load
  load="$(cut -d ' ' -f 1-3 /proc/loadavg)"
  local results=() i value
  for i in $(seq 1 "$RUNS"); do
    value="$(one_run)" || exit 1
    echo "run $i: $value ms"
    results+=("$value")
  done
  local med beyond
  med="$(printf '%s\n' "${results[@]}" | bench_median)"
  beyond=$((med - LAUNCH_WAIT_MS))
  echo "median: $med ms; beyond the ${LAUNCH_WAIT_MS} ms launch wait: $beyond ms"
  write_report "${results[*]}" "$med" "$beyond" "$load"
}

zt_init "$@"
main
