#!/usr/bin/env bash
# Recordings that do not end with Stop: the program killed while recording (the next start
# repairs the file and says so once), also when the recording went to a folder that the
# settings no longer name, and a screencast folder on a small disk that fills up while
# recording (the recording stops at once, the box names the file and the reason, and the
# file plays up to the point of failure), with large raw frames and with small ones. Two
# recordings within one second keep two files. The disk needs a tmpfs mount; where
# mounting is refused, that part says SKIP with the reason.
# Usage: test_recovery.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib/recording.sh"
zt_init "$@"

# The test codec passes 32-bit frames of the region through unchanged: 864x480 by default,
# 160x120 (the first preset size, centred) for the small frames.
FRAME_BYTES=$((864 * 480 * 4))
SMALL_RECT="$(zh_overlay_rect 160 120 880 480)"
DISK=""
DISK_MOUNTED=0

check_clean_recording_leaves_nothing() {
  local avi
  zr_record_seconds "clean" 2 || return
  avi="$(zr_newest_avi "$ZT_CASTS")"
  if [ -e "$avi.recovery" ]; then
    zt_fail "a clean stop leaves no recovery notes" "$avi.recovery is there"
  else
    zt_pass "a clean stop leaves no recovery notes"
  fi
}

# Record, Stop and Record again by hotkeys within one second (as a quick F1, F5, F1): the
# second recording gets a file of its own ("_2" after the dated name) and both play. Under
# a heavy load the three keys may straddle a second, which tests nothing: then once more.
check_two_recordings_in_one_second() {
  local attempt before files first second
  for attempt in 1 2 3; do
    before="$(zh_count_files "$ZT_CASTS" 'Screencast_*.avi')"
    # From the top of a second, so the three keys fall within it.
    sleep "$(awk -v n="$(zr_now)" 'BEGIN { f = n - int(n); printf "%.3f", 1.02 - f }')"
    zt_act "Record, Stop, Record within one second" zt_drv hotkey-sequence 1 w600 3 1
    sleep 1.5
    zt_act "Stop the second recording" zt_drv hotkey-sequence 3
    zh_expect_no_box "no box for two quick recordings"
    zt_expect_eq "two new files" $((before + 2)) "$(zh_count_files "$ZT_CASTS" 'Screencast_*.avi')"
    mapfile -t files < <(find "$ZT_CASTS" -maxdepth 1 -name 'Screencast_*.avi' -printf '%T@ %p\n' | sort -n | tail -n 2 | cut -d' ' -f2-)
    first="${files[0]:-}"
    second="${files[1]:-}"
    echo "two recordings (attempt $attempt): $(basename "$first") $(stat -c %s "$first" 2>/dev/null) bytes, $(basename "$second") $(stat -c %s "$second" 2>/dev/null) bytes"
    # A second file under a plain dated name of its own: the keys straddled a second.
    case "$(basename "$second")" in
      Screencast_????-??-??-??-??-??.avi) [ "$attempt" -lt 3 ] && echo "the keys straddled a second; once more" && continue ;;
    esac
    break
  done
  zt_expect_eq "the second file carries the counter" "${first%.avi}_2.avi" "$second"
  zr_expect_video "the first of the two" "$first" 864 480 25/1
  zr_expect_video "the second of the two" "$second" 864 480 25/1
  if [ "$(zr_decoded_frames "$first")" -gt 0 ] && [ "$(zr_decoded_frames "$second")" -gt 0 ]; then
    zt_pass "both files hold frames"
  else
    zt_fail "both files hold frames" "$(zr_decoded_frames "$first") and $(zr_decoded_frames "$second") frames"
  fi
}


check_killed_recording() {
  local avi name text frames
  zr_record_then_kill 4 || return
  avi="$(zr_newest_avi "$ZT_CASTS")"
  name="$(basename "$avi")"
  echo "killed recording: $name, $(stat -c %s "$avi" 2>/dev/null) bytes"
  if [ -s "$avi.recovery" ]; then
    zt_pass "the killed recording left its recovery notes"
  else
    zt_fail "the killed recording left its recovery notes" "no $name.recovery"
  fi
  zt_expect_eq "before the repair the file does not decode" 0 "$(zr_decoded_frames "$avi")"

  zh_start_ready "$ZH_DEFAULT_RECT" "start after the kill"
  if zt_drv dismiss 30000; then
    text="$(zt_field text)"
    zt_expect_match "the box at the next start" "*$name*" "$text"
    zt_expect_match "the box says how many seconds the file holds" "*seconds*" "$text"
    zt_expect_field "the box is titled Zelvio" caption "Zelvio"
  else
    zt_fail "a box at the next start" "$(zt_error_text)"
  fi
  zh_expect_no_box "exactly one box at the next start"
  if [ -e "$avi.recovery" ]; then
    zt_fail "the repair removed the recovery notes" "still there"
  else
    zt_pass "the repair removed the recovery notes"
  fi
  frames="$(zr_decoded_frames "$avi")"
  if [ "$frames" -ge 75 ]; then
    zt_pass "ffprobe decodes at least 3 s from the repaired file ($frames frames at 25 fps)"
  else
    zt_fail "ffprobe decodes at least 3 s from the repaired file" "$frames frames"
  fi
  zr_expect_video "the repaired file" "$avi" 864 480 25/1
}

# A recording into a folder the settings do not name at the next start (a folder chosen
# while the program ran is saved only at close), killed: the next start still repairs it.
# The folder is changed in settings.ini around the killed run; the driver has no way into
# the folder browser.
check_killed_elsewhere() {
  local other avi name text
  other="$ZT_TMP/Elsewhere"
  mkdir -p "$other"
  point_screencasts_at "$other"
  zh_start_ready "$ZH_DEFAULT_RECT" "start recording elsewhere"
  zr_record_then_kill 3 "elsewhere" || return
  avi="$(zr_newest_avi "$other")"
  name="$(basename "$avi")"
  zt_expect_eq "the recording went to the other folder" 1 "$(zh_count_files "$other" 'Screencast_*.avi')"
  point_screencasts_at "$ZT_CASTS"
  zh_start_ready "$ZH_DEFAULT_RECT" "start with the default folder again"
  if zt_drv dismiss 30000; then
    text="$(zt_field text)"
    zt_expect_match "the box names the recording made elsewhere" "*$name*" "$text"
  else
    zt_fail "a box for the recording made elsewhere" "$(zt_error_text)"
  fi
  zh_expect_no_box "one box for the recording made elsewhere"
  if [ -e "$avi.recovery" ]; then
    zt_fail "the recording elsewhere lost its notes" "still there"
  else
    zt_pass "the recording elsewhere lost its notes"
  fi
  zr_expect_video "the recording made elsewhere" "$avi" 864 480 25/1
  zh_close "after the repair elsewhere"
}

# The program's folder option points at the small disk for the next start.
point_screencasts_at() {
  local win
  win="$(zt_windows_path "$1")"
  sed -i "s|^EditOutputVideoPath_Text=.*|EditOutputVideoPath_Text=${win//\\/\\\\}\r|" "$ZT_SETTINGS"
  zt_expect_eq "settings.ini points the screencasts at $(basename "$1")" "$win" "$(zh_ini_value "$ZT_SETTINGS" EditOutputVideoPath_Text)"
}

# Always undone, also when the test ends early: the program may still hold a file on the
# disk then, so it is ended first.
unmount_disk() {
  [ -n "$DISK" ] || return 0
  if [ "$DISK_MOUNTED" = 1 ]; then
    zt_kill_own_processes
    umount "$DISK" 2>/dev/null || umount -l "$DISK" 2>/dev/null
    DISK_MOUNTED=0
  fi
  rmdir "$DISK" 2>/dev/null
  DISK=""
}

# Free bytes of the small disk.
disk_free() {
  df -B1 --output=avail "$DISK" 2>/dev/null | tail -n 1 | tr -cd '0-9'
}

# The region preset for the next start: 21 is 864x480, 0 is 160x120.
use_region_preset() {
  sed -i "s|^ComboBoxDimension_ItemIndex=.*|ComboBoxDimension_ItemIndex=$1\r|" "$ZT_SETTINGS"
}

# check_full_disk SIZE RECT FRAME-BYTES WHAT
check_full_disk() {
  local size="$1" rect="$2" frame_bytes="$3" what="$4"
  local why avi name text full_at box_at late frames expected watcher
  FRAME_BYTES="$frame_bytes"
  # Outside the test folder, so its clean-up never reaches into a mounted disk.
  DISK="$(mktemp -d /tmp/zelvio-disk-XXXXXX)"
  if ! why="$(mount -t tmpfs -o "size=$size" tmpfs "$DISK" 2>&1)"; then
    zt_skip "recording onto a full disk ($what)" "mounting a $size tmpfs was refused: ${why:-no reason given}"
    unmount_disk
    return
  fi
  DISK_MOUNTED=1
  echo "full disk: $what"
  point_screencasts_at "$DISK"
  zh_start_ready "$rect" "start with the small disk"
  zh_expect_no_box "no box at that start"

  # A watcher notes when the disk has less room left than one frame needs.
  rm -f "$ZT_TMP/full_at"
  (
    while :; do
      free="$(disk_free)"
      if [ -n "$free" ] && [ "$free" -lt "$FRAME_BYTES" ]; then
        zr_now >"$ZT_TMP/full_at"
        exit 0
      fi
      sleep 0.05
    done
  ) &
  watcher=$!
  zr_click_record "Record onto the small disk"
  if zt_drv messagebox 30000; then
    box_at="$(zr_now)"
    text="$(zt_field text)"
  else
    zt_fail "a box when the disk is full" "$(zt_error_text)"
    kill "$watcher" 2>/dev/null
    return
  fi
  sleep 0.3
  kill "$watcher" 2>/dev/null
  wait "$watcher" 2>/dev/null
  avi="$(zr_newest_avi "$DISK")"
  name="$(basename "$avi")"
  zt_expect_match "the full-disk box" "*$name*" "$text"
  # The system's own words for ERROR_DISK_FULL: Windows and Wine word it differently.
  case "$text" in
    *"There is not enough space on the disk"* | *"Disk full"*) zt_pass "the full-disk box gives the system's reason" ;;
    *) zt_fail "the full-disk box gives the system's reason" "box text: '$text'" ;;
  esac
  zt_expect_match "the full-disk box gives the code" "*(\$80070070)*" "$text"
  zt_expect_field "the full-disk box is titled Zelvio" caption "Zelvio"
  zt_expect_field "the full-disk box carries the error icon" icon 1
  if [ -s "$ZT_TMP/full_at" ]; then
    full_at="$(cat "$ZT_TMP/full_at")"
    late="$(awk -v a="$full_at" -v b="$box_at" 'BEGIN { printf "%.2f", b - a }')"
    if awk -v d="$late" 'BEGIN { exit !(d <= 1.0) }'; then
      zt_pass "the box is up within a second of the disk filling (${late} s)"
    else
      zt_fail "the box is up within a second of the disk filling" "${late} s"
    fi
  else
    zt_fail "the disk filled up" "$(disk_free) bytes still free"
  fi
  # While the box is up the state is already Stopped: the buttons show it.
  zt_expect_control JvImgBtnStop enabled 0 "full disk: Stop disabled, as after Stop"
  zt_expect_control ComboBoxFps enabled 1 "full disk: the options are enabled again"
  local l t r bottom
  IFS=, read -r l t r bottom <<<"$rect"
  zh_expect_pixel "full disk: the frame is green" $((l + 4)) $((t + 4)) 00FF00
  zt_act "the full-disk box dismissed" zt_drv dismiss 5000
  zh_expect_no_box "one box only for the full disk"
  zr_expect_duration "full disk: the duration stands still" same

  echo "full-disk recording: $name, $(stat -c %s "$avi") bytes"
  frames="$(zr_decoded_frames "$avi")"
  # Every whole frame that reached the disk, less the room the index took back.
  expected=$(( ($(stat -c %s "$avi") - 65536) / (FRAME_BYTES + 8) - 2 ))
  if [ "$frames" -gt 0 ] && [ "$frames" -ge "$expected" ]; then
    zt_pass "the file plays up to the point of failure ($frames frames, at least $expected expected)"
  else
    zt_fail "the file plays up to the point of failure" "$frames frames decoded, $expected expected"
  fi
  if [ -e "$avi.recovery" ]; then
    zt_fail "the repaired file has no recovery notes left" "still there"
  else
    zt_pass "the repaired file has no recovery notes left"
  fi
  zr_expect_video "the file from the full disk" "$avi" $((r - l - 16)) $((bottom - t - 16)) 25/1
  zh_close "after the full disk"
  unmount_disk
}

command -v ffprobe >/dev/null || zt_abort "ffprobe is needed to check the recordings"
mkdir -p "$ZT_CASTS"
trap 'unmount_disk; zt_cleanup' EXIT
trap 'unmount_disk; zt_abort "interrupted"' INT TERM

zh_start_ready "$ZH_DEFAULT_RECT" "first run"
zh_expect_no_box "no box at the first start"
zh_choose_compressor "first run"
check_clean_recording_leaves_nothing
check_two_recordings_in_one_second
zh_close "after the clean recording"
zh_start_ready "$ZH_DEFAULT_RECT" "start after the clean recording"
zh_expect_no_box "no box at the start after a clean recording"
check_killed_recording
zh_close "after the repair"
check_killed_elsewhere
check_full_disk 40m "$ZH_DEFAULT_RECT" $((864 * 480 * 4)) "864x480 raw frames"
use_region_preset 0
check_full_disk 6m "$SMALL_RECT" $((160 * 120 * 4)) "160x120 raw frames"
use_region_preset 21
zt_finish
