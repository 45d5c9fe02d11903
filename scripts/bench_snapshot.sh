#!/usr/bin/env bash
# Snapshot time of the shipped program under Wine: from the Snapshot click to the bitmap
# file on disk, for the default region (864x480) and for full screen (1920x1080), median of
# several runs each, measured by zdriver from inside Wine (time-click posts the click and
# polls the folder every millisecond). Beside each, in the same run and on the same screen,
# the bare cost of the screen copy alone (zdesk blit: BitBlt SRCCOPY from the
# desktop DC into a screen-compatible bitmap of the same size). Writes both into
# docs/benchmarks.md, section "Snapshot", keeping the other sections.
#
# Usage: scripts/bench_snapshot.sh <Zelvio dist folder> <testbin folder> [runs]
# Environment as for the Wine tests: WINEPREFIX, DISPLAY (default: a private Xvfb on :99).
set -u
# shellcheck source=bench-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/bench-lib.sh"
RUNS="${3:-9}"
BLIT_COUNT=21

# Microseconds as milliseconds with one decimal.
ms() {
  awk -v us="$1" 'BEGIN { printf "%.1f", us / 1000 }'
}

start_program() {
  mkdir -p "$ZT_APP/Output/Screenshots"
  zt_start_zelvio
  zt_drv wait-window TFormMain - 60000 || { echo "bench: no main window" >&2; return 1; }
  # The overlay gets its rectangle as the last start-up step.
  zt_wait_field 30 rect "$1" window-info TFormMainCapturer && return 0
  echo "bench: the overlay never framed $1" >&2
  return 1
}

# click_times N: N snapshot times in microseconds, one a line, each with an empty folder.
click_times() {
  local shots="$ZT_APP/Output/Screenshots" i
  for i in $(seq 0 "$1"); do
    rm -f "$shots"/Screenshot_*
    zt_drv time-click JvImgBtnSnapshot "$(zt_windows_path "$shots")" 'Screenshot_*.bmp' 30000 || {
      echo "bench: snapshot failed: $ZT_OUT" >&2
      return 1
    }
    # The first click warms up; the handler's 50 ms pause ends before the next one.
    [ "$i" -gt 0 ] && zt_field elapsed_us
    sleep 0.5
  done
}

# blit_median LEFT TOP WIDTH HEIGHT: median microseconds of the bare copy.
blit_median() {
  zh_desk_run blit "$@" "$BLIT_COUNT" && printf '%s\n' "$ZH_OUT" | sed -n 's/^median_us: //p'
}

# measure NAME LEFT TOP WIDTH HEIGHT: sets RESULT_<NAME>_* for the report.
measure() {
  local name="$1" times med blit
  shift
  times="$(click_times "$RUNS")" || exit 1
  med="$(printf '%s\n' "$times" | bench_median)"
  blit="$(blit_median "$@")"
  [ -n "$blit" ] || { echo "bench: zdesk blit failed" >&2; exit 1; }
  printf -v "RESULT_${name}_RUNS" '%s' "$(for t in $times; do ms "$t"; echo; done | paste -sd ' ')"
  printf -v "RESULT_${name}_MEDIAN" '%s' "$(ms "$med")"
  printf -v "RESULT_${name}_BLIT" '%s' "$(ms "$blit")"
  echo "$name: click to file median $(ms "$med") ms; bare BitBlt median $(ms "$blit") ms"
}

write_report() {
  local load="$1" section="$ZT_TMP/section.md"
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
  bench_write_section Snapshot "$section"
}

# Full screen by the dimension radio button; the overlay then frames the whole screen.
switch_to_full_screen() {
  zt_drv select-tab PageControlOptions 0
  zt_drv select-tab PageControlScreen 0
  zt_drv click RadioButtonDimFullscreen
  zt_drv window-info TFormMainCapturer
  [ "$(zt_field rect)" = "-8,-8,1928,1088" ] || {
    echo "bench: full screen not framed ($(zt_field rect))" >&2
    return 1
  }
}

main() {
  local load
  load="$(cut -d ' ' -f 1-3 /proc/loadavg)"
  start_program "520,292,1400,788" || exit 1
  measure DEFAULT 528 300 864 480
  switch_to_full_screen || exit 1
  measure FULL 0 0 1920 1080
  zt_drv close-main
  zt_wait_zelvio_exit 30
  write_report "$load"
}

zt_init "$@"
main
