#!/usr/bin/env bash
# "About" from the running program: the button opens a window of class TFormAbout titled
# "About" in the middle of the screen, modal (the main window is disabled while it shows);
# closing it enables the main window again, and the button opens the same window again.
# Usage: test_about_button.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/helpers/desktop_lib.sh"
zt_init "$@"

SCREEN_W=1920
SCREEN_H=1080

# Centred: the free space left and right (above and below) differs by at most one pixel.
check_centred() {
  local rect left top right bottom
  rect="$(zt_field rect)"
  IFS=, read -r left top right bottom <<<"$rect"
  local dx=$(((SCREEN_W - right) - left)) dy=$(((SCREEN_H - bottom) - top))
  if [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ]; then
    zt_pass "$1: centred on the screen ($rect)"
  else
    zt_fail "$1: centred on the screen" "rect $rect"
  fi
}

open_about() {
  local what="$1"
  zt_check "$what: About clicked" zt_drv click BitBtnAbout
  if ! zt_drv wait-window TFormAbout - 10000; then
    zt_fail "$what: about window appears" "$(zt_error_text)"
    return 1
  fi
  zt_pass "$what: about window appears"
  zt_drv window-exstyle TFormAbout
  zt_expect_eq "$what: caption About, visible" "About 1" "$(zt_field caption) $(zt_field visible)"
  check_centred "$what"
  zt_drv window-exstyle TFormMain
  zt_expect_field "$what: main window disabled while it shows" enabled 0
  return 0
}

# True once no about window is on the screen: destroyed, or hidden for the next showing.
about_gone_or_hidden() {
  if zt_drv window-exstyle TFormAbout; then
    [ "$(zt_field visible)" = 0 ]
    return
  fi
  return 0
}

close_about() {
  local what="$1"
  local end=$((SECONDS + 10))
  zt_check "$what: WM_CLOSE posted to the about window" zt_drv post-close TFormAbout
  until about_gone_or_hidden || [ "$SECONDS" -ge "$end" ]; do sleep 0.2; done
  if about_gone_or_hidden; then
    zt_pass "$what: about window no longer shown"
  else
    zt_fail "$what: about window no longer shown" "still visible"
  fi
  if zt_wait_field 10 enabled 1 window-exstyle TFormMain; then
    zt_pass "$what: main window enabled again"
  else
    zt_fail "$what: main window enabled again" "enabled '$(zt_field enabled)'"
  fi
  zt_drv messageboxes-dismiss-all 1000
  zt_expect_eq "$what: no box" 0 "$(zt_field dismissed)"
}

zh_start_ready "$(zh_overlay_rect 864 480 528 300)" "start"
zt_drv window-exstyle TFormMain
zt_expect_field "main window enabled before" enabled 1
open_about "first showing" && close_about "first showing"
open_about "second showing" && close_about "second showing"
zh_close "end"
zt_finish
