#!/usr/bin/env bash
# Options survive a restart. A first run changes options through the driver (custom size
# and custom position by slider, background on in red, 10 FPS, other hotkeys, Hide to
# tray, cursor off with priority 3, transparency period 250) and moves the window; its
# settings.ini holds those values. Then an unknown section is added to the file. The second
# run brings every option back in the controls, the window back to its place, the overlay
# the restored region and background and the caption "FormMainCapturer@10", and the
# hotkeys as chosen; changing nothing, it writes the file back byte for byte with the
# unknown section kept.
# Usage: test_settings_restart.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

CUSTOM_RECT="$(zh_overlay_rect 1000 600 100 50)"
MAIN_X=300
MAIN_Y=200
MAIN_RECT=""
# A desktop point outside the region and every window: the background shows there.
DESKTOP_X=1700
DESKTOP_Y=900
COLOUR_RED_INDEX=10  # "Custom...", then Black Maroon Green Olive Navy Purple Teal Gray Silver Red

change_region() {
  zh_act "Screen tab" select-tab PageControlOptions 0
  zh_act "Dimension page" select-tab PageControlScreen 0
  zh_act "custom size" click RadioButtonDimCustom
  zh_act "custom width 1000" set-trackbar TrackBarDimX 1000
  zh_act "custom height 600" set-trackbar TrackBarDimY 600
  zh_act "Position page" select-tab PageControlScreen 1
  zh_act "custom position" click RadioButtonPosCustom
  zh_act "left offset 100" set-trackbar TrackBarPosX 100
  zh_act "top offset 50" set-trackbar TrackBarPosY 50
  zh_act "Style page" select-tab PageControlScreen 2
  zh_act "background on" click CheckBoxEnableBg
  zh_act "background red" select ColorBoxBg "$COLOUR_RED_INDEX"
  if zt_wait_field 5 rect "$CUSTOM_RECT" window-info TFormMainCapturer; then
    zt_pass "first run: overlay frames the custom region"
  else
    zt_fail "first run: overlay frames the custom region" "rect '$(zt_field rect)'"
  fi
}

change_video() {
  zh_act "Video tab" select-tab PageControlOptions 1
  zt_act "10 FPS chosen" zt_drv select ComboBoxFps 1
  if zt_drv dismiss 10000; then
    zt_expect_field "FPS change shows the restart notice" text \
      "FPS changed! Restart Zelvio in order to make the change"
  else
    zt_fail "FPS change shows the restart notice" "$(zt_error_text)"
  fi
  zt_drv window-info TFormMainCapturer
  zt_expect_field "the frame rate changes only at the next start" caption "FormMainCapturer@25"
}

change_general() {
  zh_act "General tab" select-tab PageControlOptions 3
  zh_act "start modifier CTRL" select ComboBoxVKStart 2
  zh_act "start key A" select ComboBoxKeyStart 0
  zh_act "snapshot key F8" select ComboBoxKeySnapshot 6
  zh_act "Hide to tray on" click CheckBoxHideToTray
  zh_act "cursor off" click CheckBoxEnableCursor
  zt_check "cursor off ends the cursor-hook program" zt_drv wait-gone TFormHookCursor FormHookCursor 10000
  zh_act "cursor priority 3" set-trackbar TrackBarCursorPriority 3
  zt_act "transparency period 250 typed" zt_drv set-text SpinEditTransparencyClock 250
  zt_expect_field "the spin edit shows 250" text 250
}

move_window() {
  if zt_drv move-main "$MAIN_X" "$MAIN_Y"; then
    MAIN_RECT="$(zt_field rect)"
    zt_expect_eq "main window moved" "$MAIN_X,$MAIN_Y" "$(echo "$MAIN_RECT" | cut -d, -f1-2)"
  else
    zt_fail "main window moved" "$(zt_error_text)"
  fi
}

check_file_values() {
  local key value
  while IFS='=' read -r key value; do
    [ -n "$key" ] || continue
    zt_expect_eq "settings.ini: $key" "$value" "$(zh_ini_value "$ZT_SETTINGS" "$key")"
  done <<EOF_VALUES
ShowCmd=1
NormPos=$MAIN_RECT
NormPos(1920x1080)=$MAIN_RECT
RadioButtonDimPreDefined_Checked=FALSE
RadioButtonDimCustom_Checked=TRUE
TrackBarDimX_Position=1000
TrackBarDimY_Position=600
LabelDimXValue_Caption=1000
LabelDimYValue_Caption=600
RadioButtonPosCenter_Checked=FALSE
RadioButtonPosCustom_Checked=TRUE
TrackBarPosX_Position=100
TrackBarPosY_Position=50
LabelPosXValue_Caption=100
LabelPosYValue_Caption=50
ColorBoxBg_Selected=clRed
CheckBoxEnableBg_Checked=TRUE
ComboBoxFps_ItemIndex=1
ComboBoxVKStart_ItemIndex=2
ComboBoxKeyStart_ItemIndex=0
ComboBoxKeySnapshot_ItemIndex=6
CheckBoxEnableCursor_Checked=FALSE
TrackBarCursorPriority_Position=3
CheckBoxHideToTray_Checked=TRUE
SpinEditTransparencyClock_Value=250
EOF_VALUES
}

# expect_controls "name key value"...: one line a control.
expect_controls() {
  local name key value
  while read -r name key value; do
    [ -n "$name" ] || continue
    zt_expect_control "$name" "$key" "$value" "restored: $name $key"
  done
}

check_restored_controls() {
  expect_controls <<'EOF_CONTROLS'
RadioButtonDimFullscreen checked 0
RadioButtonDimPreDefined checked 0
RadioButtonDimCustom checked 1
TrackBarDimX position 1000
TrackBarDimY position 600
LabelDimXValue text 1000
LabelDimYValue text 600
RadioButtonPosCenter checked 0
RadioButtonPosCustom checked 1
TrackBarPosX position 100
TrackBarPosY position 50
LabelPosXValue text 100
LabelPosYValue text 50
CheckBoxEnableBg checked 1
ComboBoxFps selected 10
ComboBoxVKStart selected CTRL
ComboBoxKeyStart selected A
ComboBoxKeySnapshot selected F8
ComboBoxKeyPause selected F3
CheckBoxHideToTray checked 1
CheckBoxEnableCursor checked 0
TrackBarCursorPriority position 3
TrackBarCursorPriority enabled 1
SpinEditTransparencyClock text 250
EOF_CONTROLS
  zt_drv control ColorBoxBg
  zt_expect_field "restored: ColorBoxBg selected Red" selected Red
}

check_restored_outside() {
  zt_drv window-info TFormMainCapturer
  zt_expect_field "restored: overlay caption carries the new frame rate" caption "FormMainCapturer@10"
  if zt_wait_field 5 color FF0000 pixel "$DESKTOP_X" "$DESKTOP_Y"; then
    zt_pass "restored: the overlay paints the red background"
  else
    zt_fail "restored: the overlay paints the red background" "pixel $(zt_field color)"
  fi
  zt_drv window-info TFormMain
  zt_expect_field "restored: main window at its moved place" rect "$MAIN_RECT"
  if zt_drv window-info TFormHookCursor FormHookCursor; then
    zt_fail "restored: cursor off, no cursor-hook program" "it runs"
  else
    zt_pass "restored: cursor off, no cursor-hook program"
  fi
  if zh_desk_run hotkey try CTRL+A A F1 F3 F5 F7 F8 F9; then
    zt_expect_eq "restored: hotkeys CTRL+A, F3, F5, F8, F9 held; bare A, F1 and F7 free" \
      "CTRL+A: taken|A: free|F1: free|F3: taken|F5: taken|F7: free|F8: taken|F9: taken" "$(printf '%s\n' "$ZH_OUT" | paste -sd '|')"
  else
    zt_fail "restored: hotkeys as chosen" "zdesk hotkey failed"
  fi
}

first_run() {
  zh_start_ready "$ZH_DEFAULT_RECT" "first run"
  change_region
  change_video
  change_general
  move_window
  zh_close "first run"
  [ -f "$ZT_SETTINGS" ] || zt_abort "first run wrote settings.ini"
  check_file_values
}

second_run() {
  zh_start_ready "$CUSTOM_RECT" "second run (restored region)"
  check_restored_controls
  check_restored_outside
  zh_close "second run"
}

first_run
# A section the program does not know must survive the rewrite.
printf '[Other]\r\nKey=1\r\n' >>"$ZT_SETTINGS"
cp "$ZT_SETTINGS" "$ZT_TMP/before_second.ini"
second_run
printf '\r\n' >>"$ZT_TMP/before_second.ini"
zh_expect_same_file "an unchanged run writes the file back byte for byte, [Other] kept" \
  "$ZT_TMP/before_second.ini" "$ZT_SETTINGS"
zt_finish
