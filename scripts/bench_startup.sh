#!/usr/bin/env bash
# Start-up time of the shipped program under Wine: from process creation to the main window
# being visible, measured by zdriver (it starts the program itself and polls every 5 ms, so
# its own start-up is not in the figure). Each round starts, one after the other:
#   - the yardstick: zdesk bare, a program that only opens one window, once from the testbin
#     folder and once from a copy made just before;
#   - Zelvio.exe from a fresh copy of the folder (no settings.ini);
#   - Zelvio.exe from one copy made before the warm-up round, started where it lies like
#     the first bare window, with what each run wrote there (settings.ini, output folders)
#     removed after it, so every start is a first start;
#   - the traced build (the same code with its start-up marks written to a file) as
#     Zelvio.exe in a fresh copy, for the step-by-step profile.
# One warm-up round first, not counted. Reports the medians, the part of Zelvio's time
# beyond the 500 ms it waits after launching the overlay, that part as a multiple of each
# bare window, and the profile; writes them into docs/benchmarks.md, section "Start-up".
#
# Usage: scripts/bench_startup.sh <Zelvio dist folder> <testbin folder> [runs]
# Environment as for the Wine tests: WINEPREFIX, DISPLAY (default: a private Xvfb on :99).
set -u
# shellcheck source=bench-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/bench-lib.sh"
RUNS="${3:-5}"
LAUNCH_WAIT_MS=500

# Closes what start-timed left running and waits until it is gone.
close_bare() {
  zt_drv post-close ZDeskBare
  zt_drv wait-gone ZDeskBare - 10000 || echo "bench: bare window did not close" >&2
}

close_zelvio() {
  local copy="$1"
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
}

# bare_run [fresh]: prints the milliseconds until the bare window showed. Started from the
# testbin folder (the partner of Zelvio where it lies), or with "fresh" from a copy made
# just before (the partner of Zelvio's fresh copy): under Wine on this machine a program
# copied a moment ago starts measurably slower than one started before from where it lies.
bare_run() {
  local folder="$ZT_TESTBIN" elapsed
  if [ "${1:-}" = fresh ]; then
    folder="$ZT_TMP/bare"
    rm -rf "$folder"
    mkdir -p "$folder"
    cp "$ZT_TESTBIN/zdesk.exe" "$folder/zdesk.exe"
  fi
  if ! zt_drv start-timed "$(zt_windows_path "$folder")\\zdesk.exe" "$(zt_windows_path "$folder")" \
    ZDeskBare 60000 "bare 60"; then
    echo "bench: bare window failed: $ZT_OUT" >&2
    return 1
  fi
  elapsed="$(zt_field elapsed_ms)"
  close_bare
  sleep 1
  echo "$elapsed"
}

# The copy started where it lies, and the list of what it held before its first start.
LYING="$ZT_TMP/lying"

make_lying_copy() {
  rm -rf "$LYING"
  cp -r "$ZT_DIST" "$LYING"
  rm -f "$LYING/settings.ini"
  (cd "$LYING" && find . | sort) >"$ZT_TMP/lying.list"
}

# Removes whatever a run left in the lying copy (settings, output folders, notes).
clean_lying_copy() {
  local path
  (cd "$LYING" && find . | sort) | comm -13 "$ZT_TMP/lying.list" - | while IFS= read -r path; do
    rm -rf "${LYING:?}/$path"
  done
}

# zelvio_run [TRACE|lying]: one start of Zelvio.exe from a fresh copy, or with "lying" from
# the copy that lies there since before the warm-up; prints the milliseconds until the main
# window showed. With TRACE, the copy's Zelvio.exe is the traced build (under the shipped
# name: the same binary started under another name was faster here, for reasons not found),
# and its marks go to TRACE after a first line "start <us>" that places the process
# creation on the same counter.
zelvio_run() {
  local trace="${1:-}" copy="$ZT_TMP/run" elapsed start
  if [ "$trace" = lying ]; then
    trace=""
    copy="$LYING"
    clean_lying_copy
  else
    rm -rf "$copy"
    cp -r "$ZT_DIST" "$copy"
    rm -f "$copy/settings.ini"
  fi
  [ -z "$trace" ] || cp "$ZT_TESTBIN/ZelvioTraced.exe" "$copy/Zelvio.exe"
  if ! zt_drv start-timed "$(zt_windows_path "$copy")\\Zelvio.exe" "$(zt_windows_path "$copy")" TFormMain 60000; then
    echo "bench: start failed: $ZT_OUT" >&2
    return 1
  fi
  elapsed="$(zt_field elapsed_ms)"
  start="$(zt_field start_us)"
  close_zelvio "$copy"
  if [ -n "$trace" ]; then
    if [ -f "$copy/startup-trace.txt" ]; then
      { echo "start $start"; tr -d '\r' <"$copy/startup-trace.txt"; } >"$trace"
    else
      echo "bench: no trace from the traced build" >&2
    fi
  fi
  [ "$copy" = "$LYING" ] && clean_lying_copy
  echo "$elapsed"
}

ratio() {
  awk -v b="$1" -v w="$2" 'BEGIN { printf "%.2f", (w > 0 ? b / w : 0) }'
}

write_report() {
  local bare="$1" fresh="$2" plain="$3" traced="$4" bare_med="$5" fresh_med="$6" med="$7" beyond="$8"
  local load="$9" profile="${10}" lying="${11}" lying_med="${12}" section="$ZT_TMP/section.md"
  local lying_beyond=$((lying_med - LAUNCH_WAIT_MS))
  cat >"$section" <<REPORT
## Start-up

Time from process creation to the main window being visible, first start (no settings.ini),
beside a bare window measured in the same rounds, Wine $(wine --version 2>/dev/null | head -n 1)
on Xvfb 1920x1080x24, $(nproc) cores, measured $(date -u +%Y-%m-%d) (load average $load when
the runs began: the cores are shared with other work, so single runs vary).

| Figure | ms | Zelvio beyond the ${LAUNCH_WAIT_MS} ms wait, as a multiple |
|---|---|---|
| bare window (zdesk bare: one window, nothing else), started where it lies, median of $RUNS | $bare_med | $(ratio "$beyond" "$bare_med") |
| bare window, started from a copy made just before (like Zelvio's fresh copy), median of $RUNS | $fresh_med | $(ratio "$beyond" "$fresh_med") |
| Zelvio from a fresh copy, median of $RUNS | $med | |
| Zelvio from a fresh copy, beyond the ${LAUNCH_WAIT_MS} ms wait after launching the overlay | $beyond | |
| Zelvio started where it lies (what each run wrote removed after it), median of $RUNS | $lying_med | |
| Zelvio where it lies, beyond the ${LAUNCH_WAIT_MS} ms wait | $lying_beyond | $(ratio "$lying_beyond" "$bare_med") times the bare window where it lies |

Like with like: Zelvio from a fresh copy against the bare window from a fresh copy
($(ratio "$beyond" "$fresh_med") times), Zelvio where it lies against the bare window where it lies
($(ratio "$lying_beyond" "$bare_med") times). The other two ratios in the table compare a fresh
copy with a program that lies where it was started before.

Runs (ms), bare window where it lies: $bare
Runs (ms), bare window from a fresh copy: $fresh
Runs (ms), Zelvio from a fresh copy: $plain
Runs (ms), Zelvio where it lies: $lying
Runs (ms), Zelvio's traced build (the profile below): $traced

### Where the time goes

$profile

"Step took" is the time since the mark above it, so a row holds the work between two marks;
the first row is Wine creating the process and loading the program up to its entry point.

Command: \`scripts/bench_startup.sh <dist folder> <testbin folder> [runs]\` (zdriver
start-timed starts each program from inside Wine and polls for its visible window every
5 ms; Zelvio from a fresh copy of the folder and from a copy made before the warm-up, whose
settings.ini and output folders are removed after each run; one warm-up round first, not
counted; each round runs the two bare windows, the two Zelvio starts and the traced Zelvio
(from a fresh copy) one after the other; the
traced build, testbin/ZelvioTraced.exe, is the shipped code linked with a recorder behind
its start-up marks, which writes them once the start-up is over, and runs as Zelvio.exe).

REPORT
  bench_write_section Start-up "$section"
}

main() {
  make_lying_copy
  bare_run >/dev/null || exit 1
  bare_run fresh >/dev/null || exit 1
  zelvio_run >/dev/null || exit 1
  zelvio_run lying >/dev/null || exit 1
  local load
  load="$(cut -d ' ' -f 1-3 /proc/loadavg)"
  local bares=() freshes=() plains=() lyings=() traceds=() traces=() i value
  for i in $(seq 1 "$RUNS"); do
    value="$(bare_run)" || exit 1
    bares+=("$value")
    value="$(bare_run fresh)" || exit 1
    freshes+=("$value")
    value="$(zelvio_run)" || exit 1
    plains+=("$value")
    value="$(zelvio_run lying)" || exit 1
    lyings+=("$value")
    value="$(zelvio_run "$ZT_TMP/trace-$i.txt")" || exit 1
    traceds+=("$value")
    [ -f "$ZT_TMP/trace-$i.txt" ] && traces+=("$ZT_TMP/trace-$i.txt")
    echo "round $i: bare ${bares[-1]} ms, bare from a fresh copy ${freshes[-1]} ms, Zelvio ${plains[-1]} ms, where it lies ${lyings[-1]} ms, traced ${traceds[-1]} ms"
  done
  local bare_med fresh_med med beyond profile lying_med
  bare_med="$(printf '%s\n' "${bares[@]}" | bench_median)"
  fresh_med="$(printf '%s\n' "${freshes[@]}" | bench_median)"
  med="$(printf '%s\n' "${plains[@]}" | bench_median)"
  lying_med="$(printf '%s\n' "${lyings[@]}" | bench_median)"
  beyond=$((med - LAUNCH_WAIT_MS))
  profile="$(python3 "$(dirname "${BASH_SOURCE[0]}")/startup_profile.py" "${traces[@]}")"
  echo "bare window: $bare_med ms ($(ratio "$beyond" "$bare_med") x), from a fresh copy: $fresh_med ms ($(ratio "$beyond" "$fresh_med") x); Zelvio: $med ms, beyond the ${LAUNCH_WAIT_MS} ms wait: $beyond ms; where it lies: $lying_med ms ($(ratio $((lying_med - LAUNCH_WAIT_MS)) "$bare_med") x); load $load"
  echo "$profile"
  write_report "${bares[*]}" "${freshes[*]}" "${plains[*]}" "${traceds[*]}" "$bare_med" "$fresh_med" "$med" \
    "$beyond" "$load" "$profile" "${lyings[*]}" "$lying_med"
}

zt_init "$@"
main
