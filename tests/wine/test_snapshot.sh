#!/usr/bin/env bash
# Snapshot of the default region: a helper window shows a known picture exactly under the
# region (528,300, 864x480 on 1920x1080); the Snapshot button writes one
# Output\Screenshots\Screenshot_<local time>.bmp whose pixels are that picture, 864x480 at
# 32 bits per pixel, with none of the overlay's 8-pixel frame in it. Without the screenshot
# folder the button shows the "Cannot create file" box and writes nothing.
# Usage: test_snapshot.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

SHOTS_WIN="$ZT_APP_WIN\\Output\\Screenshots"
NAME_PATTERN='^Screenshot_[0-9]{4}-[0-9]{2}-[0-9]{2}-[0-9]{2}-[0-9]{2}-[0-9]{2}\.bmp$'

now_stamp() {
  date +%Y-%m-%d-%H-%M-%S
}

check_snapshot() {
  local before after name
  before="$(now_stamp)"
  zt_act "Snapshot clicked" zt_drv click JvImgBtnSnapshot
  zt_expect_field "Snapshot handled without a box" handled 1
  after="$(now_stamp)"
  if ! zh_wait_files "$ZT_SHOTS" 'Screenshot_*.bmp' 1 10; then
    zt_fail "a screenshot file is written" "none in $ZT_SHOTS"
    return
  fi
  zt_expect_eq "exactly one file in the screenshot folder" 1 "$(zh_count_files "$ZT_SHOTS" '*')"
  name="$(basename "$(find "$ZT_SHOTS" -maxdepth 1 -name 'Screenshot_*.bmp' | head -n 1)")"
  if [[ "$name" =~ $NAME_PATTERN ]] && [[ ! "$name" < "Screenshot_$before.bmp" ]] && [[ ! "$name" > "Screenshot_$after.bmp" ]]; then
    zt_pass "file named by the local time of the click ($name)"
  else
    zt_fail "file named by the local time of the click" "'$name', click between $before and $after"
  fi
  zh_expect_known_picture "$ZT_SHOTS/$name"
}

# Without the folder: the box names the full path it tried, and nothing is written.
check_missing_folder() {
  local text prefix
  mv "$ZT_SHOTS" "$ZT_TMP/Screenshots.away"
  zt_act "Snapshot clicked without the folder" zt_drv click JvImgBtnSnapshot
  if ! zt_drv dismiss 10000; then
    zt_fail "a box reports the missing folder" "$(zt_error_text)"
    return
  fi
  text="$(zt_field text)"
  prefix="Cannot create file \"$SHOTS_WIN\\Screenshot_"
  if [ "${text#"$prefix"}" != "$text" ] && [[ "$text" =~ \.bmp\"\.\ .+ ]]; then
    zt_pass "box text: Cannot create file \"<folder>\\Screenshot_....bmp\". <reason>"
  else
    zt_fail "box text: Cannot create file \"<folder>\\Screenshot_....bmp\". <reason>" "got '$text'"
  fi
  zt_expect_field "box titled Zelvio" caption "Zelvio"
  zt_expect_field "box shows the error icon" icon 1
  zt_drv messageboxes-dismiss-all 1500
  zt_expect_eq "no further box" 0 "$(zt_field dismissed)"
  zt_expect_eq "nothing written anywhere in the folder" 0 \
    "$(find "$ZT_APP" -name 'Screenshot_*' | wc -l)"
  zt_check "the folder was not created" test ! -e "$ZT_SHOTS"
  zt_expect_control JvImgBtnSnapshot enabled 1 "Snapshot button usable again"
}

mkdir -p "$ZT_SHOTS"
zh_start_ready "$(zh_overlay_rect 864 480 528 300)" "start"
# Opened after the program, as a user's window would be: above the overlay's backdrop.
zh_show_known_picture
check_snapshot
check_missing_folder
zh_close "end"
zt_finish
