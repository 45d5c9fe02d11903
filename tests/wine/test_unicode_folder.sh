#!/usr/bin/env bash
# The release zip (Zelvio-<version>-win64.zip beside the dist folder) unpacked, as a new
# user gets it, into a folder whose name holds Latin-1, Cyrillic and Chinese characters, on
# a Wine whose ANSI code page (1252) can spell only the first, and started from there with
# nothing added: a snapshot and a recording with the test codec land in the output folders
# the zip carries, without a box, and play; the options and an output folder
# chosen under such a name survive a restart (settings.ini then UTF-8 behind a byte-order
# mark); a recording killed in that folder is repaired at the next start.
# Usage: test_unicode_folder.sh <Zelvio dist folder> <folder of zdriver.exe>
ZT_APP_NAME="Zélvio_Запись_录像"
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib/recording.sh"
zt_init "$@"

CHOSEN="$ZT_APP/Записи 录像"
CHOSEN_WIN="$(zt_windows_path "$CHOSEN")"

check_snapshot() {
  local shot facts
  zh_act "Snapshot clicked" click JvImgBtnSnapshot
  zh_expect_no_box "no box after the snapshot"
  if ! zh_wait_files "$ZT_SHOTS" 'Screenshot_*.bmp' 1 10; then
    zt_fail "the snapshot lands in Output\\Screenshots beside the program" "none in $ZT_SHOTS"
    return
  fi
  zt_pass "the snapshot lands in Output\\Screenshots beside the program"
  shot="$(find "$ZT_SHOTS" -maxdepth 1 -name 'Screenshot_*.bmp' | head -n 1)"
  facts="$(python3 "$ZH_LIB/check_bitmap.py" "$shot")"
  zt_expect_eq "the snapshot is a 864x480 bitmap" "864x480" "$(printf '%s\n' "$facts" | sed -n 's/^size: //p')"
}

check_recording() {
  zh_choose_compressor "first start"
  zr_record_seconds "in the named folder" 2 || return
  zr_expect_video "the recording in Output\\Screencasts" "$(zr_newest_avi "$ZT_CASTS")" 864 480 25/1
}

# Through the folder picker, as a user chooses it.
choose_folder() {
  mkdir -p "$CHOSEN"
  zt_act "General tab" zt_drv select-tab PageControlOptions 3
  zt_act "the screencast folder's picker opened" zt_drv click BitBtnOutputVideoPath
  zt_act "the folder picked" zt_drv pick-folder "$CHOSEN_WIN" 20000
  zh_expect_no_box "no box after the pick"
  zt_expect_control EditOutputVideoPath text "$CHOSEN_WIN" "the box shows the picked folder"
  zt_act "Hide to tray clicked" zt_drv click CheckBoxHideToTray
}

check_settings_file() {
  zt_check "settings.ini is written beside the program" test -s "$ZT_SETTINGS" || return
  zt_expect_eq "settings.ini is UTF-8 behind a byte-order mark" "efbbbf" "$(head -c 3 "$ZT_SETTINGS" | od -An -tx1 | tr -d ' \n')"
  zt_expect_eq "settings.ini holds the chosen folder" "$CHOSEN_WIN" "$(zh_ini_value "$ZT_SETTINGS" EditOutputVideoPath_Text)"
  zt_expect_eq "settings.ini holds the snapshot folder beside the program" "$ZT_APP_WIN\\Output\\Screenshots" \
    "$(zh_ini_value "$ZT_SETTINGS" EditOutputScreenshotsPath_Text)"
}

check_restart() {
  zh_start_ready "$ZH_DEFAULT_RECT" "restart"
  zh_expect_no_box "no box at the restart"
  zt_expect_control EditOutputVideoPath text "$CHOSEN_WIN" "the chosen folder survives the restart"
  zt_expect_control CheckBoxHideToTray checked 1 "Hide to tray survives the restart"
  zt_expect_control ComboBoxVideoCompressors selection 0 "the compressor survives the restart"
}

check_killed_recording() {
  local avi name text frames
  zr_record_then_kill 3 || return
  avi="$(zr_newest_avi "$CHOSEN")"
  name="$(basename "$avi")"
  if [ -n "$avi" ] && [ -s "$avi.recovery" ]; then
    zt_pass "the killed recording and its notes are in the chosen folder"
  else
    zt_fail "the killed recording and its notes are in the chosen folder" "'$name' in $CHOSEN"
    return
  fi
  zh_start_ready "$ZH_DEFAULT_RECT" "start after the kill"
  if zt_drv dismiss 30000; then
    text="$(zt_field text)"
    zt_expect_match "the box at the next start names the file" "*$name*" "$text"
    zt_expect_match "the box says how many seconds the file holds" "*seconds*" "$text"
  else
    zt_fail "a box at the next start" "$(zt_error_text)"
  fi
  zh_expect_no_box "exactly one box at the next start"
  zt_check "the repair removed the recovery notes" test ! -e "$avi.recovery"
  frames="$(zr_decoded_frames "$avi")"
  if [ "$frames" -ge 50 ]; then
    zt_pass "the repaired file plays ($frames frames)"
  else
    zt_fail "the repaired file plays" "$frames frames decode"
  fi
}

# In place of the copy of the dist folder: only what the zip holds.
unpack_release_zip() {
  local zip
  zip="$(find "$ZT_DIST/.." -maxdepth 1 -name 'Zelvio-*-win64.zip' | head -n 1)"
  [ -n "$zip" ] || zt_abort "no Zelvio-<version>-win64.zip beside $ZT_DIST"
  rm -rf "$ZT_APP" "$ZT_TMP/unpacked"
  python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$ZT_TMP/unpacked" ||
    zt_abort "$zip does not unpack"
  mv "$ZT_TMP/unpacked/Zelvio" "$ZT_APP"
  echo "unpacked $(basename "$zip") into $ZT_APP"
}

if printf '%s' "$ZT_APP_NAME" | iconv -f UTF-8 -t CP1252 >/dev/null 2>&1; then
  zt_abort "the folder name must not be spellable in code page 1252"
fi
unpack_release_zip
zh_start_ready "$ZH_DEFAULT_RECT" "first start"
zh_expect_no_box "no box at the first start"
check_snapshot
check_recording
choose_folder
zh_close "first run"
check_settings_file
check_restart
check_killed_recording
zh_close "last run"
zt_finish
