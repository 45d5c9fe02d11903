#!/usr/bin/env bash
# When settings.ini must stay as it is, or is damaged:
# - read-only: its values load (10 FPS stored -> caption "FormMainCapturer@10"), and after
#   a run with changes the file is byte for byte as before, still read-only;
# - a run that is killed (TerminateProcess) after changes leaves the previous file byte for
#   byte;
# - garbage values ("maybe", "12a", unknown colour names, lines without "=") start without
#   a crash or a box: those controls keep their design values, a valid entry among them
#   loads, and the regular end writes clean values;
# - the end of a Windows session (WM_QUERYENDSESSION, then WM_ENDSESSION(TRUE), then the
#   process killed at once, as Windows may) keeps the session's changes in the file, and the
#   overlay and the cursor hook are gone;
# - a file that another program holds open without sharing when the program starts is
#   left byte for byte, whether it is still held at the end or released during the run
#   (the run goes on with the defaults, without a box);
# - a faulty "ShowCmd" reports "'abc' is not a valid integer value." in the error box, applies no stored
#   option, and the end writes only FormVersion, so the faulty line stays.
# Usage: test_settings_protect.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

SETTINGS_WIN="$ZT_APP_WIN\\settings.ini"
FULL_RECT="$(zh_overlay_rect 1920 1080 0 0)"

# set_value KEY VALUE: rewrites one line of settings.ini, keeping its CR LF.
set_value() {
  zh_set_ini_value "$ZT_SETTINGS" "$1" "$2"
}

# Changes that a run would store: full screen, 30 FPS (the restart notice answered),
# background on, and a moved window.
make_changes() {
  local what="$1"
  zt_act "$what: Screen tab" zt_drv select-tab PageControlOptions 0
  zt_act "$what: full screen" zt_drv click RadioButtonDimFullscreen
  zt_wait_field 5 rect "$FULL_RECT" window-info TFormMainCapturer
  zt_expect_field "$what: overlay frames the full screen" rect "$FULL_RECT"
  zt_act "$what: Video tab" zt_drv select-tab PageControlOptions 1
  zt_act "$what: 30 FPS chosen" zt_drv select ComboBoxFps 4
  zt_check "$what: restart notice answered" zt_drv dismiss 10000
  zt_act "$what: window moved" zt_drv move-main 640 480
}

first_run() {
  zh_start_ready "$ZH_DEFAULT_RECT" "first run"
  zh_close "first run"
  [ -f "$ZT_SETTINGS" ] || zt_abort "first run wrote settings.ini"
}

read_only_run() {
  set_value ComboBoxFps_ItemIndex 1
  zt_drv file-attributes "$SETTINGS_WIN" +r
  zt_expect_field "settings.ini made read-only" readonly 1
  cp "$ZT_SETTINGS" "$ZT_TMP/read_only.ini"
  zh_start_ready "$ZH_DEFAULT_RECT" "read-only run"
  zt_drv window-info TFormMainCapturer
  zt_expect_field "read-only run: the stored 10 FPS loaded" caption "FormMainCapturer@10"
  zt_expect_control ComboBoxFps selected 10 "read-only run: FPS list shows 10"
  make_changes "read-only run"
  zh_close "read-only run"
  zh_expect_same_file "read-only file left byte for byte" "$ZT_TMP/read_only.ini" "$ZT_SETTINGS"
  zt_drv file-attributes "$SETTINGS_WIN"
  zt_expect_field "still read-only" readonly 1
  zt_drv file-attributes "$SETTINGS_WIN" -r
  zt_expect_field "read-only attribute cleared for the next run" readonly 0
}

killed_run() {
  cp "$ZT_SETTINGS" "$ZT_TMP/before_kill.ini"
  zh_start_ready "$ZH_DEFAULT_RECT" "killed run"
  make_changes "killed run"
  zt_act "killed run: Zelvio.exe terminated" zt_drv terminate TFormMain
  if zt_wait_zelvio_exit 15; then
    zt_expect_eq "killed run: ended by the kill, not by itself" 9 "$ZT_EXIT_CODE"
  else
    zt_fail "killed run: Zelvio.exe gone" "still running"
  fi
  # The companions outlive a killed recorder; they go the same way.
  zt_drv terminate TFormMainCapturer
  zt_drv terminate TFormHookCursor FormHookCursor
  zh_expect_same_file "killed run: the previous file left byte for byte" "$ZT_TMP/before_kill.ini" "$ZT_SETTINGS"
}

session_end_run() {
  zh_start_ready "$ZH_DEFAULT_RECT" "session end"
  zt_check "session end: cursor hook running" zt_drv wait-window TFormHookCursor FormHookCursor 10000
  make_changes "session end"
  if zt_drv end-session logoff; then
    zt_expect_field "session end: the program lets the session end" granted 1
  else
    zt_fail "session end: both messages answered" "$(zt_error_text)"
  fi
  if zt_wait_zelvio_exit 15; then
    zt_pass "session end: Zelvio.exe gone (exit code $ZT_EXIT_CODE, killed by the driver: $(zt_field killed))"
  else
    zt_fail "session end: Zelvio.exe gone" "still running"
  fi
  zt_expect_eq "session end: full screen stored" TRUE "$(zh_ini_value "$ZT_SETTINGS" RadioButtonDimFullscreen_Checked)"
  zt_expect_eq "session end: 30 FPS stored" 4 "$(zh_ini_value "$ZT_SETTINGS" ComboBoxFps_ItemIndex)"
  zt_expect_eq "session end: window position stored" 640,480 "$(zh_ini_value "$ZT_SETTINGS" NormPos | cut -d, -f1,2)"
  zt_check "session end: the overlay got Close" zt_drv wait-gone TFormMainCapturer - 5000
  zt_check "session end: the cursor hook is gone" zt_drv wait-gone TFormHookCursor FormHookCursor 5000
  # Whatever is left would spoil the next run.
  zt_drv terminate TFormMainCapturer >/dev/null
  zt_drv terminate TFormHookCursor FormHookCursor >/dev/null
}

# held_run "what" release-before-close: another program opens settings.ini without sharing
# before the start; it lets go before the close, or only after the program has ended.
held_run() {
  local what="$1" early="$2" release="$ZT_TMP/release-$RANDOM"
  set_value ComboBoxFps_ItemIndex 1
  cp "$ZT_SETTINGS" "$ZT_TMP/held.ini"
  rm -f "$ZT_TMP/zdriver.out"
  zh_start_helper zdriver hold-file "$SETTINGS_WIN" 180000 "$(zt_windows_path "$release")"
  local end=$((SECONDS + 30))
  until grep -q '^held: 1' "$ZT_TMP/zdriver.out" 2>/dev/null; do
    [ "$SECONDS" -ge "$end" ] && break
    sleep 0.2
  done
  zt_check "$what: settings.ini held open without sharing" grep -q '^held: 1' "$ZT_TMP/zdriver.out"
  zh_start_ready "$ZH_DEFAULT_RECT" "$what"
  zt_drv window-info TFormMainCapturer
  zt_expect_field "$what: runs with the defaults (25 FPS, not the stored 10)" caption "FormMainCapturer@25"
  make_changes "$what"
  if [ "$early" = 1 ]; then
    touch "$release"
    sleep 0.5
  fi
  zh_close "$what"
  touch "$release"
  end=$((SECONDS + 15))
  until grep -q '^released: 1' "$ZT_TMP/zdriver.out" 2>/dev/null; do
    [ "$SECONDS" -ge "$end" ] && break
    sleep 0.2
  done
  zh_expect_same_file "$what: the held file left byte for byte" "$ZT_TMP/held.ini" "$ZT_SETTINGS"
}

write_damaged_file() {
  printf '%s\r\n' \
    '[FormMain]' \
    'FormVersion=0' \
    'a line without an equals sign' \
    '=' \
    'RadioButtonDimFullscreen_Checked=maybe' \
    'ComboBoxDimension_ItemIndex=12a' \
    'TrackBarDimX_Position=abc' \
    'RadioButtonPosTopLeft_Checked=perhaps' \
    'ColorBoxBg_Selected=clNotAColour' \
    'CheckBoxEnableBg_Checked=Y' \
    'ComboBoxFps_ItemIndex=x1' \
    'ComboBoxKeyStart_ItemIndex=--3' \
    'CheckBoxEnableCursor_Checked=2x' \
    'CheckBoxHideToTray_Checked=maybe' \
    'SpinEditTransparencyClock_Value=lots' \
    'LabelDimXValue_Caption=garbage text' \
    '[' \
    '][' >"$ZT_SETTINGS"
}

damaged_run() {
  write_damaged_file
  zt_start_zelvio
  zt_check "damaged file: main window appears" zt_drv wait-window TFormMain - 60000 || return
  zt_drv messageboxes-dismiss-all 3000
  zt_expect_eq "damaged file: no box" 0 "$(zt_field dismissed)"
  if zt_wait_field 30 rect "$ZH_DEFAULT_RECT" window-info TFormMainCapturer; then
    zt_pass "damaged file: default region framed"
  else
    zt_fail "damaged file: default region framed" "rect '$(zt_field rect)'"
  fi
  zt_expect_field "damaged file: default frame rate" caption "FormMainCapturer@25"
  zt_expect_control RadioButtonDimFullscreen checked 0 "damaged file: 'maybe' leaves full screen off"
  zt_expect_control RadioButtonPosCenter checked 1 "damaged file: 'perhaps' leaves the centre anchor"
  zt_expect_control ComboBoxDimension selected "864x480 (480p Youtube 16:9)" "damaged file: '12a' leaves preset 21"
  zt_expect_control ComboBoxFps selected 25 "damaged file: 'x1' leaves 25 FPS"
  zt_expect_control ComboBoxKeyStart selected F1 "damaged file: '--3' leaves F1"
  zt_expect_control CheckBoxEnableCursor checked 1 "damaged file: '2x' leaves the cursor on"
  zt_expect_control CheckBoxHideToTray checked 0 "damaged file: 'maybe' leaves Hide to tray off"
  zt_expect_control SpinEditTransparencyClock text 1000 "damaged file: 'lots' leaves 1000 ms"
  zt_expect_control LabelDimXValue text 864 "damaged file: the read-out is recomputed"
  zt_expect_control CheckBoxEnableBg checked 1 "damaged file: the valid 'Y' loads"
  zt_drv control ColorBoxBg
  zt_expect_field "damaged file: unknown colour name leaves blue" selected Blue
  zh_close "damaged file"
  zt_expect_eq "damaged file rewritten clean: FPS" 3 "$(zh_ini_value "$ZT_SETTINGS" ComboBoxFps_ItemIndex)"
  zt_expect_eq "damaged file rewritten clean: full screen" FALSE \
    "$(zh_ini_value "$ZT_SETTINGS" RadioButtonDimFullscreen_Checked)"
}

faulty_placement_run() {
  set_value ShowCmd abc
  set_value ComboBoxFps_ItemIndex 0
  cp "$ZT_SETTINGS" "$ZT_TMP/faulty.ini"
  zt_start_zelvio
  zt_check "faulty ShowCmd: main window appears" zt_drv wait-window TFormMain - 60000 || return
  if zt_drv dismiss 30000; then
    # The standard error box ends a text with "." when its last character sorts after ".".
    zt_expect_field "faulty ShowCmd: the box names the value" text "'abc' is not a valid integer value."
    zt_expect_field "faulty ShowCmd: error icon" icon 1
  else
    zt_fail "faulty ShowCmd: the box names the value" "$(zt_error_text)"
  fi
  if zt_wait_field 30 rect "$ZH_DEFAULT_RECT" window-info TFormMainCapturer; then
    zt_pass "faulty ShowCmd: start-up completes"
  else
    zt_fail "faulty ShowCmd: start-up completes" "rect '$(zt_field rect)'"
  fi
  zt_expect_control ComboBoxFps selected 25 "faulty ShowCmd: no stored option applied (FPS 25, not 5)"
  zh_close "faulty ShowCmd"
  zt_expect_eq "faulty ShowCmd: the faulty line stays" abc "$(zh_ini_value "$ZT_SETTINGS" ShowCmd)"
  zt_expect_eq "faulty ShowCmd: the stored options stay as they were" 0 \
    "$(zh_ini_value "$ZT_SETTINGS" ComboBoxFps_ItemIndex)"
}

first_run
read_only_run
killed_run
session_end_run
held_run "held to the end" 0
held_run "held at the start only" 1
damaged_run
first_run
faulty_placement_run
zt_finish
