#!/usr/bin/env bash
# The settings file across two runs: a first run without settings.ini writes it beside the
# exe, byte for byte as tests/data/first_run_settings.ini once this run's folder and window
# placement are put in; a second run that loads it and changes nothing writes it back
# unchanged.
# Usage: test_settings_roundtrip.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

REFERENCE="$ZT_REPO/tests/data/first_run_settings.ini"
OVERLAY_RECT="520,292,1400,788"
MAIN_RECT=""

# One run from start to a regular end. The overlay's rectangle is announced by the last
# start-up step, so once it is in place the start-up is complete.
run_once() {
  local run="$1"
  zt_start_zelvio
  zt_check "$run: main window appears" zt_drv wait-window TFormMain - 60000 || zt_finish
  zt_wait_field 30 rect "$OVERLAY_RECT" window-info TFormMainCapturer
  zt_drv window-info TFormMain
  MAIN_RECT="$(zt_field rect)"
  zt_act "$run: close request posted" zt_drv close-main
  zt_drv messageboxes-dismiss-all 1500
  zt_expect_eq "$run: no message box at close" 0 "$(zt_field dismissed)"
  if ! zt_wait_zelvio_exit 30; then
    zt_fail "$run: Zelvio.exe exits" "still running after 30 s"
    zt_finish
  fi
}

value_of() {
  sed -n "s/^$1=//p" "$ZT_SETTINGS" | tr -d '\r' | head -n 1
}

# Every line, the last one included, ends with CR LF.
check_line_ends() {
  local lines crlf
  lines="$(wc -l <"$ZT_SETTINGS")"
  crlf="$(grep -c $'\r$' "$ZT_SETTINGS")"
  if [ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] && [ "$(tail -c 2 "$ZT_SETTINGS" | od -An -tx1 | tr -d ' ')" = "0d0a" ]; then
    zt_pass "every line ends with CR LF"
  else
    zt_fail "every line ends with CR LF" "$crlf of $lines lines, last bytes $(tail -c 2 "$ZT_SETTINGS" | od -An -tx1)"
  fi
}

# The normal position depends on where this run's window went, and the output folders on
# this run's folder: both are rewritten the same way in the reference and in the written
# file (the normal position is checked against the window on its own).
normalise() {
  DIR="$ZT_APP_WIN" awk '
    { sub(/\r$/, "") }
    /^(EditOutputVideoPath|EditOutputScreenshotsPath)_Text=/ {
      at = index($0, "\\Output\\")
      if (at > 0) $0 = substr($0, 1, index($0, "=")) ENVIRON["DIR"] substr($0, at)
    }
    /^NormPos/ { $0 = substr($0, 1, index($0, "=")) "<placement>" }
    { printf "%s\r\n", $0 }
  ' "$1"
}

check_against_reference() {
  if [ ! -f "$REFERENCE" ]; then
    zt_fail "matches first_run_settings.ini" "no reference file at $REFERENCE"
    return
  fi
  normalise "$REFERENCE" >"$ZT_TMP/expected.ini"
  normalise "$ZT_SETTINGS" >"$ZT_TMP/actual.ini"
  zh_expect_same_file "matches first_run_settings.ini (folder and placement put in)" \
    "$ZT_TMP/expected.ini" "$ZT_TMP/actual.ini"
}

check_output_folders() {
  zt_expect_eq "screencast folder defaults to the current folder" \
    "$ZT_APP_WIN\\Output\\Screencasts" "$(value_of EditOutputVideoPath_Text)"
  zt_expect_eq "screenshot folder defaults to the current folder" \
    "$ZT_APP_WIN\\Output\\Screenshots" "$(value_of EditOutputScreenshotsPath_Text)"
}

# Without a taskbar the work area is the whole screen, so the normal position is the
# window's own rectangle; each plain key repeats its screen-size key.
check_placement() {
  zt_expect_eq "NormPos is the main window's rectangle" "$MAIN_RECT" "$(value_of NormPos)"
  zt_expect_eq "NormPos(1920x1080) repeats NormPos" "$(value_of NormPos)" \
    "$(value_of 'NormPos(1920x1080)')"
  zt_expect_eq "MinMaxPos(1920x1080) repeats MinMaxPos" "$(value_of MinMaxPos)" \
    "$(value_of 'MinMaxPos(1920x1080)')"
}

run_once "first run"
if [ ! -f "$ZT_SETTINGS" ]; then
  # Nothing below can be looked at without the file, so the test ends here, failed.
  zt_fail "settings.ini written beside Zelvio.exe" "no file at $ZT_SETTINGS after a regular end"
  zt_finish
fi
zt_pass "settings.ini written beside Zelvio.exe"
check_line_ends
check_against_reference
check_output_folders
check_placement

cp "$ZT_SETTINGS" "$ZT_TMP/first_run.ini"
run_once "second run"
zh_expect_same_file "a run that changes nothing writes the file back unchanged" "$ZT_TMP/first_run.ini" "$ZT_SETTINGS"
zt_finish
