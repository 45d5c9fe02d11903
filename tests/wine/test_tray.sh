#!/usr/bin/env bash
# Minimise and the tray. The taskbar button belongs to the application window "Zelvio",
# which owns the main window. With "Hide to tray" off a minimise makes it iconic, hides the
# main window and keeps the button (no WS_EX_TOOLWINDOW). With it on, a minimise also marks
# it WS_EX_TOOLWINDOW; the tray menu's commands (WM_COMMAND 9001..9007,
# posted as the menu would) then work on the hidden program: Toggle Bg flips the
# background box, Snapshot writes a file, Restore and a left click on the icon bring the
# window back with extended style exactly 0, and Exit ends the program with exit code 0,
# storing ShowCmd 2 because it ended minimised. A right click on the icon opens the popup menu,
# whose Record, Pause and Stop items are enabled or greyed as the recording state says
# (stopped, recording, paused), read from the menu on the screen.
# Usage: test_tray.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

TRAY_RESTORE=9001
TRAY_RECORD=9002
TRAY_PAUSE=9003
TRAY_STOP=9004
TRAY_SNAPSHOT=9005
TRAY_TOGGLE_BG=9006
TRAY_EXIT=9007
START_EXSTYLE=""

# The taskbar button belongs to the program's application window, titled "Zelvio", which
# owns the main window; minimising makes it iconic and hides the main window.
BUTTON_CLASS=TApplication
BUTTON_TITLE=Zelvio

minimise() {
  zt_act "$1: minimise" zt_drv show-main minimize
}

check_plain_minimise() {
  zt_drv window-exstyle TFormMain
  zt_expect_field "the main window is owned by the window with the taskbar button" owner \
    "$BUTTON_CLASS \"$BUTTON_TITLE\""
  zt_expect_field "the main window keeps its caption" caption "Zelvio - The Free Screen Recorder"
  zt_drv window-exstyle "$BUTTON_CLASS" "$BUTTON_TITLE"
  zt_expect_eq "taskbar button and Alt+Tab read Zelvio: shown, no area, no owner, not a tool window" \
    "Zelvio 1 0 none 0" \
    "$(zt_field caption) $(zt_field visible) $(zt_field rect | awk -F, '{ print ($3 - $1) * ($4 - $2) }') $(zt_field owner) $(zt_field toolwindow)"
  zh_main_state "normal at start" 0 1 0
  zt_drv window-exstyle "$BUTTON_CLASS" "$BUTTON_TITLE"
  START_EXSTYLE="$(zt_field exstyle)"
  echo "extended style at start: $START_EXSTYLE"
  minimise "option off"
  zh_main_state "option off: minimised, still on the taskbar" 1 0 0
  zh_expect_no_box "option off: no box"
  zt_act "restored by the window itself" zt_drv show-main restore
  zh_main_state "restored" 0 1 0
}

# Bring the page with the background box to the front, so its visibility can be read.
check_toggle_bg_in_tray() {
  zt_act "Screen tab" zt_drv select-tab PageControlOptions 0
  zt_act "Style page" zt_drv select-tab PageControlScreen 2
  minimise "option on"
  zh_main_state "option on: hidden in the tray, off the taskbar" 1 0 1
  zh_expect_no_box "option on: no box (the tray icon was accepted)"
  zt_act "Toggle Bg posted" zt_drv command "$TRAY_TOGGLE_BG"
  zt_wait_field 5 checked 1 control CheckBoxEnableBg
  zt_expect_field "Toggle Bg checks Enable background" checked 1
  zt_expect_control ColorBoxBg visible 1 "Toggle Bg shows the colour list"
  zt_expect_control LabelBgColor visible 1 "Toggle Bg shows the colour label"
  zt_act "Toggle Bg posted again" zt_drv command "$TRAY_TOGGLE_BG"
  zt_wait_field 5 checked 0 control CheckBoxEnableBg
  zt_expect_field "Toggle Bg again unchecks it" checked 0
  zt_expect_control ColorBoxBg visible 0 "Toggle Bg again hides the colour list"
  zh_main_state "still in the tray after the toggles" 1 0 1
}

check_snapshot_in_tray() {
  zt_act "Snapshot posted" zt_drv command "$TRAY_SNAPSHOT"
  if zh_wait_files "$ZT_SHOTS" 'Screenshot_*.bmp' 1 10; then
    zt_pass "Snapshot from the tray writes a file"
  else
    zt_fail "Snapshot from the tray writes a file" "none in $ZT_SHOTS"
  fi
  zh_expect_no_box "no box after the tray snapshot"
}

# F7 in the tray without the snapshot folder: the yellow flash comes first, then the box.
check_flash_before_box_in_tray() {
  mv "$ZT_SHOTS" "$ZT_TMP/Screenshots.away"
  if zt_drv flash-or-box 4 "$ZH_FRAME_X" "$ZH_FRAME_Y" FFFF00 15000; then
    zt_expect_field "F7 in the tray without the folder: the flash comes before the box" first flash
  else
    zt_fail "F7 in the tray without the folder: a flash or a box" "$(zt_error_text)"
  fi
  if zt_drv dismiss 10000; then
    zt_expect_match "then the box reports the missing folder" "Cannot create file*" "$(zt_field text)"
  else
    zt_fail "then the box reports the missing folder" "$(zt_error_text)"
  fi
  zh_expect_no_box "no further box after the tray snapshot without the folder"
  mv "$ZT_TMP/Screenshots.away" "$ZT_SHOTS"
}

# restore_by "what" driver-command...: back from the tray with the extended style set to 0.
# The system itself keeps WS_EX_WINDOWEDGE (0x100) on every window with a caption, Windows
# as well as Wine, so 0x100 is what a write of 0 reads back on the captioned main window;
# every other bit it carried (WS_EX_CONTROLPARENT from its creation, WS_EX_TOOLWINDOW from
# the tray) must be gone.
restore_by() {
  local what="$1"
  shift
  zt_act "$what posted" zt_drv "$@"
  zh_main_state "$what: shown again" 0 1 0
  zt_drv window-exstyle "$BUTTON_CLASS" "$BUTTON_TITLE"
  zt_expect_field "$what: extended style 0 (WS_EX_WINDOWEDGE kept by the system; was $START_EXSTYLE)" exstyle 0x100
  zh_expect_no_box "$what: no box (the tray icon was removed)"
}

# menu_items "what" "EXPECTED": a right click on the icon opens the program's popup menu,
# whose seven items (Restore Record Pause Stop Snapshot Toggle Bg Exit) read as enabled (1)
# or greyed (0) on the screen; Escape closes it again.
menu_items() {
  local what="$1" expected="$2" pid end
  zt_drv window-exstyle TFormMain
  pid="$(zt_field pid)"
  zt_act "$what: right click on the icon posted" zt_drv tray-click right
  end=$((SECONDS + 5))
  until zt_drv popup-menu || [ "$SECONDS" -ge "$end" ]; do sleep 0.2; done
  zt_expect_eq "$what: right click opens the program's popup menu" "$pid" "$(zt_field pid)"
  sleep 0.3
  zt_act "$what: menu items read" zt_drv popup-menu items 7
  zt_expect_eq "$what: enabled items (Restore Record Pause Stop Snapshot Toggle Bg Exit)" "$expected" \
    "$(zt_field items)"
  zt_act "$what: Escape closes the menu" zt_drv popup-menu close
  zh_main_state "$what: still in the tray after the menu" 1 0 1
}

# The menu follows the recording state of the hidden program: Record, Pause and Stop
# posted as the menu sends them, the frame's colour telling that each took effect.
check_tray_menu() {
  menu_items "stopped" "1 1 0 0 1 1 1"
  zt_act "Record posted" zt_drv command "$TRAY_RECORD"
  zh_expect_pixel "recording from the tray: the frame is red" "$ZH_FRAME_X" "$ZH_FRAME_Y" FF0000
  menu_items "recording" "1 0 1 1 1 1 1"
  zt_act "Pause posted" zt_drv command "$TRAY_PAUSE"
  zh_expect_pixel "paused from the tray: the frame is grey" "$ZH_FRAME_X" "$ZH_FRAME_Y" C0C0C0
  menu_items "paused" "1 1 0 1 1 1 1"
  zt_act "Stop posted" zt_drv command "$TRAY_STOP"
  zh_expect_pixel "stopped from the tray: the frame is green" "$ZH_FRAME_X" "$ZH_FRAME_Y" 00FF00
  zh_expect_no_box "no box recording from the tray"
  zt_expect_eq "one recording from the tray" 1 "$(zh_count_files "$ZT_CASTS" 'Screencast_*.avi')"
}

check_exit_from_tray() {
  minimise "before Exit"
  zh_main_state "in the tray before Exit" 1 0 1
  zt_act "Exit posted" zt_drv command "$TRAY_EXIT"
  zt_drv messageboxes-dismiss-all 1500
  zt_expect_eq "Exit: no box" 0 "$(zt_field dismissed)"
  zt_expect_clean_exit 30
  zt_check "the overlay ends with the program" zt_drv wait-gone TFormMainCapturer - 10000
  zt_expect_eq "settings.ini: ShowCmd 2 (ended minimised)" 2 "$(zh_ini_value "$ZT_APP/settings.ini" ShowCmd)"
  zt_expect_eq "settings.ini: Hide to tray stored" TRUE \
    "$(zh_ini_value "$ZT_APP/settings.ini" CheckBoxHideToTray_Checked)"
}

mkdir -p "$ZT_SHOTS" "$ZT_CASTS"
zh_start_ready "$(zh_overlay_rect 864 480 528 300)" "start"
zh_choose_compressor "start"
check_plain_minimise
zt_act "General tab" zt_drv select-tab PageControlOptions 3
zt_act "Hide to tray clicked" zt_drv click CheckBoxHideToTray
zt_expect_control CheckBoxHideToTray checked 1 "Hide to tray on"
check_toggle_bg_in_tray
check_snapshot_in_tray
check_flash_before_box_in_tray
restore_by "Restore from the menu" command "$TRAY_RESTORE"
minimise "again"
zh_main_state "in the tray again" 1 0 1
check_tray_menu
restore_by "left click on the icon" tray-click left
check_exit_from_tray
zt_finish
