#!/usr/bin/env bash
# The region controls on a 1920x1080 screen, operated through the driver: after each change
# the overlay window frames the new region (grown by 8 on every side) and the four
# read-outs show its width, height, left and top. Covers the presets, full screen, the
# anchors, the custom sliders with their ranges and the rounding of the centre, the custom
# offsets, and the step buttons, also at the ends of their ranges.
# Usage: test_region.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

# Text of a control in the last "controls" listing.
listed_text() {
  printf '%s\n' "$ZT_OUT" | sed -n "s/^control: [0-9]* $1 [^ ]* [^ ]* \"\(.*\)\"$/\1/p" | head -n 1
}

# expect_region "what" W H X Y: overlay rectangle and the four read-outs.
expect_region() {
  local what="$1" w="$2" h="$3" x="$4" y="$5" rect
  rect="$(zh_overlay_rect "$w" "$h" "$x" "$y")"
  if zt_wait_field 5 rect "$rect" window-info TFormMainCapturer; then
    zt_pass "$what: overlay frames $rect"
  else
    zt_fail "$what: overlay frames $rect" "rect '$(zt_field rect)'"
  fi
  if ! zt_drv controls; then
    zt_fail "$what: read-outs" "$(zt_error_text)"
    return
  fi
  zt_expect_eq "$what: read-outs (width height left top)" "$w $h $x $y" \
    "$(listed_text LabelDimXValue) $(listed_text LabelDimYValue) $(listed_text LabelPosXValue) $(listed_text LabelPosYValue)"
}

expect_slider() {
  local name="$1" position="$2" min="$3" max="$4"
  if ! zt_drv control "$name"; then
    zt_fail "$name range" "$(zt_error_text)"
    return
  fi
  zt_expect_eq "$name position $position within $min..$max" "$position $min $max" \
    "$(zt_field position) $(zt_field min) $(zt_field max)"
}

# expect_shown "what" name=0|1...: whether each control's own visible flag is set.
expect_shown() {
  local what="$1" pair name got=""
  shift
  local expected="$*"
  for pair in "$@"; do
    name="${pair%=*}"
    zt_drv control "$name"
    got="$got $name=$(zt_field visible)"
  done
  zt_expect_eq "$what" "$expected" "${got# }"
}

check_presets() {
  expect_region "default (preset 21, centre)" 864 480 528 300
  expect_shown "predefined mode shows the list only" ComboBoxDimension=1 TrackBarDimX=0 BitBtnIncDimHeight=0
  zh_act "Screen tab" select-tab PageControlOptions 0
  zh_act "Dimension page" select-tab PageControlScreen 0
  zh_act "preset 14 chosen" select ComboBoxDimension 14
  expect_region "preset 14 (648x468, centred)" 648 468 636 306
  zh_act "preset -> full screen" click RadioButtonDimFullscreen
  expect_region "full screen" 1920 1080 0 0
  expect_shown "full screen hides the list" ComboBoxDimension=0 TrackBarDimX=0
  zh_act "back to predefined" click RadioButtonDimPreDefined
  expect_region "predefined again keeps preset 14" 648 468 636 306
  zh_act "preset 22 chosen" select ComboBoxDimension 22
  zh_act "Position page" select-tab PageControlScreen 1
  zh_act "bottom right" click RadioButtonPosBottomRight
  expect_region "preset 22 at the bottom right" 1280 720 640 360
  zh_act "Dimension page" select-tab PageControlScreen 0
  zh_act "preset 23 chosen" select ComboBoxDimension 23
  expect_region "preset 23 at the bottom right" 1920 1080 0 0
  zh_act "preset 0 chosen" select ComboBoxDimension 0
  expect_region "preset 0 at the bottom right" 160 120 1760 960
}

check_custom_size() {
  zh_act "custom size" click RadioButtonDimCustom
  expect_region "custom size starts at the slider minimum" 4 4 1916 1076
  expect_shown "custom mode shows its sliders and steps, hides the list" \
    ComboBoxDimension=0 BitBtnDecDimWidth=1 TrackBarDimX=1 BitBtnIncDimWidth=1 BitBtnDecDimHeight=1 TrackBarDimY=1 BitBtnIncDimHeight=1
  expect_slider TrackBarDimX 4 4 1920
  expect_slider TrackBarDimY 4 4 1080
  zh_act "custom width 1001" set-trackbar TrackBarDimX 1001
  expect_region "custom width 1001 at the bottom right" 1001 4 919 1076
  zh_act "Position page" select-tab PageControlScreen 1
  zh_act "centre" click RadioButtonPosCenter
  # (1920 - 1001) / 2 = 459.5 and (1080 - 4) / 2 = 538: a half goes to the even neighbour.
  expect_region "width 1001 centred (459.5 -> 460)" 1001 4 460 538
  zh_act "Dimension page" select-tab PageControlScreen 0
  zh_act "custom width 1003" set-trackbar TrackBarDimX 1003
  expect_region "width 1003 centred (458.5 -> 458)" 1003 4 458 538
}

check_size_steps() {
  zh_act "width step up" click BitBtnIncDimWidth
  expect_region "width step up" 1004 4 458 538
  zh_act "height step up" click BitBtnIncDimHeight
  expect_region "height step up" 1004 5 458 538
  zh_act "height step down" click BitBtnDecDimHeight
  zh_act "height step down at the minimum" click BitBtnDecDimHeight
  expect_region "height step down stops at the minimum 4" 1004 4 458 538
  expect_slider TrackBarDimY 4 4 1080
  zh_act "width to the maximum" set-trackbar TrackBarDimX 1920
  zh_act "width step up at the maximum" click BitBtnIncDimWidth
  expect_region "width step up at the maximum changes nothing" 1920 4 0 538
  expect_slider TrackBarDimX 1920 4 1920
  zh_act "custom width 1004" set-trackbar TrackBarDimX 1004
  expect_region "custom width 1004" 1004 4 458 538
}

check_custom_position() {
  zh_act "Position page" select-tab PageControlScreen 1
  zh_act "custom position" click RadioButtonPosCustom
  expect_shown "custom position shows its sliders and steps" \
    TrackBarPosX=1 BitBtnDecPosX=1 BitBtnIncPosX=1 TrackBarPosY=1 BitBtnIncPosY=1 BitBtnDecPosY=1
  expect_region "custom position starts at 0,0" 1004 4 0 0
  expect_slider TrackBarPosX 0 0 916
  expect_slider TrackBarPosY 0 0 1076
  zh_act "left offset 100" set-trackbar TrackBarPosX 100
  zh_act "top offset 200" set-trackbar TrackBarPosY 200
  expect_region "custom offsets 100,200" 1004 4 100 200
  zh_act "left step up" click BitBtnIncPosX
  zh_act "top step down" click BitBtnDecPosY
  expect_region "offset steps" 1004 4 101 199
  zh_act "left offset to the maximum" set-trackbar TrackBarPosX 916
  zh_act "left step up at the maximum" click BitBtnIncPosX
  expect_region "left step up at the maximum changes nothing" 1004 4 916 199
  zh_act "top offset to 0" set-trackbar TrackBarPosY 0
  zh_act "top step down at 0" click BitBtnDecPosY
  expect_region "top step down at 0 changes nothing" 1004 4 916 0
  # A wider region lowers the left slider's maximum, which pulls its position in.
  zh_act "Dimension page" select-tab PageControlScreen 0
  zh_act "custom width 1500" set-trackbar TrackBarDimX 1500
  expect_region "a wider region clamps the left offset" 1500 4 420 0
  expect_slider TrackBarPosX 420 0 420
}

# A stored preset position outside the list leaves the list without a selection: the region
# has no area and sits in the middle of the screen. The frame closes around that point, and
# a snapshot says there is nothing to copy.
check_no_preset() {
  printf '%s\r\n' '[FormMain]' 'ComboBoxDimension_ItemIndex=-1' >"$ZT_APP/settings.ini"
  zh_start_ready "952,532,968,548" "no preset selected (Create\$0\$0\$960\$540)"
  if zt_drv controls; then
    zt_expect_eq "no preset selected: read-outs (width height left top)" "0 0 960 540" \
      "$(listed_text LabelDimXValue) $(listed_text LabelDimYValue) $(listed_text LabelPosXValue) $(listed_text LabelPosYValue)"
  else
    zt_fail "no preset selected: read-outs" "$(zt_error_text)"
  fi
  zt_drv click JvImgBtnSnapshot
  if zt_drv dismiss 10000; then
    zt_expect_field "no preset selected: the snapshot says why it took nothing" text \
      "No snapshot was taken: the capture region has no area."
  else
    zt_fail "no preset selected: the snapshot reports" "$(zt_error_text)"
  fi
  zh_close "no preset selected"
}

zh_start_ready "$(zh_overlay_rect 864 480 528 300)" "start"
check_presets
check_custom_size
check_size_steps
check_custom_position
zh_close "end"
check_no_preset
zt_finish
