#!/usr/bin/env bash
# Without the overlay program the recorder still starts and closes: every command meant for
# the overlay shows "Receiver application not found" instead (two at start-up, one at close)
# and the program carries on after each.
# Usage: test_missing_overlay.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

NOT_FOUND="Receiver application not found"

# expect_not_found_box "what" wait_ms: the next box must be the not-found notice of the program.
expect_not_found_box() {
  if ! zt_drv dismiss "$2"; then
    zt_fail "$1" "$(zt_error_text)"
    return
  fi
  zt_expect_eq "$1" "$NOT_FOUND" "$(zt_field text)"
  zt_expect_field "$1: titled Zelvio" caption "Zelvio"
}

expect_no_more_boxes() {
  zt_drv messageboxes-dismiss-all 2000
  zt_expect_eq "$1" 0 "$(zt_field dismissed)"
}

rm -f "$ZT_APP/Programs/ZelvioCapturer.exe"
zt_start_zelvio
zt_check "main window appears" zt_drv wait-window TFormMain - 60000 || zt_finish
expect_not_found_box "notice for the frame-rate caption command" 60000
expect_not_found_box "notice for the region command" 30000
expect_no_more_boxes "no further box at start-up"

# The start-up steps after the failed commands still ran.
zt_check "cursor-hook program started" zt_drv wait-window TFormHookCursor FormHookCursor 10000
zt_drv window-info TFormMain
zt_expect_field "main window visible" visible 1

zt_act "close request posted" zt_drv close-main
expect_not_found_box "notice for the close command" 30000
expect_no_more_boxes "no further box at close"
zt_check "cursor-hook program ends" zt_drv wait-gone TFormHookCursor FormHookCursor 20000
zt_check "main window goes" zt_drv wait-gone TFormMain - 20000
zt_expect_clean_exit 30
zt_finish
