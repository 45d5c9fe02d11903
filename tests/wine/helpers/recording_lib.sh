# Shared by the recording end-to-end tests, sourced after tests/wine/lib/common.sh and
# helpers/desktop_lib.sh:
#
#   zr_click_record WHAT          clicks Record/Pause and marks the time
#   zr_sleep_until S              sleeps until S seconds have passed since that mark
#   zr_record_seconds WHAT S      Record, S seconds, Stop; true when a new file appeared
#   zr_expect_duration WHAT same|differs   two LabelDuration readings half a second apart
#   zr_expect_label_between LO HI LabelDuration within [LO, HI] (same fixed-width format)
#   zr_label_seconds              LabelDuration ("hh:mm:ss.mmm", the graph's position) in seconds
#   zr_expect_video WHAT AVI W H RATE      exactly one video stream of that size and rate
#   zr_expect_duration_near WHAT AVI S TOL / zr_expect_duration_above WHAT AVI S
#   zr_item_index TEXT            position of a device in ComboBoxAudioDevices

ZR_MARK=0

zr_now() {
  date +%s.%N
}

zr_expect_no_box() {
  zt_drv messageboxes-dismiss-all 1500
  zt_expect_eq "$1" 0 "$(zt_field dismissed)"
}

zr_expect_pixel() {
  local what="$1" x="$2" y="$3" colour="$4"
  if zt_wait_field 5 color "$colour" pixel "$x" "$y"; then
    zt_pass "$what"
  else
    zt_fail "$what" "pixel $x,$y is $(zt_field color), expected $colour"
  fi
}

zr_expect_prefix() {
  case "$3" in
    "$2"*) zt_pass "$1" ;;
    *) zt_fail "$1" "'$3' does not begin with '$2'" ;;
  esac
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

# "hh:mm:ss.mmm" sorts as text in time order.
zr_expect_label_between() {
  local text
  text="$(zr_label)"
  if [ -n "$text" ] && [[ ! "$text" < "$1" ]] && [[ ! "$text" > "$2" ]]; then
    zt_pass "LabelDuration after Stop reads $text (between $1 and $2)"
  else
    zt_fail "LabelDuration after Stop between $1 and $2" "reads '$text'"
  fi
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

zr_record_seconds() {
  local what="$1" before
  before="$(zh_count_files "$CASTS" 'Screencast_*.avi')"
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
  zr_expect_no_box "no box while recording ($what)"
  if zh_wait_files "$CASTS" 'Screencast_*.avi' $((before + 1)) 5; then
    zt_pass "Record ($what) wrote a new file"
    return 0
  fi
  zt_fail "Record ($what) wrote a new file" "none new in $CASTS"
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
  zt_drv control ComboBoxAudioDevices >/dev/null
  index="$(printf '%s\n' "$ZT_OUT" | sed -n 's/^item \([0-9]*\): \(.*\)$/\1\t\2/p' | awk -F'\t' -v t="$1" '$2 == t { print $1; exit }')"
  echo "${index:--1}"
}

zr_label_seconds() {
  zr_label | awk -F: 'NF == 3 && $1 ~ /^[0-9]+$/ && $2 ~ /^[0-9]+$/ && $3 ~ /^[0-9]+\.[0-9]+$/ {
    printf "%.3f", $1 * 3600 + $2 * 60 + $3 }'
}
