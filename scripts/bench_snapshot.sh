#!/usr/bin/env bash
# Snapshot time of the shipped program under Wine: from the Snapshot click to the bitmap
# file on disk, for the default region (864x480) and for full screen (1920x1080), median of
# several runs each, measured by zdriver from inside Wine (time-click posts the click and
# polls the folder every millisecond). Beside each, in the same run and on the same screen,
# the bare cost of the screen copy alone (helpers/blit_timer: BitBlt SRCCOPY from the
# desktop DC into a screen-compatible bitmap of the same size). Writes both into
# docs/benchmarks.md, section "Snapshot", keeping the other sections.
#
# Usage: scripts/bench_snapshot.sh <Zelvio dist folder> <testbin folder> [runs]
# Environment as for the Wine tests: WINEPREFIX, DISPLAY (default: a private Xvfb on :99).
set -u
REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DIST="$(cd "${1:?dist folder}" && pwd)"
TESTBIN="$(cd "${2:?testbin folder}" && pwd)"
RUNS="${3:-9}"
DRIVER="$TESTBIN/zdriver.exe"
BLIT_TIMER="$TESTBIN/blit_timer.exe"
BLIT_COUNT=21
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

median() {
  sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

# Microseconds as milliseconds with one decimal.
ms() {
  awk -v us="$1" 'BEGIN { printf "%.1f", us / 1000 }'
}

start_program() {
  cp -r "$DIST" "$WORK/app"
  rm -f "$WORK/app/settings.ini"
  mkdir -p "$WORK/app/Output/Screenshots"
  (cd "$WORK/app" && exec wine Zelvio.exe </dev/null >"$WORK/zelvio.log" 2>&1) &
  drv wait-window TFormMain - 60000 || { echo "bench: no main window" >&2; return 1; }
  # The overlay gets its rectangle as the last start-up step.
  local i
  for i in $(seq 1 100); do
    drv window-info TFormMainCapturer && [ "$(field rect)" = "$1" ] && return 0
    sleep 0.3
  done
  echo "bench: the overlay never framed $1" >&2
  return 1
}

# click_times N: N snapshot times in microseconds, one a line, each with an empty folder.
click_times() {
  local shots="$WORK/app/Output/Screenshots" i
  for i in $(seq 0 "$1"); do
    rm -f "$shots"/Screenshot_*
    drv time-click JvImgBtnSnapshot "$(windows_path "$shots")" 'Screenshot_*.bmp' 30000 || {
      echo "bench: snapshot failed: $(cat "$WORK/driver.out")" >&2
      return 1
    }
    # The first click warms up; the handler's 50 ms pause ends before the next one.
    [ "$i" -gt 0 ] && field elapsed_us
    sleep 0.5
  done
}

# blit_median LEFT TOP WIDTH HEIGHT: median microseconds of the bare copy.
blit_median() {
  (cd "$WORK" && timeout 120 wine "$BLIT_TIMER" "$@" "$BLIT_COUNT" </dev/null >"$WORK/blit.out" 2>/dev/null)
  sed -n 's/^median_us: //p' "$WORK/blit.out" | tr -d '\r'
}

# measure NAME LEFT TOP WIDTH HEIGHT: sets RESULT_<NAME>_* for the report.
measure() {
  local name="$1" times med blit
  shift
  times="$(click_times "$RUNS")" || exit 1
  med="$(printf '%s\n' "$times" | median)"
  blit="$(blit_median "$@")"
  [ -n "$blit" ] || { echo "bench: blit_timer failed" >&2; exit 1; }
  printf -v "RESULT_${name}_RUNS" '%s' "$(for t in $times; do ms "$t"; echo; done | paste -sd ' ')"
  printf -v "RESULT_${name}_MEDIAN" '%s' "$(ms "$med")"
  printf -v "RESULT_${name}_BLIT" '%s' "$(ms "$blit")"
  echo "$name: click to file median $(ms "$med") ms; bare BitBlt median $(ms "$blit") ms"
}

write_report() {
  local load="$1" doc="$REPO/docs/benchmarks.md" section="$WORK/section.md"
  cat >"$section" <<EOF
## Snapshot

Time from the Snapshot click to the bitmap file on disk, beside the bare screen copy of the
same size measured in the same run (BitBlt SRCCOPY from the desktop DC into a
screen-compatible bitmap, median of $BLIT_COUNT after warm-up). Wine $(wine --version 2>/dev/null | head -n 1)
on Xvfb 1920x1080x24, $(nproc) cores, measured $(date -u +%Y-%m-%d) (load average $load when the
runs began: the cores are shared, so single runs vary).

| Region | click to file, median of $RUNS (ms) | bare BitBlt (ms) |
|---|---|---|
| default, 864x480 | $RESULT_DEFAULT_MEDIAN | $RESULT_DEFAULT_BLIT |
| full screen, 1920x1080 | $RESULT_FULL_MEDIAN | $RESULT_FULL_BLIT |

- runs (ms), default: $RESULT_DEFAULT_RUNS
- runs (ms), full screen: $RESULT_FULL_RUNS

The click-to-file time also holds the overlay's colour command (a synchronous message to
another process), reading the bitmap's pixels back, building the file and writing it under
a temporary name that is then renamed.

Command: \`scripts/bench_snapshot.sh <dist folder> <testbin folder> [runs]\` (zdriver
time-click posts the click and polls the folder every 1 ms; one warm-up click per region,
not counted; the folder is emptied before every click).

EOF
  mkdir -p "$(dirname "$doc")"
  [ -f "$doc" ] || printf '# Benchmarks\n\n' >"$doc"
  # Replace our section (up to the next "## " heading) and keep everything else.
  awk -v section="$section" '
    /^## Snapshot$/ { skipping = 1; while ((getline line < section) > 0) print line; next }
    skipping && /^## / { skipping = 0 }
    !skipping { print }
  ' "$doc" >"$WORK/doc.md"
  grep -q '^## Snapshot$' "$doc" || cat "$section" >>"$WORK/doc.md"
  cp "$WORK/doc.md" "$doc"
  echo "bench: wrote $doc"
}

# Full screen by the dimension radio button; the overlay then frames the whole screen.
switch_to_full_screen() {
  drv select-tab PageControlOptions 0
  drv select-tab PageControlScreen 0
  drv click RadioButtonDimFullscreen
  drv window-info TFormMainCapturer
  [ "$(field rect)" = "-8,-8,1928,1088" ] || {
    echo "bench: full screen not framed ($(field rect))" >&2
    return 1
  }
}

main() {
  [ -f "$DIST/Zelvio.exe" ] || { echo "bench: no Zelvio.exe in $DIST" >&2; exit 1; }
  if [ ! -f "$DRIVER" ] || [ ! -f "$BLIT_TIMER" ]; then
    echo "bench: no zdriver.exe or blit_timer.exe in $TESTBIN" >&2
    exit 1
  fi
  wine_env_begin || exit 1
  WORK="$(mktemp -d /tmp/zelvio-bench-XXXXXX)"
  local load
  load="$(cut -d ' ' -f 1-3 /proc/loadavg)"
  start_program "520,292,1400,788" || exit 1
  measure DEFAULT 528 300 864 480
  switch_to_full_screen || exit 1
  measure FULL 0 0 1920 1080
  drv close-main
  write_report "$load"
}

main
