#!/usr/bin/env bash
# The screen codec end to end through the real window, with the test picture scrolling under
# the region (3 rows every 40 ms, so the frames hold moved content, not only still pictures):
# - it is listed after the system's compressors and records with sound, paused once: ffmpeg
#   decodes every frame, each equal, pixel for pixel, to the picture as it stood (no cursor),
#   the first packet is a key frame, and the index marks exactly the packets whose first
#   byte says key;
# - "Configure" opens its dialog; a key frame every 1 s there shows in the next file (key
#   frames 25 packets apart at 25 fps), is kept in Filters/ScreenCodec.ini and is what the
#   dialog shows after a restart;
# - killed while recording (at 30 fps, chosen before a restart), the file is repaired at the
#   next start and decodes, every frame the picture, with the index's key flags true to the
#   packets.
# Usage: test_screen_codec.sh <Zelvio dist folder> <folder of zdriver.exe>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib/recording.sh"
zt_init "$@"

CODEC="Zelvio Screen Codec (lossless)"
DIALOG="Zelvio Screen Codec"
AUDIO="Zelvio Test Audio"
KEY_SECONDS_ID=1001
RANGE_ID=1005     # the text beside it, "seconds (1 to 600)", from the settings' limits
CHECK="$ZT_REPO/tests/wine/lib/check_zmbv.py"

# check_file WHAT AVI: the index against the packets, and every frame against the picture.
check_file() {
  local what="$1" avi="$2" log="$ZT_TMP/check-$RANDOM.txt"
  python3 "$CHECK" "$avi" --picture 864 480 >"$log" 2>&1
  ZT_OUT="$(cat "$log")"
  echo "# $what: $(tr '\n' ';' <"$log")"
  local packets decoded
  packets="$(zt_field "video packets")"
  decoded="$(zt_field "decoded frames")"
  if [ "${packets:-0}" -gt 0 ] && [ "$packets" = "$decoded" ]; then
    zt_pass "$what: ffmpeg decodes every packet ($decoded frames)"
  else
    zt_fail "$what: ffmpeg decodes every packet" "$packets packets, $decoded frames"
  fi
  zt_expect_field "$what: no decode error" "decode errors" 0
  zt_expect_field "$what: every frame is the picture, pixel for pixel" "frames unlike the picture" 0
  zt_expect_field "$what: the first packet is a key frame" "first packet key" 1
  zt_expect_field "$what: the index's key flags are the packets' own" "flag mismatches" 0
}

choose_codec() {
  local index
  zt_act "Video tab" zt_drv select-tab PageControlOptions 1
  index="$(zr_item_index "$CODEC" ComboBoxVideoCompressors)"
  zt_drv control ComboBoxVideoCompressors >/dev/null
  if [ "$index" -ge 0 ] && [ "$index" -eq "$(( $(zt_field count) - 1 ))" ]; then
    zt_pass "the screen codec is listed, last ($index)"
  else
    zt_fail "the screen codec is listed, last" "position $index of $(zt_field count)"
    return 1
  fi
  zt_act "the screen codec chosen" zt_drv select ComboBoxVideoCompressors "$index"
  zh_expect_no_box "no box after choosing the screen codec"
}

choose_audio() {
  zt_act "Audio tab" zt_drv select-tab PageControlOptions 2
  zt_act "test device chosen" zt_drv select ComboBoxAudioDevices "$(zr_item_index "$AUDIO")"
  zt_act "format 0 chosen" zt_drv select ListBoxAudioFormat 0
  zt_act "audio enabled" zt_drv click CheckBoxEnableAudio
  zh_expect_no_box "no box after enabling audio"
}

check_recording_with_pause_and_sound() {
  local avi
  zr_click_record "Record"
  zt_wait_field 10 enabled 1 control JvImgBtnStop || zt_fail "recording" "$(zt_error_text)"
  zr_sleep_until 2
  zr_click_record "Pause"
  zr_sleep_until 1
  zr_click_record "Record again"
  zr_sleep_until 2
  zt_act "Stop clicked" zt_drv click JvImgBtnStop
  zh_expect_no_box "no box after Stop"
  avi="$(zr_newest_avi "$ZT_CASTS")"
  zt_expect_eq "the video stream is ZMBV" "zmbv" "$(zr_probe "$avi" v:0 stream=codec_name)"
  zt_expect_eq "the file has its sound" "pcm_s16le" "$(zr_probe "$avi" a:0 stream=codec_name)"
  check_file "record, pause, record" "$avi"
}

check_configure() {
  local avi
  zt_act "Video tab" zt_drv select-tab PageControlOptions 1
  zt_act "Configure clicked" zt_drv click ButtonConfigureVideoCompressor
  if ! zt_drv dialog "$DIALOG" 10000 "get:$KEY_SECONDS_ID" "get:$RANGE_ID"; then
    zt_fail "Configure opens the codec's dialog" "$(zt_error_text)"
    return
  fi
  zt_pass "Configure opens the codec's dialog"
  zt_expect_field "the dialog shows the default key frame interval" "get $KEY_SECONDS_ID" 5
  zt_expect_field "the dialog shows the interval's range" "get $RANGE_ID" "seconds (1 to 600)"
  zt_act "a key frame every second, OK" zt_drv dialog "$DIALOG" 2000 "set:$KEY_SECONDS_ID=1" click:1
  zt_expect_field "the dialog closes on OK" closed 1
  zh_expect_no_box "no box after the dialog"
  zt_expect_match "the setting is in Filters/ScreenCodec.ini" "*KeyFrameSeconds=1*" \
    "$(tr -d '\r' <"$ZT_APP/Filters/ScreenCodec.ini" 2>/dev/null)"
  zr_record_seconds "a recording after the change" 3 || zt_fail "a recording after the change" "no file"
  avi="$(zr_newest_avi "$ZT_CASTS")"
  python3 "$CHECK" "$avi" >"$ZT_TMP/spacing.txt" 2>&1
  # shellcheck disable=SC2034 # zt_expect_field reads the checker's output from ZT_OUT
  ZT_OUT="$(cat "$ZT_TMP/spacing.txt")"
  zt_expect_field "the next file has a key frame every 25 packets (1 s at 25 fps)" "key spacing" "25 25"
}

# The restart also brings another frame rate (30 fps, the list's position 4, set in the
# settings file as a user's earlier choice would be): the killed recording below is made at
# it, so a codec or repair that assumed 25 fps shows.
check_setting_survives_restart() {
  zh_close "close before the restart"
  zh_set_ini_value "$ZT_SETTINGS" ComboBoxFps_ItemIndex 4
  zh_start_ready "$ZH_DEFAULT_RECT" "restart"
  zt_act "Video tab" zt_drv select-tab PageControlOptions 1
  zt_act "Configure clicked after the restart" zt_drv click ButtonConfigureVideoCompressor
  if zt_drv dialog "$DIALOG" 10000 "get:$KEY_SECONDS_ID" click:2; then
    zt_expect_field "after a restart the dialog shows the interval chosen before" "get $KEY_SECONDS_ID" 1
  else
    zt_fail "the dialog opens after the restart" "$(zt_error_text)"
  fi
  zh_expect_no_box "no box after Cancel"
}

check_killed_recording() {
  local avi
  zr_record_then_kill 3 "a recording killed" || return
  avi="$(zr_newest_avi "$ZT_CASTS")"
  zh_start_ready "$ZH_DEFAULT_RECT" "start after the kill"
  if zt_drv dismiss 30000; then
    zt_expect_match "the repair reports the file" "*$(basename "$avi")*" "$(zt_field text)"
  else
    zt_fail "a repair box at the next start" "$(zt_error_text)"
  fi
  zh_expect_no_box "one box at the next start"
  local rate
  rate="$(zr_probe "$avi" v:0 stream=r_frame_rate)"
  if awk -v r="$rate" 'BEGIN { split(r, p, "/"); exit !(p[2] > 0 && p[1] / p[2] > 29.99 && p[1] / p[2] < 30.01) }'; then
    zt_pass "the repaired file keeps its 30 fps ($rate)"
  else
    zt_fail "the repaired file keeps its 30 fps" "$rate"
  fi
  check_file "the repaired file" "$avi"
}

mkdir -p "$ZT_CASTS"
zh_start_ready "$ZH_DEFAULT_RECT" "start"
# The frames are compared with the picture alone.
zt_act "cursor off" zt_drv click CheckBoxEnableCursor
zt_expect_control CheckBoxEnableCursor checked 0 "the cursor is off"
zh_desk picture 528 300 864 480 280 40 0 3
zt_check "the scrolling picture opens" zt_drv wait-window ZelvioTestPicture - 20000 || zt_finish
if choose_codec; then
  choose_audio
  check_recording_with_pause_and_sound
  check_configure
  check_setting_survives_restart
  check_killed_recording
fi
zh_close "end"
zt_finish
