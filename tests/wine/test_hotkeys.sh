#!/usr/bin/env bash
# The five global hotkeys, posted as WM_HOTKEY (a bare X server does not deliver key
# presses to RegisterHotKey): 5 toggles the background, 4 writes a snapshot, 1/2/3 record,
# pause and stop (with the test compressor registered and chosen). The registrations are
# checked from another program: while Zelvio runs, F1 F3 F5 F7 F9 cannot be taken, also
# after "Set hotkeys" twice, and are free again after the end. A start hotkey already held
# by another program brings "Unable to assign start hotkey." and the other four still work.
# Then each modifier in turn, pressed on the keyboard (SendInput, which Wine routes to
# RegisterHotKey as Windows does): snapshot on SHIFT+F7 and background on ALT+F9, then
# WIN+F7 and CTRL+F9, set with "Set hotkeys"; held with the modifier, the bare key free, and
# the key pressed with it works while the bare key does nothing. They are let go at the end
# and held again from the settings at the next start.
# Usage: test_hotkeys.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib/recording.sh"
zt_init "$@"

# A point of the overlay's frame, and one of the desktop far from every window.
DESKTOP_X=1700
DESKTOP_Y=100

# expect_keys "what" "F1: taken|...": what another program finds when it tries the keys.
expect_keys() {
  local what="$1" expected="$2" keys
  keys="$(printf '%s' "$expected" | tr '|' '\n' | sed 's/:.*//' | paste -sd ' ')"
  # shellcheck disable=SC2086
  if ! zh_desk_run hotkey try $keys; then
    zt_fail "$what" "zdesk hotkey failed"
    return
  fi
  zt_expect_eq "$what" "$expected" "$(printf '%s\n' "$ZH_OUT" | paste -sd '|')"
}

posted_hotkey() {
  zt_act "hotkey $1 posted" zt_drv hotkey "$1"
}

check_registrations() {
  zh_expect_no_box "no box at start-up: all five hotkeys registered"
  expect_keys "F1 F3 F5 F7 F9 are held, F2 is free" "F1: taken|F3: taken|F5: taken|F7: taken|F9: taken|F2: free"
  zt_act "General tab" zt_drv select-tab PageControlOptions 3
  zt_act "Set hotkeys pressed" zt_drv click BitBtnSetHotkeys
  zt_act "Set hotkeys pressed again" zt_drv click BitBtnSetHotkeys
  zh_expect_no_box "no box after Set hotkeys twice"
  expect_keys "after Set hotkeys twice: the same five are held" "F1: taken|F3: taken|F5: taken|F7: taken|F9: taken|F2: free"
}

# A control's own visibility shows only with its tab page in front.
check_toggle_background() {
  zt_act "Screen tab" zt_drv select-tab PageControlOptions 0
  zt_act "Style page" zt_drv select-tab PageControlScreen 2
  zt_expect_control ColorBoxBg visible 0 "the colour list is hidden with the background off"
  posted_hotkey 5
  zt_wait_field 5 checked 1 control CheckBoxEnableBg
  zt_expect_field "hotkey 5 checks Enable background" checked 1
  zt_expect_control ColorBoxBg visible 1 "hotkey 5 shows the colour list"
  zh_expect_pixel "hotkey 5: the overlay paints the blue background" "$DESKTOP_X" "$DESKTOP_Y" 0000FF
  posted_hotkey 5
  zt_wait_field 5 checked 0 control CheckBoxEnableBg
  zt_expect_field "hotkey 5 again unchecks it" checked 0
  zt_expect_control ColorBoxBg visible 0 "hotkey 5 again hides the colour list"
  zh_expect_pixel "hotkey 5 again: the background is gone" "$DESKTOP_X" "$DESKTOP_Y" 000000
}

check_snapshot_hotkey() {
  local before
  before="$(zh_count_files "$ZT_SHOTS" 'Screenshot_*.bmp')"
  posted_hotkey 4
  if zh_wait_files "$ZT_SHOTS" 'Screenshot_*.bmp' $((before + 1)) 10; then
    zt_pass "$1: hotkey 4 writes a snapshot file"
  else
    zt_fail "$1: hotkey 4 writes a snapshot file" "none in $ZT_SHOTS"
  fi
}

# Recording needs a compressor: the test stand-in, chosen in the list.
choose_compressor() {
  zh_choose_compressor "first run"
  if zt_drv control ComboBoxVideoCompressors && [ "$(zt_field count)" -gt 0 ]; then
    zt_pass "the compressor list offers the test compressor ($(zt_field 'item 0'))"
  else
    zt_fail "the compressor list offers the test compressor" "$(zt_field count) items $(zt_error_text)"
  fi
}

check_recording() {
  posted_hotkey 1
  if zt_wait_field 10 enabled 1 control JvImgBtnStop; then
    zt_pass "hotkey 1 records: Stop enabled"
  else
    zt_fail "hotkey 1 records: Stop enabled" "enabled '$(zt_field enabled)' $(zt_error_text)"
  fi
  zh_expect_pixel "recording: the frame is red" "$ZH_FRAME_X" "$ZH_FRAME_Y" FF0000
  zt_expect_control ComboBoxFps enabled 0 "recording: the options are disabled"
  zr_expect_duration "recording: the duration runs" differs
  posted_hotkey 2
  zh_expect_pixel "hotkey 2 pauses: the frame is grey" "$ZH_FRAME_X" "$ZH_FRAME_Y" C0C0C0
  zt_expect_control JvImgBtnStop enabled 1 "paused: Stop still enabled"
  zr_expect_duration "paused: the duration holds" same
  posted_hotkey 3
  if zt_wait_field 10 enabled 0 control JvImgBtnStop; then
    zt_pass "hotkey 3 stops: Stop disabled"
  else
    zt_fail "hotkey 3 stops: Stop disabled" "enabled '$(zt_field enabled)' $(zt_error_text)"
  fi
  zh_expect_pixel "stopped: the frame is green" "$ZH_FRAME_X" "$ZH_FRAME_Y" 00FF00
  zt_expect_control ComboBoxFps enabled 1 "stopped: the options are enabled again"
  zh_expect_no_box "no box while recording, pausing and stopping"
  local avi
  avi="$(find "$ZT_CASTS" -maxdepth 1 -name 'Screencast_*.avi' | head -n 1)"
  if [ -n "$avi" ] && [ "$(head -c 4 "$avi")" = RIFF ] && [ "$(tail -c +9 "$avi" | head -c 4)" = "AVI " ]; then
    zt_pass "the recording wrote $(basename "$avi") ($(stat -c %s "$avi") bytes)"
  else
    zt_fail "the recording wrote a Screencast_*.avi (RIFF AVI)" "${avi:-no file} $(ls -l "$ZT_CASTS" 2>/dev/null | tail -n +2 | tr '\n' ' ')"
  fi
}

# Position of a modifier in the modifier lists.
modifier_index() {
  case "$1" in
    ALT) echo 1 ;;
    CTRL) echo 2 ;;
    SHIFT) echo 3 ;;
    WIN) echo 4 ;;
  esac
}

# press_with_modifiers SNAPSHOT-MODIFIER BACKGROUND-MODIFIER. Then the bare F9 is pressed
# before the background's key again: had F9 toggled too, the background would stay as it was.
press_with_modifiers() {
  local snap="$1+F7" bg="$2+F9" before checked
  zt_act "$snap chosen" zt_drv select ComboBoxVKSnapshot "$(modifier_index "$1")"
  zt_act "$bg chosen" zt_drv select ComboBoxVKToggleBg "$(modifier_index "$2")"
  zt_act "Set hotkeys for $snap and $bg" zt_drv click BitBtnSetHotkeys
  zh_expect_no_box "no box after setting $snap and $bg"
  expect_keys "$snap and $bg are held, the bare keys free" "$snap: taken|$bg: taken|F7: free|F9: free"
  before="$(zh_count_files "$ZT_SHOTS" 'Screenshot_*.bmp')"
  zt_drv control CheckBoxEnableBg
  checked="$(zt_field checked)"
  zt_act "$snap $bg pressed" zt_drv press-keys "$snap" "$bg"
  if zh_wait_files "$ZT_SHOTS" 'Screenshot_*.bmp' $((before + 1)) 10; then
    zt_pass "$snap pressed writes a snapshot file"
  else
    zt_fail "$snap pressed writes a snapshot file" "none new in $ZT_SHOTS"
  fi
  zt_wait_field 5 checked $((1 - checked)) control CheckBoxEnableBg
  zt_expect_field "$bg pressed toggles the background" checked $((1 - checked))
  zt_act "F9 $bg pressed" zt_drv press-keys F9 "$bg"
  zt_wait_field 5 checked "$checked" control CheckBoxEnableBg
  zt_expect_control CheckBoxEnableBg checked "$checked" "F9 without $2 does nothing, $bg toggles back"
}

check_modifier_hotkeys() {
  zt_act "General tab" zt_drv select-tab PageControlOptions 3
  press_with_modifiers SHIFT ALT
  press_with_modifiers WIN CTRL
}

run_with_all_keys() {
  zh_start_ready "$ZH_DEFAULT_RECT" "first run"
  check_registrations
  check_toggle_background
  check_snapshot_hotkey "first run"
  choose_compressor
  check_recording
  check_modifier_hotkeys
  zh_close "first run"
  expect_keys "after the end the five keys are free" "F1: free|F3: free|F5: free|WIN+F7: free|CTRL+F9: free"
}

# Another program holds F1 before the start.
run_with_start_key_taken() {
  zh_desk hotkey hold F1 120
  zt_check "another program holds F1" zt_drv wait-window ZelvioTestHotkeyHolder - 20000 || zt_finish
  zt_start_zelvio
  zt_check "second run: main window appears" zt_drv wait-window TFormMain - 60000 || zt_finish
  if zt_drv dismiss 60000; then
    zt_expect_field "box: Unable to assign start hotkey." text "Unable to assign start hotkey."
    zt_expect_field "box titled Zelvio" caption "Zelvio"
  else
    zt_fail "box: Unable to assign start hotkey." "$(zt_error_text)"
  fi
  zh_expect_no_box "no box for the other four"
  if zt_wait_field 30 rect "$ZH_DEFAULT_RECT" window-info TFormMainCapturer; then
    zt_pass "second run: start-up completes after the box"
  else
    zt_fail "second run: start-up completes after the box" "overlay rect '$(zt_field rect)'"
  fi
  expect_keys "the other four are held by Zelvio, with the stored modifiers" "F3: taken|F5: taken|WIN+F7: taken|CTRL+F9: taken"
  check_snapshot_hotkey "second run"
  posted_hotkey 5
  zt_wait_field 5 checked 1 control CheckBoxEnableBg
  zt_expect_field "second run: hotkey 5 checks Enable background" checked 1
  zh_close "second run"
}

mkdir -p "$ZT_SHOTS" "$ZT_CASTS"
run_with_all_keys
run_with_start_key_taken
zt_finish
