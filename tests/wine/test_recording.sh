#!/usr/bin/env bash
# Recording end to end in Zelvio.exe with the test-only stand-in filters: the compressor
# list, Record 3 s / Pause 1 s / Record 2 s / Stop and the AVI checked with ffprobe (size,
# rate, duration), the duration read-out, the Audio tab (devices, lines, formats, a device
# without mixer), recording with sound (format, durations, sound in step with the picture
# across pauses), a missing screencast folder, closing while recording, the settings across
# a restart, recordings at 5, 10 and 20 fps and a missing Filters/PushSource.ax.
# Usage: test_recording.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib/recording.sh"
zt_init "$@"

CODEC="Zelvio Test Codec (dialog)"
AUDIO="Zelvio Test Audio"
AUDIO_NO_MIXER="Zelvio Test Audio (no mixer)"
FORMAT_0="Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: PCM, 44100 Hertz, 16 Bits, 2 Channels"
FORMAT_1="Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: PCM, 22050 Hertz, 16 Bits, 1 Channels"
FORMAT_2="Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: PCM, 48000 Hertz, 16 Bits, 2 Channels"
FORMAT_4="Major Type: Audio - Sub Type: PCM Format: WaveFormatEx: PCM, 11025 Hertz, 16 Bits, 1 Channels"
# Position of the test device in the list, read while the program runs.
AUDIO_INDEX=-1
# The clock picture sits inside the region (528,300 864x480); its bar's corner in the frames.
CLOCK_X=568
CLOCK_Y=340
CLOCK_BAR_X=48
CLOCK_BAR_Y=48

check_compressor_list() {
  zt_act "Video tab" zt_drv select-tab PageControlOptions 1
  zt_act "compressor list read" zt_drv control ComboBoxVideoCompressors
  zt_expect_field "the compressor list holds the system's one and our own" count 2
  zt_expect_field "first the dialog test codec, as the system lists it" "item 0" "$CODEC"
  zt_expect_field "then, last, the screen codec from the Filters folder" "item 1" "Zelvio Screen Codec (lossless)"
  zt_expect_field "no compressor chosen at first start" selection -1
  zt_act "compressor 0 chosen" zt_drv select ComboBoxVideoCompressors 0
  zh_expect_no_box "no box after choosing the compressor"
}

# Record 3 s, Pause 1 s, Record 2 s, Stop: one file of about 5 s. The state checks inside
# the intervals only lengthen them on a busy machine; the file is measured against the
# graph's own position (the read-out after Stop), not against the nominal 5 s.
check_record_pause_record() {
  local before avi
  before="$(zh_count_files "$ZT_CASTS" 'Screencast_*.avi')"
  zr_click_record "Record"
  zh_expect_pixel "recording: the frame is red" "$ZH_FRAME_X" "$ZH_FRAME_Y" FF0000
  zt_expect_control JvImgBtnStop enabled 1 "recording: Stop enabled"
  zt_expect_control JvImgBtnStartPause enabled 1 "recording: Pause enabled"
  zr_expect_duration "recording: the duration runs" differs
  zr_sleep_until 3
  zr_click_record "Pause"
  zh_expect_pixel "paused: the frame is grey" "$ZH_FRAME_X" "$ZH_FRAME_Y" C0C0C0
  zt_expect_control JvImgBtnStop enabled 1 "paused: Stop enabled"
  zt_expect_control JvImgBtnStartPause enabled 1 "paused: Record enabled"
  zr_expect_duration "paused: the duration holds" same
  zr_sleep_until 1
  zr_click_record "Record again"
  zh_expect_pixel "recording again: the frame is red" "$ZH_FRAME_X" "$ZH_FRAME_Y" FF0000
  zr_sleep_until 2
  zt_act "Stop clicked" zt_drv click JvImgBtnStop
  zh_expect_pixel "stopped: the frame is green" "$ZH_FRAME_X" "$ZH_FRAME_Y" 00FF00
  zt_expect_control JvImgBtnStop enabled 0 "stopped: Stop disabled"
  zt_expect_control JvImgBtnStartPause enabled 1 "stopped: Record enabled"
  zh_expect_no_box "no box while recording, pausing and stopping"
  local ran
  ran="$(zr_label_seconds)"
  if awk -v r="${ran:-x}" 'BEGIN { exit !(r + 0 == r && r >= 4.6) }'; then
    zt_pass "LabelDuration after Stop shows at least the 3 s + 2 s that ran (${ran} s)"
  else
    zt_fail "LabelDuration after Stop shows at least the 3 s + 2 s that ran" "reads '${ran}' s"
  fi
  if zh_wait_files "$ZT_CASTS" 'Screencast_*.avi' $((before + 1)) 5; then
    zt_pass "one new Screencast_*.avi"
  else
    zt_fail "one new Screencast_*.avi" "$(ls "$ZT_CASTS" | tr '\n' ' ')"
    return
  fi
  avi="$(zr_newest_avi "$ZT_CASTS")"
  zr_expect_video "3 s + 2 s recording" "$avi" 864 480 25/1
  # The graph's position counts from Run, while Wine starts stream time, and so the file,
  # 200 ms later; a busy machine may also make the source give up a few slots, which this
  # AVI Mux leaves out of the file. So the file lies between the position less 0.5 s and
  # the position less 0.1 s.
  zr_expect_duration_near "3 s + 2 s recording lasts as long as the graph ran, less Wine's start latency" \
    "$avi" "$(awk -v r="${ran:-0}" 'BEGIN { printf "%.3f", r - 0.3 }')" 0.2
  # An error the graph reports later (asynchronously) would show its box only now.
  zh_expect_no_box "no box came up after Stop while the file was checked"
}

check_audio_tab() {
  zt_act "Audio tab" zt_drv select-tab PageControlOptions 2
  zt_act "device list read" zt_drv control ComboBoxAudioDevices
  zr_expect_item "the device list holds $AUDIO" "$AUDIO"
  zr_expect_item "the device list holds $AUDIO_NO_MIXER" "$AUDIO_NO_MIXER"
  AUDIO_INDEX="$(zr_item_index "$AUDIO")"
  zt_act "first test device chosen" zt_drv select ComboBoxAudioDevices "$AUDIO_INDEX"
  zh_expect_no_box "no box after choosing $AUDIO"
  zt_act "input lines read" zt_drv control ComboBoxInputLines
  zt_expect_field "two input lines" count 2
  zt_expect_field "line 0 is Line In" "item 0" "Line In"
  zt_expect_field "line 1 is Microphone" "item 1" "Microphone"
  zt_expect_field "Line In is the enabled line" selected "Line In"
  zt_act "formats read" zt_drv control ListBoxAudioFormat
  zt_expect_field "five PCM formats" count 5
  zt_expect_field "format 0 text" "item 0" "$FORMAT_0"
  zt_expect_field "format 2 text" "item 2" "$FORMAT_2"
  zt_expect_field "format 4 text" "item 4" "$FORMAT_4"
  zt_expect_field "no format selected" selection -1
  zt_act "the device without mixer chosen" zt_drv select ComboBoxAudioDevices "$(zr_item_index "$AUDIO_NO_MIXER")"
  if zt_drv dismiss 10000; then
    zt_expect_field "box: Interface not supported." text "Interface not supported."
  else
    zt_fail "box: Interface not supported" "$(zt_error_text)"
  fi
  zt_check "the program goes on after the box" zt_drv control ComboBoxAudioDevices
  zt_act "first test device chosen again" zt_drv select ComboBoxAudioDevices "$AUDIO_INDEX"
  zh_expect_no_box "no box after choosing $AUDIO again"
  zt_act "line 1 (Microphone) chosen" zt_drv select ComboBoxInputLines 1
  zt_act "format 1 (22050 Hz mono) chosen" zt_drv select ListBoxAudioFormat 1
  zt_act "audio enabled" zt_drv click CheckBoxEnableAudio
  zh_expect_no_box "no box after enabling audio"
  zt_expect_control CheckBoxEnableAudio checked 1 "the audio box is checked"
}

# Nine runs of 1.5 to 1.8 s with eight pauses of 0.3 to 1.5 s between them, with sound,
# while a window inside the region shows the machine clock and the test device clicks at
# its whole seconds: at every pause the sound and the picture must end together, and the
# next run's sound must start where its picture does.
AV_SCHEDULE="${ZR_AV_SCHEDULE:-1.6 0.3 1.5 1.5 1.7 0.5 1.5 1.1 1.6 0.7 1.5 1.3 1.5 0.4 1.6 0.9 1.8}"

CLOCK_SHOWN=0

check_audio_recording() {
  local before avi
  # One clock for every recording of the run: each is a busy window of its own.
  if [ "$CLOCK_SHOWN" = 0 ]; then
    zh_desk clock "$CLOCK_X" "$CLOCK_Y"
    sleep 2
    zh_favour 'zdesk\.exe.*clock'
    CLOCK_SHOWN=1
  fi
  before="$(zh_count_files "$ZT_CASTS" 'Screencast_*.avi')"
  zr_record_schedule "with sound" "$AV_SCHEDULE"
  zh_expect_no_box "no box while recording with sound"
  if ! zh_wait_files "$ZT_CASTS" 'Screencast_*.avi' $((before + 1)) 5; then
    zt_fail "recording with sound wrote a new file" "none new in $ZT_CASTS"
    return
  fi
  avi="$(zr_newest_avi "$ZT_CASTS")"
  # Kept beside the logs: the missing-folder check below deletes the folder.
  cp "$avi" "$ZT_TMP/with-sound.avi"
  avi="$ZT_TMP/with-sound.avi"
  zr_expect_video "recording with sound" "$avi" 864 480 25/1
  zr_expect_audio "recording with sound" "$avi" 22050 16 1
  zr_expect_streams_in_step "recording with sound" "$avi"
  zr_expect_clock_sync "recording with sound" "$avi" "$CLOCK_BAR_X" "$CLOCK_BAR_Y"
}

# The folder is neither created nor checked. Record without it: one box names the file in
# that folder and gives the reason in words with its code, the frame turns green again and
# the program is back to Stopped, nothing left behind; once the folder exists Record records.
check_missing_folder() {
  local avi text casts_win prefix name
  casts_win="$ZT_APP_WIN\\Output\\Screencasts"
  rm -rf "$ZT_CASTS"
  zt_act "Record without the screencast folder" zt_drv click JvImgBtnStartPause
  if zt_drv dismiss 15000; then
    text="$(zt_field text)"
    # The driver writes the box's line breaks as \n.
    prefix="The recording could not start.\\nFile: $casts_win\\Screencast_"
    if [ "${text#"$prefix"}" != "$text" ] && [[ "$text" =~ \.avi\\nReason:\  ]]; then
      zt_pass "the box names the file in the missing folder"
    else
      zt_fail "the box names the file in the missing folder" "got '$text'"
    fi
    # Words, not the bare number DirectShow gives for a system code ("Error: 0x80070003").
    if [[ "$text" =~ Reason:\ [A-Za-z][A-Za-z\ ]+\ \(\$80070003\)\.$ ]]; then
      zt_pass "the reason is the system's words for the missing path, then its code"
    else
      zt_fail "the reason is the system's words for the missing path, then its code" "got '$text'"
    fi
  else
    zt_fail "Record without the folder shows an error box" "$(zt_error_text)"
  fi
  zh_expect_no_box "one box only"
  zh_expect_pixel "the frame is green again" "$ZH_FRAME_X" "$ZH_FRAME_Y" 00FF00
  zt_expect_control JvImgBtnStop enabled 0 "Stop disabled again"
  zt_expect_control JvImgBtnStartPause enabled 1 "Record enabled"
  zt_expect_control ComboBoxFps enabled 1 "the options usable again"
  zt_check "the folder was not created" test ! -e "$ZT_CASTS"
  name="$(printf '%s' "$text" | grep -o 'Screencast_[0-9-]*\(_[0-9]*\)\?\.avi' | head -n 1)"
  if [ -n "$name" ] && ! grep -qF "$name" "$ZT_APP/recovery-list.txt" 2>/dev/null; then
    zt_pass "the recovery list does not name the file that was never recorded"
  else
    zt_fail "the recovery list does not name the file that was never recorded" "'$name'"
  fi
  zt_act "Stop hotkey after the failed run" zt_drv hotkey 3
  zh_expect_no_box "no box at that Stop"
  mkdir -p "$ZT_CASTS"
  zr_record_seconds "after the folder was created" 2 || return
  avi="$(zr_newest_avi "$ZT_CASTS")"
  zr_expect_video "recording after a failed run" "$avi" 864 480 25/1
  zt_expect_eq "the folder holds only that recording" 1 "$(zh_count_files "$ZT_CASTS" '*')"
}

check_close_while_recording() {
  local before avi
  before="$(zh_count_files "$ZT_CASTS" 'Screencast_*.avi')"
  zr_click_record "Record before closing"
  sleep 3
  zh_close "closing while recording"
  if ! zh_wait_files "$ZT_CASTS" 'Screencast_*.avi' $((before + 1)) 5; then
    zt_fail "closing while recording leaves a file" "none new in $ZT_CASTS"
    return
  fi
  avi="$(zr_newest_avi "$ZT_CASTS")"
  zr_expect_video "file closed while recording" "$avi" 864 480 25/1
  zr_expect_duration_above "the file closed while recording lasts over 1 s" "$avi" 1.0
}

check_settings_kept() {
  zt_expect_eq "settings.ini: compressor" 0 "$(zh_ini_value "$ZT_SETTINGS" ComboBoxVideoCompressors_ItemIndex)"
  zt_expect_eq "settings.ini: audio device" "$AUDIO_INDEX" "$(zh_ini_value "$ZT_SETTINGS" ComboBoxAudioDevices_ItemIndex)"
  zt_expect_eq "settings.ini: input line" 1 "$(zh_ini_value "$ZT_SETTINGS" LabelInputLinesIndex_Caption)"
  zt_expect_eq "settings.ini: audio format" 1 "$(zh_ini_value "$ZT_SETTINGS" LabelAudioFormatIndex_Caption)"
  zt_expect_eq "settings.ini: audio switch" -1 "$(zh_ini_value "$ZT_SETTINGS" LabelIsAudioEnabled_Caption)"
  zh_start_ready "$ZH_DEFAULT_RECT" "restart"
  zh_expect_no_box "no box at the restart"
  zt_expect_control ComboBoxVideoCompressors selected "$CODEC" "restart: the compressor is chosen"
  zt_expect_control ComboBoxAudioDevices selected "$AUDIO" "restart: the device is chosen"
  zt_expect_control ComboBoxInputLines selected "Microphone" "restart: the line is chosen"
  zt_expect_control ListBoxAudioFormat selected "$FORMAT_1" "restart: the format is chosen"
  zt_expect_control CheckBoxEnableAudio checked 1 "restart: audio is enabled"
  zr_record_seconds "after the restart" 2 && zr_expect_audio "after the restart" "$(zr_newest_avi "$ZT_CASTS")" 22050 16 1
  zh_close "after the restart"
}

# Each rate stored as a user's earlier choice, and so announced at the next start: a short
# recording carries it, and its frames fill the time the graph ran as at 25 fps above, give
# or take one frame of the slower rate.
check_frame_rates() {
  local index=0 rate expected tolerance avi
  for rate in 5 10 20; do
    zh_set_ini_value "$ZT_SETTINGS" ComboBoxFps_ItemIndex "$index"
    index=$((index + 1))
    zh_start_ready "$ZH_DEFAULT_RECT" "start at $rate fps"
    zt_expect_field "$rate fps announced to the overlay" caption "FormMainCapturer@$rate"
    if zr_record_seconds "$rate fps" 2.5; then
      expected="$(zr_label_seconds | awk '{ printf "%.3f", $1 - 0.3 }')"
      tolerance="$(awk -v r="$rate" 'BEGIN { printf "%.3f", 0.2 + 1 / r }')"
      avi="$(zr_newest_avi "$ZT_CASTS")"
      zr_expect_video "$rate fps" "$avi" 864 480 "$rate/1"
      zr_expect_duration_near "$rate fps: lasts as long as the graph ran, less Wine's start latency" \
        "$avi" "$expected" "$tolerance"
      zr_expect_frame_count "$rate fps" "$avi" "$expected" "$tolerance"
    fi
    zh_close "$rate fps"
  done
}

check_missing_push_source() {
  mv "$ZT_APP/Filters/PushSource.ax" "$ZT_TMP/PushSource.ax"
  zt_start_zelvio
  zt_check "without PushSource.ax: main window appears" zt_drv wait-window TFormMain - 60000 || return
  if zt_drv dismiss 60000; then
    zt_expect_field "box: Failed to open file" text "Error: Failed to open file: Filters/PushSource.ax."
  else
    zt_fail "box: Failed to open file" "$(zt_error_text)"
  fi
  # The failed build ends the show steps; the window itself goes on answering.
  zh_expect_no_box "without PushSource.ax: no second box"
  zt_check "without PushSource.ax: the main window answers" zt_drv control LabelDuration
  zt_act "Video tab" zt_drv select-tab PageControlOptions 1
  zt_act "compressor 0 chosen" zt_drv select ComboBoxVideoCompressors 0
  if zt_drv dismiss 15000; then
    zt_expect_field "rebuild without PushSource.ax: the same box" text "Error: Failed to open file: Filters/PushSource.ax."
  else
    zt_fail "rebuild without PushSource.ax: the same box" "$(zt_error_text)"
  fi
  zh_expect_no_box "no further box"
  zt_act "close request posted" zt_drv close-main
  zt_expect_clean_exit 30
  mv "$ZT_TMP/PushSource.ax" "$ZT_APP/Filters/PushSource.ax"
}

command -v ffprobe >/dev/null || zt_abort "ffprobe is needed to check the recordings"
mkdir -p "$ZT_CASTS"
zh_start_ready "$ZH_DEFAULT_RECT" "first run"
zh_expect_no_box "no box at the first start"
check_compressor_list
if [ -n "${ZR_AV_ROUNDS:-}" ]; then
  # A soak run (scripts/soak_av.sh, scripts/soak_hour.sh): only the recording with sound,
  # again and again, with the compressor ZR_CODEC names when it is set.
  if [ -n "${ZR_CODEC:-}" ]; then
    zt_act "compressor $ZR_CODEC chosen" zt_drv select ComboBoxVideoCompressors \
      "$(zr_item_index "$ZR_CODEC" ComboBoxVideoCompressors)"
  fi
  check_audio_tab
  for round in $(seq 1 "$ZR_AV_ROUNDS"); do
    echo "# round $round of $ZR_AV_ROUNDS"
    check_audio_recording
  done
  zt_finish
fi
check_record_pause_record
check_audio_tab
check_audio_recording
check_missing_folder
check_close_while_recording
check_settings_kept
check_frame_rates
check_missing_push_source
zt_finish
