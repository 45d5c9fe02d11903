#!/usr/bin/env bash
# "About" from the running program: the button opens a window of class TFormAbout titled
# "About" in the middle of the screen, modal (the main window is disabled while it shows);
# closing it enables the main window again, and the button opens the same window again.
# Usage: test_about_button.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
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
  zt_act "$what: About clicked" zt_drv click BitBtnAbout
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

# Where the about window is: "shown", "hidden" (kept for the next showing) or "gone"
# (destroyed). Only the driver's own answer that no such window exists means gone; any
# other driver failure is "unknown: <error>" and never passes for a closed window.
about_state() {
  if zt_drv window-exstyle TFormAbout; then
    if [ "$(zt_field visible)" = 0 ]; then echo hidden; else echo shown; fi
    return
  fi
  if [ "$(zt_field error)" = "no window of class TFormAbout" ]; then
    echo gone
  else
    echo "unknown: $(zt_error_text)"
  fi
}

close_about() {
  local what="$1" state
  local end=$((SECONDS + 10))
  zt_act "$what: WM_CLOSE posted to the about window" zt_drv post-close TFormAbout
  state="$(about_state)"
  until [ "$state" = gone ] || [ "$state" = hidden ] || [ "$SECONDS" -ge "$end" ]; do
    sleep 0.2
    state="$(about_state)"
  done
  case "$state" in
    gone | hidden) zt_pass "$what: about window no longer shown ($state)" ;;
    *) zt_fail "$what: about window no longer shown" "$state" ;;
  esac
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
