#!/usr/bin/env bash
# Snapshot of the default region: a helper window shows a known picture exactly under the
# region (528,300, 864x480 on 1920x1080); the Snapshot button writes one
# Output\Screenshots\Screenshot_<local time>.bmp whose pixels are that picture, 864x480 at
# 32 bits per pixel, with none of the overlay's 8-pixel frame in it. The same for another
# region: preset 0 (160x120) at the custom offset 333,217. Without the screenshot folder the
# button shows the "Cannot create file" box and writes nothing.
# Then, with a listening stand-in in the frame's place (zdesk frame, which logs each command
# it receives and whether a box of the program was already up), the snapshot without the
# folder from the button, the hotkey (WM_HOTKEY 4) and the tray menu (WM_COMMAND 9005), with
# the window shown, minimised and hidden to the tray: each time the yellow flash has been
# received, with no box up, by the time the one "Cannot create file" box is on the screen.
# Usage: test_snapshot.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

HOTKEY_SNAPSHOT=4
TRAY_SNAPSHOT=9005
FRAME_LOG="$ZT_TMP/frame.out"

SHOTS_WIN="$ZT_APP_WIN\\Output\\Screenshots"
NAME_PATTERN='^Screenshot_[0-9]{4}-[0-9]{2}-[0-9]{2}-[0-9]{2}-[0-9]{2}-[0-9]{2}\.bmp$'

now_stamp() {
  date +%Y-%m-%d-%H-%M-%S
}

# check_snapshot [W H]: the region's size, default 864x480.
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
  zh_expect_known_picture "$ZT_SHOTS/$name" "$@"
}

check_other_region() {
  local rect
  rect="$(zh_overlay_rect 160 120 333 217)"
  zt_act "the picture closed" zt_drv post-close ZelvioTestPicture
  zt_act "the picture gone" zt_drv wait-gone ZelvioTestPicture - 10000
  zt_act "Screen tab" zt_drv select-tab PageControlOptions 0
  zt_act "Dimension page" zt_drv select-tab PageControlScreen 0
  zt_act "preset 0 chosen" zt_drv select ComboBoxDimension 0
  zt_act "Position page" zt_drv select-tab PageControlScreen 1
  zt_act "custom position" zt_drv click RadioButtonPosCustom
  zt_act "left offset 333" zt_drv set-trackbar TrackBarPosX 333
  zt_act "top offset 217" zt_drv set-trackbar TrackBarPosY 217
  if zt_wait_field 5 rect "$rect" window-info TFormMainCapturer; then
    zt_pass "the overlay frames 160x120 at 333,217 ($rect)"
  else
    zt_fail "the overlay frames 160x120 at 333,217" "rect '$(zt_field rect)'"
  fi
  zh_show_known_picture 60 333 217 160 120
  rm -f "$ZT_SHOTS"/Screenshot_*.bmp
  check_snapshot 160 120
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

frame_commands() {
  tr -d '\r' <"$FRAME_LOG" 2>/dev/null | sed -n 's/^command: //p'
}

# flash_before_box "what" driver-command...: the command starts a snapshot without the
# folder; once its box is up, the frame must already have had the flash, sent while no box
# was up, and nothing else since.
flash_before_box() {
  local what="$1" before got
  shift
  before="$(frame_commands | wc -l)"
  zt_act "$what" zt_drv "$@"
  if ! zt_drv messagebox 15000; then
    zt_fail "$what: a box reports the missing folder" "$(zt_error_text)"
    return
  fi
  got="$(frame_commands | tail -n +$((before + 1)) | tr '\n' '|')"
  zt_expect_match "$what: the flash reached the frame before the box" 'ChangeFormColor$FFFF00$* box: 0|' "$got"
  if zt_drv dismiss 5000; then
    zt_expect_match "$what: the box says Cannot create file" "Cannot create file*" "$(zt_field text)"
  else
    zt_fail "$what: the box closes" "$(zt_error_text)"
  fi
  zh_expect_no_box "$what: one box only"
}

flash_before_box_from_everywhere() {
  flash_before_box "$1, button" click JvImgBtnSnapshot
  flash_before_box "$1, hotkey" hotkey "$HOTKEY_SNAPSHOT"
  flash_before_box "$1, tray menu" command "$TRAY_SNAPSHOT"
}

check_flash_order() {
  mv "$ZT_APP/Programs/ZelvioCapturer.exe" "$ZT_TMP/ZelvioCapturer.exe"
  zh_desk frame 300
  zt_check "the listening frame is up" zt_drv wait-window TFormMainCapturer - 30000 || return
  zh_start_ready "$(zh_overlay_rect 864 480 528 300)" "start with the listening frame"
  rm -rf "$ZT_SHOTS"
  zh_main_state "shown" 0 1 0
  flash_before_box_from_everywhere "shown"
  zt_act "minimise" zt_drv show-main minimize
  zh_main_state "minimised" 1 0 0
  flash_before_box_from_everywhere "minimised"
  zt_act "restore" zt_drv show-main restore
  zh_main_state "restored" 0 1 0
  zt_act "General tab" zt_drv select-tab PageControlOptions 3
  zt_act "Hide to tray clicked" zt_drv click CheckBoxHideToTray
  zt_act "minimise to the tray" zt_drv show-main minimize
  zh_main_state "hidden to the tray" 1 0 1
  flash_before_box_from_everywhere "hidden to the tray"
  zt_expect_eq "nothing written anywhere in the folder" 0 "$(find "$ZT_APP" -name 'Screenshot_*' | wc -l)"
  zh_close "listening frame"
  mv "$ZT_TMP/ZelvioCapturer.exe" "$ZT_APP/Programs/ZelvioCapturer.exe"
}

mkdir -p "$ZT_SHOTS"
zh_start_ready "$(zh_overlay_rect 864 480 528 300)" "start"
# Opened after the program, as a user's window would be: above the overlay's backdrop.
zh_show_known_picture
check_snapshot
check_other_region
check_missing_folder
zh_close "end"
# The listening frame below expects the default region again.
rm -f "$ZT_SETTINGS"
check_flash_order
zt_finish
