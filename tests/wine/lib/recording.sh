# shellcheck shell=bash
# Shared by the recording end-to-end tests, sourced after tests/wine/lib/common.sh:
#
#   zr_click_record WHAT          clicks Record/Pause and marks the time
#   zr_sleep_until S              sleeps until S seconds have passed since that mark
#   zr_record_seconds WHAT S      Record, S seconds, Stop; true when a new file appeared
#   zr_expect_duration WHAT same|differs   two LabelDuration readings half a second apart
#   zr_label_seconds              LabelDuration ("hh:mm:ss.mmm", the graph's position) in seconds
#   zr_expect_video WHAT AVI W H RATE      exactly one video stream of that size and rate
#   zr_expect_duration_near WHAT AVI S TOL / zr_expect_duration_above WHAT AVI S
#   zr_expect_frame_count WHAT AVI S TOL   S +- TOL seconds of frames at the file's rate
#   zr_item_index TEXT [LIST]     position of an entry in LIST (default ComboBoxAudioDevices)
#   zr_decoded_frames AVI         frames ffprobe decodes from the file (0 when it cannot)
#   zr_record_then_kill S         Record, then S seconds later the program killed (companions too)

ZR_MARK=0

zr_now() {
  date +%s.%N
}

# The click lands inside the driver call; marking after it returns makes every interval
# measured between two marks carry the same latency on both ends.
zr_click_record() {
  zt_act "$1 clicked" zt_drv click JvImgBtnStartPause
  ZR_MARK="$(zr_now)"
}

zr_sleep_until() {
  local left
  left="$(awk -v m="$ZR_MARK" -v n="$(zr_now)" -v s="$1" 'BEGIN { d = m + s - n; printf "%.3f", (d > 0 ? d : 0) }')"
  sleep "$left"
}

zr_label() {
  zt_drv control LabelDuration >/dev/null && zt_field text
}

zr_expect_duration() {
  local what="$1" relation="$2" first second
  first="$(zr_label)"
  sleep 0.5
  second="$(zr_label)"
  if [ -z "$first" ] || [ -z "$second" ]; then
    zt_fail "$what" "the duration could not be read"
  elif [ "$relation" = same ] && [ "$first" = "$second" ]; then
    zt_pass "$what ($first)"
  elif [ "$relation" = differs ] && [ "$first" != "$second" ]; then
    zt_pass "$what ($first -> $second)"
  else
    zt_fail "$what" "$first then $second"
  fi
}

# Frames ffprobe can decode from the file, 0 when it cannot open it.
zr_decoded_frames() {
  local count
  count="$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
    -of default=noprint_wrappers=1:nokey=1 "$1" 2>/dev/null | head -n 1)"
  count="$(echo "$count" | tr -cd '0-9')"
  echo "${count:-0}"
}

# zr_record_then_kill S [WHAT]: Record, and S seconds later the program is killed as a crash
# would end it. It leaves its overlay and cursor-hook programs behind; they are ended too, so
# the next start launches its own. False when the kill failed.
zr_record_then_kill() {
  local what="${2:-before the kill}"
  zr_click_record "Record ($what)"
  zt_wait_field 10 enabled 1 control JvImgBtnStop || zt_fail "recording ($what)" "$(zt_error_text)"
  zr_sleep_until "$1"
  zt_act "the program killed after $1 s ($what)" zt_drv terminate TFormMain || return 1
  zt_drv terminate TFormMainCapturer >/dev/null
  zt_drv terminate TFormHookCursor >/dev/null
  return 0
}

zr_newest_avi() {
  find "$1" -maxdepth 1 -type f -name 'Screencast_*.avi' -printf '%T@ %p\n' 2>/dev/null | sort -n | tail -n 1 | cut -d' ' -f2-
}

# zr_probe AVI STREAM-SELECTOR ENTRIES: the first value, empty when there is none.
zr_probe() {
  ffprobe -v error -select_streams "$2" -show_entries "$3" -of default=noprint_wrappers=1:nokey=1 "$1" 2>/dev/null | head -n 1
}

zr_duration() {
  ffprobe -v error -show_entries format=duration -of default=noprint_wrappers=1:nokey=1 "$1" 2>/dev/null | head -n 1
}

zr_expect_video() {
  local what="$1" avi="$2" streams
  if [ ! -s "$avi" ]; then
    zt_fail "$what: a playable file" "no file or an empty one: '$avi'"
    return 1
  fi
  echo "ffprobe $(basename "$avi"): $(ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,r_frame_rate,nb_frames:format=duration -of compact "$avi" 2>/dev/null | paste -sd ' ')"
  streams="$(ffprobe -v error -select_streams v -show_entries stream=index -of csv=p=0 "$avi" 2>/dev/null | wc -l)"
  zt_expect_eq "$what: one video stream" 1 "$streams"
  zt_expect_eq "$what: size" "${3}x${4}" "$(zr_probe "$avi" v:0 stream=width)x$(zr_probe "$avi" v:0 stream=height)"
  zt_expect_eq "$what: frame rate" "$5" "$(zr_probe "$avi" v:0 stream=r_frame_rate)"
  if ffmpeg -v error -i "$avi" -map 0:v:0 -f null - >"$ZT_TMP/decode.log" 2>&1 && [ ! -s "$ZT_TMP/decode.log" ]; then
    zt_pass "$what: every frame decodes"
  else
    zt_fail "$what: every frame decodes" "$(head -c 200 "$ZT_TMP/decode.log")"
  fi
}

zr_expect_duration_near() {
  local what="$1" seconds
  seconds="$(zr_duration "$2")"
  if awk -v d="${seconds:-x}" -v e="$3" -v t="$4" 'BEGIN { exit !(d + 0 == d && d >= e - t && d <= e + t) }'; then
    zt_pass "$what ($seconds s)"
  else
    zt_fail "$what" "lasts '${seconds}' s, expected $3 +- $4 s"
  fi
}

zr_expect_duration_above() {
  local what="$1" seconds
  seconds="$(zr_duration "$2")"
  if awk -v d="${seconds:-x}" -v e="$3" 'BEGIN { exit !(d + 0 == d && d > e) }'; then
    zt_pass "$what ($seconds s)"
  else
    zt_fail "$what" "lasts '${seconds}' s"
  fi
}

# A slot the source gave up is an empty frame, so the count keeps the time even when a busy
# machine made the source skip some.
zr_expect_frame_count() {
  local what="$1" avi="$2" rate frames
  rate="$(zr_probe "$avi" v:0 stream=r_frame_rate)"
  frames="$(zr_probe "$avi" v:0 stream=nb_frames)"
  if awk -v n="${frames:-x}" -v r="$rate" -v s="$3" -v t="$4" 'BEGIN { split(r, q, "/");
        exit !(n + 0 == n && q[2] > 0 && n >= (s - t) * q[1] / q[2] && n <= (s + t) * q[1] / q[2]) }'; then
    zt_pass "$what: $frames frames at $rate"
  else
    zt_fail "$what: frame count" "'$frames' frames at $rate, expected $3 +- $4 s of them"
  fi
}

zr_record_seconds() {
  local what="$1" before
  before="$(zh_count_files "$ZT_CASTS" 'Screencast_*.avi')"
  zr_click_record "Record ($what)"
  if zt_wait_field 10 enabled 1 control JvImgBtnStop; then
    zt_pass "Record ($what): Stop enabled"
  else
    zt_fail "Record ($what): Stop enabled" "$(zt_error_text)"
    zt_drv messageboxes-dismiss-all 1500
    return 1
  fi
  zr_sleep_until "$2"
  zt_act "Stop ($what) clicked" zt_drv click JvImgBtnStop
  zh_expect_no_box "no box while recording ($what)"
  if zh_wait_files "$ZT_CASTS" 'Screencast_*.avi' $((before + 1)) 5; then
    zt_pass "Record ($what) wrote a new file"
    return 0
  fi
  zt_fail "Record ($what) wrote a new file" "none new in $ZT_CASTS"
  return 1
}

# zr_expect_item WHAT TEXT: the last control output lists an item with that text.
zr_expect_item() {
  if printf '%s\n' "$ZT_OUT" | grep -E '^item [0-9]+: ' | sed 's/^item [0-9]*: //' | grep -qxF -- "$2"; then
    zt_pass "$1"
  else
    zt_fail "$1" "items: $(printf '%s\n' "$ZT_OUT" | grep -E '^item ' | paste -sd '|')"
  fi
}

# Position of an entry of ComboBoxAudioDevices, -1 when it is not listed.
zr_item_index() {
  local index
  zt_drv control "${2:-ComboBoxAudioDevices}" >/dev/null
  index="$(printf '%s\n' "$ZT_OUT" | sed -n 's/^item \([0-9]*\): \(.*\)$/\1\t\2/p' | awk -F'\t' -v t="$1" '$2 == t { print $1; exit }')"
  echo "${index:--1}"
}

zr_label_seconds() {
  zr_label | awk -F: 'NF == 3 && $1 ~ /^[0-9]+$/ && $2 ~ /^[0-9]+$/ && $3 ~ /^[0-9]+\.[0-9]+$/ {
    printf "%.3f", $1 * 3600 + $2 * 60 + $3 }'
}

# --- recordings with sound -----------------------------------------------------------------
#
#   zr_record_schedule WHAT "R P R P R"  Record R s, Pause P s, ... , Stop; the seconds spent
#                                 recording lie between ZR_RUNNING_MIN and ZR_RUNNING_MAX,
#                                 ZR_RUNS is the number of Runs
#   zr_expect_audio WHAT AVI RATE BITS CHANNELS   exactly one PCM audio stream of that format
#   zr_expect_streams_in_step WHAT AVI            audio and video durations within one frame
#                                 of each other and of the running time (Wine starts stream time
#                                 about 200 ms after each Run, so each Run may lose that much)
#   zr_expect_clock_sync WHAT AVI BAR_X BAR_Y     reads the clock picture and the clicks
#                                 (check_av_sync.py): the first frame on its run's line, every
#                                 click within ZR_AV_LIMIT_MS of its second in the video, each run

ZR_RUNNING=0
ZR_RUNNING_MIN=0
ZR_RUNNING_MAX=0
ZR_RUNS=0
ZR_RUN_START_LATENCY=0.25
# How far a click may lie from where the picture's clock passes its second.
ZR_AV_LIMIT_MS=20

# Each click happens somewhere inside its driver call, so a run lasted at least from the
# end of the Record call to the start of the Pause call, and at most from the start of one
# to the end of the other; the driver's own start-up under load stays out of the figure.
zr_record_schedule() {
  local what="$1" step=0 seconds rec_before rec_after stop_before stop_after
  ZR_RUNNING=0
  ZR_RUNNING_MIN=0
  ZR_RUNNING_MAX=0
  ZR_RUNS=0
  for seconds in $2; do
    if [ $((step % 2)) -eq 0 ]; then
      rec_before="$(zr_now)"
      zr_click_record "$what: Record"
      rec_after="$ZR_MARK"
      ZR_RUNS=$((ZR_RUNS + 1))
      zr_sleep_until "$seconds"
      stop_before="$(zr_now)"
      if [ -z "$(echo "$2" | cut -s -d' ' -f$((step + 2)))" ]; then
        zt_act "$what: Stop clicked" zt_drv click JvImgBtnStop
      else
        zr_click_record "$what: Pause"
      fi
      stop_after="$(zr_now)"
      read -r ZR_RUNNING ZR_RUNNING_MIN ZR_RUNNING_MAX < <(awk -v r="$ZR_RUNNING" -v lo="$ZR_RUNNING_MIN" \
        -v hi="$ZR_RUNNING_MAX" -v rb="$rec_before" -v ra="$rec_after" -v sb="$stop_before" -v sa="$stop_after" \
        'BEGIN { printf "%.3f %.3f %.3f\n", r + sa - ra, lo + sb - ra, hi + sa - rb }')
    else
      zr_sleep_until "$seconds"
    fi
    step=$((step + 1))
  done
  echo "recorded $ZR_RUNNING_MIN to $ZR_RUNNING_MAX s in $ZR_RUNS runs"
}

zr_expect_audio() {
  local what="$1" avi="$2" streams codec
  streams="$(ffprobe -v error -select_streams a -show_entries stream=index -of csv=p=0 "$avi" 2>/dev/null | wc -l)"
  zt_expect_eq "$what: one audio stream" 1 "$streams"
  codec="$(zr_probe "$avi" a:0 stream=codec_name)"
  zt_expect_match "$what: the audio is PCM ($codec)" "pcm_*" "$codec"
  zt_expect_eq "$what: sample rate, bits, channels" "$3 $4 $5" \
    "$(zr_probe "$avi" a:0 stream=sample_rate) $(zr_probe "$avi" a:0 stream=bits_per_sample) $(zr_probe "$avi" a:0 stream=channels)"
}

zr_expect_streams_in_step() {
  local what="$1" avi="$2" video audio rate
  video="$(zr_probe "$avi" v:0 stream=duration)"
  # The sound's own length: where its last packet ends (AVI keeps no audio duration).
  audio="$(ffprobe -v error -select_streams a:0 -show_entries packet=pts_time,duration_time -of csv=p=0 "$avi" \
    2>/dev/null | tail -n 1 | awk -F, '{ if ($1 + 0 == $1 && $2 + 0 == $2) printf "%.4f", $1 + $2 }')"
  rate="$(zr_probe "$avi" v:0 stream=r_frame_rate)"
  echo "durations: video $video s, audio $audio s, recording $ZR_RUNNING_MIN to $ZR_RUNNING_MAX s in $ZR_RUNS runs"
  if awk -v v="${video:-x}" -v a="${audio:-x}" -v r="$rate" 'BEGIN { split(r, q, "/"); f = q[2] / q[1];
        d = v - a; if (d < 0) d = -d; exit !(v + 0 == v && a + 0 == a && d <= f + 0.0005) }'; then
    zt_pass "$what: audio ($audio s) and video ($video s) last the same within one frame"
  else
    zt_fail "$what: audio and video last the same within one frame" "video $video s, audio $audio s"
  fi
  if awk -v v="${video:-x}" -v lo="$ZR_RUNNING_MIN" -v hi="$ZR_RUNNING_MAX" -v n="$ZR_RUNS" \
      -v l="$ZR_RUN_START_LATENCY" -v r="$rate" \
      'BEGIN { split(r, q, "/"); f = q[2] / q[1]; exit !(v + 0 == v && v <= hi + f && v >= lo - n * l - f) }'; then
    zt_pass "$what: the file lasts the running time ($video s for $ZR_RUNNING_MIN to $ZR_RUNNING_MAX s, $ZR_RUNS runs)"
  else
    zt_fail "$what: the file lasts the running time" "$video s for $ZR_RUNNING_MIN to $ZR_RUNNING_MAX s in $ZR_RUNS runs"
  fi
}

zr_expect_clock_sync() {
  local what="$1" avi="$2" facts first offsets
  facts="$(python3 "$ZH_LIB/check_av_sync.py" "$avi" "$3" "$4" 2>&1)"
  printf '%s\n' "$facts" | grep -E '^(segment|click|first_step_ms|first_frame_offset_ms|max_frame_offset_ms|max_local_offset_ms|max_offset_ms|decoded|filled|frames):' | sed 's/^/  /'
  fact() { printf '%s\n' "$facts" | sed -n "s/^$1: //p" | head -n 1; }
  first="$(fact first_frame_offset_ms)"
  if awk -v s="${first:-x}" 'BEGIN { d = s < 0 ? -s : s; exit !(s + 0 == s && d <= 10) }'; then
    zt_pass "$what: the first frame shows the start of its run ($first ms off the run's line)"
  else
    zt_fail "$what: the first frame shows the start of its run" "$first ms off the run's line"
  fi
  zt_expect_eq "$what: every picture shows a readable clock ($(fact frames) slots)" "$(fact filled)" "$(fact decoded)"
  zt_expect_eq "$what: the clock picture shows one segment per run" "$ZR_RUNS" "$(fact segments)"
  offsets="$(fact clicks_per_segment)"
  if [ -n "$offsets" ] && ! printf '%s\n' "$offsets" | tr ' ' '\n' | grep -qx 0; then
    zt_pass "$what: clicks in every run ($offsets)"
  else
    zt_fail "$what: clicks in every run" "per run: '$offsets'"
  fi
  zt_expect_eq "$what: every click belongs to a second passing in the video" 0 "$(fact unmatched_clicks)"
  zt_expect_eq "$what: every second passing in the video has its click" 0 "$(fact unmatched_seconds)"
  # Where the run's pictures put the second: the run's line through all its frames' clocks.
  # A frame's own slot time alone would put up to a whole slot of error into the figure,
  # since the second passes anywhere between two grabs; the two frames around the second
  # would put in the lateness of one grab (reported beside it).
  echo "worst offset: $(fact max_offset_ms) ms"
  if awk -v m="$(fact max_offset_ms)" -v l="$ZR_AV_LIMIT_MS" 'BEGIN { exit !(m + 0 == m && m <= l) }'; then
    zt_pass "$what: every click within $ZR_AV_LIMIT_MS ms of its run's pictures (worst $(fact max_offset_ms) ms; from the two frames around it: worst $(fact max_local_offset_ms) ms; first frame's slot time: worst $(fact max_frame_offset_ms) ms)"
  else
    zt_fail "$what: every click within $ZR_AV_LIMIT_MS ms of its run's pictures" \
      "worst $(fact max_offset_ms) ms; from the two frames around it: worst $(fact max_local_offset_ms) ms; first frame's slot time: worst $(fact max_frame_offset_ms) ms"
  fi
}
