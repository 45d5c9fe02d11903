#!/usr/bin/env bash
# First start and close of the shipped folder under Wine: the overlay frames the default
# region with the default frame rate in its caption, the main window shows its caption and
# its controls in their start state, the cursor-hook program runs (the cursor option is on
# by default), and closing the main window ends all three programs. All three declare in
# their manifests that they are aware of the display's scale, per monitor (v2) with the
# system-aware fallback.
# Usage: test_startup.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

# Default region on 1920x1080: 864x480 at 528,300, and the overlay window grows it by 8.
OVERLAY_RECT="520,292,1400,788"

check_overlay() {
  if zt_wait_field 30 rect "$OVERLAY_RECT" window-info TFormMainCapturer; then
    zt_pass "overlay frames the default region ($OVERLAY_RECT)"
  else
    zt_fail "overlay frames the default region" "rect '$(zt_field rect)' $(zt_field error)"
  fi
  zt_expect_field "overlay caption carries the frame rate" caption "FormMainCapturer@25"
}

# A start-up without errors shows no message box; any box is reported and answered so the
# remaining checks can run.
check_no_message_box() {
  zt_drv messageboxes-dismiss-all 1500
  local count
  count="$(zt_field dismissed)"
  if [ "$count" = 0 ]; then
    zt_pass "$1"
    return
  fi
  zt_fail "$1" "$count box(es): $(printf '%s\n' "$ZT_OUT" | sed -n 's/^text: //p' | paste -sd '|')"
}

check_main_window() {
  zt_check "main window appears" zt_drv wait-window TFormMain - 60000 || zt_finish
  zt_drv window-info TFormMain
  zt_expect_field "main window caption" caption "Zelvio - The Free Screen Recorder"
}

check_captions() {
  local name caption
  while IFS='=' read -r name caption; do
    [ -n "$name" ] || continue
    zt_expect_control "$name" text "$caption" "caption of $name"
  done <<'EOF'
BitBtnAbout=About
GroupBoxOptions=Options
RadioButtonDimFullscreen=Fullscreen
RadioButtonDimPreDefined=Predefined
RadioButtonDimCustom=Custom
RadioButtonPosTopLeft=Top Left
RadioButtonPosCenter=Center
RadioButtonPosBottomRight=Bottom Right
RadioButtonPosCustom=Custom
CheckBoxEnableBg=Enable background 
LabelBgColor=Background color
LabelVideoCompression=Compression
ButtonConfigureVideoCompressor=Configure
LabelVideoFPS=FPS
LabelFpsInfo=Require program restart
LabelCapture=Device
CheckBoxEnableAudio=Enable
LabelAudioInputLines=Input lines
LabelAudioFormat=Format
GroupBoxHotkeys=Hotkeys
BitBtnSetHotkeys=Set hotkeys
CheckBoxEnableCursor=Enable (Show)
LabelCursorPriority=Priority Low - High
BitBtnRestoreDefaults=Restore defaults
CheckBoxHideToTray=Hide to tray
CheckBoxEnableCaptureTransparency=Enable (Capture)
EOF
}

check_tabs() {
  if zt_drv control PageControlOptions; then
    zt_expect_eq "tabs of PageControlOptions" "Screen|Video|Audio|General" \
      "$(printf '%s\n' "$ZT_OUT" | sed -n 's/^item [0-9]*: //p' | paste -sd '|')"
  else
    zt_fail "tabs of PageControlOptions" "$(zt_error_text)"
  fi
  if zt_drv control PageControlScreen; then
    zt_expect_eq "tabs of PageControlScreen" "Dimension|Position|Style" \
      "$(printf '%s\n' "$ZT_OUT" | sed -n 's/^item [0-9]*: //p' | paste -sd '|')"
  else
    zt_fail "tabs of PageControlScreen" "$(zt_error_text)"
  fi
}

check_start_state() {
  zt_expect_control JvImgBtnStop enabled 0 "Stop button disabled at start"
  zt_expect_control JvImgBtnStartPause enabled 1 "Record button enabled at start"
  zt_expect_control TrackBarCursorPriority enabled 0 "cursor priority slider disabled"
  zt_expect_control CheckBoxEnableCursor checked 1 "cursor option on"
  zt_expect_control LabelDuration text "00:00:00.000" "duration label at start"
  zt_expect_control ComboBoxFps selected "25" "frame rate 25 selected"
  zt_expect_control LabelDimXValue text "864" "width read-out"
  zt_expect_control LabelDimYValue text "480" "height read-out"
  zt_expect_control LabelPosXValue text "528" "left read-out"
  zt_expect_control LabelPosYValue text "300" "top read-out"
}

# Controls of a tab that is not in front are hidden too, so the carrier labels are looked
# at with their own tab in front, beside a label of that tab that does show.
check_carrier_labels() {
  zt_act "Audio tab brought to front" zt_drv select-tab PageControlOptions 2
  zt_expect_control LabelCapture visible 1 "Audio tab shows its labels"
  local label
  for label in LabelInputLinesIndex LabelAudioFormatIndex LabelIsAudioEnabled; do
    zt_expect_control "$label" visible 0 "$label invisible"
  done
}

# The manifest resource read back from each shipped executable. Wine takes every program as
# aware, manifest or not (and cannot tell another process's awareness), so the resource is
# what tells a program that Windows would scale from one that it would not.
check_dpi_awareness() {
  local exe
  for exe in Zelvio.exe Programs\\ZelvioCapturer.exe Programs\\HookCursor.exe; do
    if zt_drv manifest "$ZT_APP_WIN\\$exe"; then
      zt_expect_field "$exe declares per-monitor (v2) awareness" dpiAwareness "PerMonitorV2, PerMonitor"
      zt_expect_field "$exe declares the system-aware fallback" dpiAware "true/pm"
    else
      zt_fail "$exe has a manifest" "$(zt_error_text)"
    fi
  done
}

check_close() {
  zt_act "close request posted" zt_drv close-main
  check_no_message_box "no message box at close"
  zt_check "overlay program ends" zt_drv wait-gone TFormMainCapturer - 20000
  zt_check "cursor-hook program ends" zt_drv wait-gone TFormHookCursor FormHookCursor 20000
  zt_check "main window goes" zt_drv wait-gone TFormMain - 20000
  zt_expect_clean_exit 30
}

zt_start_zelvio
check_main_window
check_overlay
check_no_message_box "no message box at start-up"
zt_drv window-info TFormMain
zt_expect_field "main window visible" visible 1
zt_check "cursor-hook window exists" zt_drv wait-window TFormHookCursor FormHookCursor 10000
check_captions
check_tabs
check_start_state
check_carrier_labels
check_dpi_awareness
check_close
zt_finish
