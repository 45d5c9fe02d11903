#!/usr/bin/env bash
# The layered-window timer ("Enable (Capture)") against another program's translucent
# windows (zdesk layered, tests/wine/desk/desk_layered.cpp, all WS_EX_LAYERED | WS_EX_APPWINDOW):
# the spin edit keeps typed values within 100..5000; with the option on at 200 ms the
# visible titled window loses WS_EX_LAYERED within 1 s and keeps every other bit, the
# minimised, the hidden and the untitled ones keep it, and so does the first top-level
# "Button" window when there is no taskbar; the sweep runs every 200 ms.
# The option and its period survive a restart (the timer runs, the spin edit is disabled);
# switching it off stops the sweep and enables the spin edit, and changed windows stay
# changed.
# Usage: test_transparency.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

PERIOD_MS=200
# Timer messages under load are late by some tens of milliseconds, never by a period.
PERIOD_SLACK_MS=50
VISIBLE_EXSTYLE=""

now_ms() {
  echo $(($(date +%s%N) / 1000000))
}

# exstyle_of "title": the layered helper window's extended style.
exstyle_of() {
  zt_drv window-exstyle ZelvioTestLayered "$1" >/dev/null && zt_field exstyle
}

open_layered_windows() {
  zh_desk layered 120
  zt_check "layered windows open" zt_drv wait-window ZelvioTestLayered "Layered period" 20000 || zt_finish
  zt_drv window-exstyle ZelvioTestLayered "Layered visible"
  VISIBLE_EXSTYLE="$(zt_field exstyle)"
  zt_expect_eq "visible window: layered, app window, shown" "1 1 1" \
    "$(zt_field layered) $(zt_field appwindow) $(zt_field visible)"
  zt_drv window-exstyle ZelvioTestLayered "Layered minimised"
  zt_expect_eq "minimised window: layered, iconic" "1 1" "$(zt_field layered) $(zt_field iconic)"
}

# type_period typed expected: the spin edit's text after typing and leaving the box.
type_period() {
  if zt_drv set-text SpinEditTransparencyClock "$1"; then
    zt_expect_field "typed $1, the spin edit shows $2" text "$2"
  else
    zt_fail "typed $1" "$(zt_error_text)"
  fi
}

# The gaps between the helper's "cleared_ms" lines after the given line count.
period_gaps() {
  sed -n 's/^cleared_ms: //p' "$ZT_TMP/layered.out" | tr -d '\r' | tail -n +"$(($1 + 1))" |
    awk 'NR > 1 { print $1 - last } { last = $1 }'
}

cleared_count() {
  grep -c '^cleared_ms: ' "$ZT_TMP/layered.out"
}

# expect_period "what": the median gap of the next sweeps is the period.
expect_period() {
  local what="$1" start median
  start="$(cleared_count)"
  sleep 2.5
  median="$(period_gaps "$start" | sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }')"
  if [ -n "$median" ] && [ "$median" -ge $((PERIOD_MS - PERIOD_SLACK_MS)) ] && [ "$median" -le $((PERIOD_MS + PERIOD_SLACK_MS)) ]; then
    zt_pass "$what: sweeps every ${median} ms (period $PERIOD_MS)"
  else
    zt_fail "$what: sweeps every $PERIOD_MS ms" "gaps: $(period_gaps "$start" | paste -sd ' ')"
  fi
}

switch_on() {
  local start end style
  zt_act "General tab" zt_drv select-tab PageControlOptions 3
  type_period 50 100
  type_period 9999 5000
  type_period abc 100
  type_period "$PERIOD_MS" "$PERIOD_MS"
  start="$(now_ms)"
  zt_act "Enable (Capture) clicked" zt_drv click CheckBoxEnableCaptureTransparency
  while :; do
    style="$(exstyle_of "Layered visible")"
    end="$(now_ms)"
    [ -n "$style" ] && [ $((style & 0x80000)) = 0 ] && break
    [ $((end - start)) -gt 1500 ] && break
    sleep 0.05
  done
  if [ -n "$style" ] && [ $((style & 0x80000)) = 0 ] && [ $((end - start)) -le 1000 ]; then
    zt_pass "the visible window loses WS_EX_LAYERED within 1 s ($((end - start)) ms)"
  else
    zt_fail "the visible window loses WS_EX_LAYERED within 1 s" "exstyle '$style' after $((end - start)) ms"
  fi
  zt_expect_eq "its other bits are unchanged" "$(printf '0x%x' $((VISIBLE_EXSTYLE & ~0x80000)))" "$style"
  zt_expect_control CheckBoxEnableCaptureTransparency checked 1 "Enable (Capture) checked"
  zt_expect_control SpinEditTransparencyClock enabled 0 "the spin edit is disabled while on"
}

# Several periods later the windows the sweep must pass over are still layered.
check_spared_windows() {
  sleep 1
  zt_drv window-exstyle ZelvioTestLayered "Layered minimised"
  zt_expect_eq "minimised window keeps WS_EX_LAYERED" "1 1" "$(zt_field layered) $(zt_field iconic)"
  zt_drv window-exstyle ZelvioTestLayered "Layered hidden"
  zt_expect_eq "hidden window keeps WS_EX_LAYERED" "1 0" "$(zt_field layered) $(zt_field visible)"
  zt_drv window-exstyle ZelvioTestLayeredUntitled
  zt_expect_eq "untitled window keeps WS_EX_LAYERED" "1 1" "$(zt_field layered) $(zt_field visible)"
  # With no taskbar the look-up of the taskbar's button has no parent and finds the first
  # top-level "Button" window, which is spared like the taskbar's own button.
  if zt_drv window-info Shell_TrayWnd; then
    zt_skip "first top-level Button window spared" "a taskbar exists on this display"
  else
    zt_drv window-exstyle Button "Layered button"
    zt_expect_eq "no taskbar: the first top-level Button window keeps WS_EX_LAYERED" "1 1" \
      "$(zt_field layered) $(zt_field visible)"
  fi
}

check_restart_keeps_option() {
  zh_close "first run"
  zt_expect_eq "settings.ini: option stored on" TRUE \
    "$(zh_ini_value "$ZT_APP/settings.ini" CheckBoxEnableCaptureTransparency_Checked)"
  zt_expect_eq "settings.ini: period stored" "$PERIOD_MS" \
    "$(zh_ini_value "$ZT_APP/settings.ini" SpinEditTransparencyClock_Value)"
  zt_expect_eq "settings.ini: spin edit stored disabled" FALSE \
    "$(zh_ini_value "$ZT_APP/settings.ini" SpinEditTransparencyClock_Enabled)"
  zh_start_ready "$ZH_DEFAULT_RECT" "second run"
  zt_expect_control CheckBoxEnableCaptureTransparency checked 1 "after restart: option on"
  zt_expect_control SpinEditTransparencyClock enabled 0 "after restart: spin edit disabled"
  zt_expect_field "after restart: spin edit shows the period" text "$PERIOD_MS"
  expect_period "after restart"
}

check_switch_off() {
  local before
  zt_act "General tab" zt_drv select-tab PageControlOptions 3
  zt_act "Enable (Capture) clicked off" zt_drv click CheckBoxEnableCaptureTransparency
  zt_expect_control SpinEditTransparencyClock enabled 1 "off: spin edit enabled again"
  sleep 0.5
  before="$(cleared_count)"
  sleep 1.5
  zt_expect_eq "off: no more sweeps" "$before" "$(cleared_count)"
  zt_drv window-exstyle ZelvioTestLayered "Layered visible"
  zt_expect_field "off: the changed window stays changed" layered 0
  zh_close "second run"
}

zh_start_ready "$ZH_DEFAULT_RECT" "first run"
open_layered_windows
switch_on
check_spared_windows
expect_period "first run"
check_restart_keeps_option
check_switch_off
zt_finish
