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
REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DIST="$(cd "${1:?dist folder}" && pwd)"
TESTBIN="$(cd "${2:?testbin folder}" && pwd)"
RUNS="${3:-5}"
DRIVER="$TESTBIN/zdriver.exe"
LAUNCH_WAIT_MS=500
# shellcheck source=wine-env.sh
source "$REPO/scripts/wine-env.sh"

WORK=""

cleanup() {
  if [ -n "$WORK" ]; then
    wine_env_kill_in "$WORK"
    rm -rf "$WORK"
  fi
  wine_env_end
}
trap cleanup EXIT

drv() {
  timeout 90 wine "$DRIVER" "$@" </dev/null >"$WORK/driver.out" 2>/dev/null
}

field() {
  sed -n "s/^$1: //p" "$WORK/driver.out" | tr -d '\r' | head -n 1
}

windows_path() {
  echo "Z:$1" | tr '/' '\\'
}

# One start from a fresh copy; prints the milliseconds until the main window showed.
one_run() {
  local copy="$WORK/run" elapsed
  rm -rf "$copy"
  cp -r "$DIST" "$copy"
  rm -f "$copy/settings.ini"
  if ! drv start-timed "$(windows_path "$copy")\\Zelvio.exe" "$(windows_path "$copy")" TFormMain 60000; then
    echo "bench: start failed: $(cat "$WORK/driver.out")" >&2
    return 1
  fi
  elapsed="$(field elapsed_ms)"
  # Let start-up finish (the overlay gets its region last), then close the program.
  drv wait-window TFormHookCursor FormHookCursor 10000
  sleep 1
  drv close-main
  drv messageboxes-dismiss-all 1500
  if ! drv wait-gone TFormMain - 20000; then
    echo "bench: main window did not close" >&2
    wine_env_kill_in "$copy"
  fi
  sleep 1
  echo "$elapsed"
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

write_report() {
  local runs="$1" med="$2" beyond="$3" load="$4" doc="$REPO/docs/benchmarks.md" section
  section="$WORK/section.md"
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
  mkdir -p "$(dirname "$doc")"
  if [ ! -f "$doc" ]; then
    printf '# Benchmarks\n\n' >"$doc"
  fi
  # Replace our section (up to the next "## " heading) and keep everything else.
  awk -v section="$section" '
    /^## Start-up$/ { skipping = 1; while ((getline line < section) > 0) print line; next }
    skipping && /^## / { skipping = 0 }
    !skipping { print }
  ' "$doc" >"$WORK/doc.md"
  if ! grep -q '^## Start-up$' "$doc"; then
    cat "$section" >>"$WORK/doc.md"
  fi
  cp "$WORK/doc.md" "$doc"
  echo "bench: wrote $doc"
}

main() {
  [ -f "$DIST/Zelvio.exe" ] || { echo "bench: no Zelvio.exe in $DIST" >&2; exit 1; }
  [ -f "$DRIVER" ] || { echo "bench: no zdriver.exe in $TESTBIN" >&2; exit 1; }
  wine_env_begin || exit 1
  WORK="$(mktemp -d /tmp/zelvio-bench-XXXXXX)"
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
  med="$(printf '%s\n' "${results[@]}" | median)"
  beyond=$((med - LAUNCH_WAIT_MS))
  echo "median: $med ms; beyond the ${LAUNCH_WAIT_MS} ms launch wait: $beyond ms"
  write_report "${results[*]}" "$med" "$beyond" "$load"
}

main
