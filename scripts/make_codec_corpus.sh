#!/usr/bin/env bash
# The screen corpus of the codec benchmark (scripts/bench_codec.sh): short clips of what Wine
# really puts on a 1920x1080 Xvfb screen, grabbed once with ffmpeg's x11grab as raw frames
# (4 bytes a pixel, B G R X, top row first), so that every encoder is timed on the very same
# frames. Synthetic pictures say little about screens; these are Wine's own notepad and
# zdesk windows, moved and typed into with xdotool (the X server has no window manager).
#
#   still        two notepad windows, nobody touching them (a caret blinks)
#   typing       text typed into the front notepad at about 9 characters a second
#   scroll-lines a long document scrolled one line per key press, 25 presses a second
#   scroll-pages the same document scrolled a page per Page Down, 4 presses a second
#   drag         the front notepad window moved across the desktop in small steps
#   pictures     zdesk's moving colour bars in an 800x450 region, repainted 25 times a second
#   video        a video-like picture with grain in the same region, new every 33 ms (the
#                worst case: nothing repeats, little compresses)
#   zoom         zdesk's Mandelbrot zoom in a 640x360 window, a new frame every 40 ms, over
#                the still notepads: the whole 1920x1080 screen is the clip
#   movie720     zdesk waves (moving colour like a film, every pixel new every 20 ms) in a
#                1280x720 window at 320,180 (the 720p region centred): only that region is
#                grabbed, the clip is 1280x720
#   movie1080    the same picture over the whole screen, 1920x1080
#                (of both, twice the frames are grabbed and only those that differ from the
#                one before are kept: under load the painter falls behind the grabber)
#
# Each clip is <name>.raw with <name>.info beside it (frames, size, how it was grabbed).
# 365 frames in all, 3 GB; the grab goes to /dev/shm first, as the disk does not keep up
# with 250 MB/s and the grabber would fall behind. A frame is only written once as
# grabbed (no repeated frames to pad the rate), so a slow grab gives fewer, further-apart
# frames, never fake still ones; the .info file records the rate reached.
#
# Usage: scripts/make_codec_corpus.sh [testbin folder] [corpus folder]
#   testbin holds zdesk.exe (default build/win/testbin); corpus defaults to build/codec-corpus.
#   CORPUS_CLIPS="zoom movie720" grabs only those clips (the notepads are set up all the same,
#   as the desktop behind the zoom); the others already in the corpus stay.
# DISPLAY as for the Wine tests (default :99); the session is joined or started and what
# this script started is stopped at its end.
set -u
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=wine-env.sh
source "$repo/scripts/wine-env.sh"
testbin="$(cd "${1:-$repo/build/win/testbin}" && pwd)" || exit 1
corpus="${2:-$repo/build/codec-corpus}"
size=1920x1080
# Wine programs started from here are found and ended by their working folder.
work="$corpus/programs"
staging="/dev/shm/zelvio-codec-corpus-$$"

[ -f "$testbin/zdesk.exe" ] || { echo "corpus: no zdesk.exe in $testbin" >&2; exit 1; }
mkdir -p "$corpus" "$work" "$staging" || exit 1

helpers=()
cleanup() {
  local pid
  for pid in "${helpers[@]}"; do kill "$pid" 2>/dev/null; done
  wine_env_kill_in "$work"
  rm -rf "$staging"
  wine_env_end
}
trap cleanup EXIT
wine_env_begin "${DISPLAY:-:99}" || exit 1

# The long document of the scrolling clips: numbered lines of varying length, as code or
# prose looks, with Windows line ends for notepad.
make_document() {
  awk 'BEGIN {
    srand(7)
    n = split("the screen codec writes only the blocks that moved or changed since the last " \
      "frame so a still desktop costs almost nothing while typing costs a few blocks", w, " ")
    for (i = 1; i <= 3000; ++i) {
      line = sprintf("%5d  ", i)
      for (k = 3 + int(rand() * 12); k > 0; --k) line = line " " w[1 + int(rand() * n)]
      printf "%s\r\n", line
    }
  }' >"$work/document.txt"
}

# wait_window TITLE: prints the X window of a top-level window once it is there.
wait_window() {
  local id
  for _ in $(seq 1 100); do
    id="$(xdotool search --name "$1" 2>/dev/null | head -n 1)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  echo "corpus: no window \"$1\"" >&2
  return 1
}

# start_wine PROGRAM ARGS...: a Wine program run from the work folder, in the background.
start_wine() {
  (cd "$work" && exec wine "$@" </dev/null >/dev/null 2>&1) &
}

# wanted NAME: whether the clip is to be grabbed in this run.
wanted() {
  [ -z "${CORPUS_CLIPS:-}" ] && return 0
  case " $CORPUS_CLIPS " in *" $1 "*) return 0 ;; esac
  return 1
}

# keep_changed RAW OUT WxH FRAMES: the frames of RAW that differ from the frame before them,
# the first FRAMES of them, into OUT; prints how many were dropped as repeats.
keep_changed() {
  python3 - "$@" <<'PY'
import sys
raw, out, size, want = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
w, h = map(int, size.split("x"))
frame_bytes, kept, dropped, last = w * h * 4, 0, 0, None
with open(raw, "rb") as src, open(out, "wb") as dst:
    while kept < want:
        frame = src.read(frame_bytes)
        if len(frame) < frame_bytes:
            break
        if frame == last:
            dropped += 1
            continue
        dst.write(frame)
        last, kept = frame, kept + 1
print(dropped)
PY
}

# grab NAME FRAMES WHAT [WxH X Y]: the next FRAMES frames of the screen, or of that region
# of it, into NAME.raw. With distinct_only=1, a moving picture that must change every frame:
# twice as many are grabbed and only frames that differ from the one before are kept (a
# painter that fell behind under load shows the same picture to two grabs), FRAMES at most.
grab() {
  local name="$1" frames="$2" what="$3" log="$staging/$1.log" fps us grabbed="$2" dropped=0
  local area="${4:-$size}" x="${5:-0}" y="${6:-0}"
  wanted "$name" || return 0
  [ "${distinct_only:-0}" = 1 ] && grabbed=$((frames * 2))
  ffmpeg -hide_banner -nostdin -y -f x11grab -framerate 30 -video_size "$area" -i "$DISPLAY+$x,$y" \
    -frames:v "$grabbed" -fps_mode passthrough -progress "$staging/$name.progress" \
    -f rawvideo -pix_fmt bgr0 "$staging/$name.raw" >"$log" 2>&1 || {
    cat "$log" >&2
    return 1
  }
  # The grabber stamps frames with the time it took them: the clip's span is the rate reached.
  us="$(sed -n 's/^out_time_us=//p' "$staging/$name.progress" | tail -n 1)"
  fps="$(awk -v f="$grabbed" -v us="$us" 'BEGIN { if (us > 0) printf "%.1f", f * 1e6 / us }')"
  if [ "$grabbed" != "$frames" ]; then
    dropped="$(keep_changed "$staging/$name.raw" "$corpus/$name.raw" "$area" "$frames")" || return 1
    rm -f "$staging/$name.raw"
    frames=$(( $(stat -c %s "$corpus/$name.raw") / (${area%x*} * ${area#*x} * 4) ))
    what="$what; of $grabbed frames grabbed, $dropped that repeated the frame before were dropped"
  else
    mv "$staging/$name.raw" "$corpus/$name.raw" || return 1
  fi
  printf 'clip=%s\nsize=%s\norigin=%s,%s\nframes=%s\ngrab_fps=%s\nrepeats_dropped=%s\nwhat=%s\n' "$name" "$area" \
    "$x" "$y" "$frames" "${fps:-?}" "$dropped" "$what" >"$corpus/$name.info"
  echo "corpus: $name: $frames frames kept, $grabbed grabbed at ${fps:-?} frames/s, $dropped repeats dropped"
}

# In the background for the length of a grab; ended by pid afterwards.
helper() {
  "$@" &
  helpers+=("$!")
}

stop_helpers() {
  local pid
  for pid in "${helpers[@]}"; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  helpers=()
}

# click_in WINDOW X Y: a click there and the X input focus on the window. Without a window
# manager Wine needs both to take keys; the pointer stays there, as a user's would.
click_in() {
  xdotool mousemove "$2" "$3" click 1 windowfocus "$1"
  sleep 0.3
}

# desk_clip NAME FRAMES WHAT TITLE [WxH X Y] -- ZDESK-ARGS...: a zdesk window for one clip,
# started, grabbed once its window is up, and ended (by its process, the other programs of
# the work folder stay) so the next clip's screen holds no trace of it.
desk_clip() {
  local name="$1" frames="$2" what="$3" title="$4" pid
  shift 4
  local region=()
  while [ "$1" != -- ]; do region+=("$1"); shift; done
  shift
  wanted "$name" || return 0
  start_wine "$testbin/zdesk.exe" "$@"
  pid=$!
  wait_window "$title" >/dev/null || return 1
  sleep 1
  grab "$name" "$frames" "$what" "${region[@]}" || return 1
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  sleep 0.5
}

step_keys() {  # KEY COUNT DELAY_SECONDS
  for _ in $(seq 1 "$2"); do
    xdotool key "$1"
    sleep "$3"
  done
}

drag_window() {  # WINDOW: down and to the left, 8 and 3 pixels a step, 30 steps a second
  local x=1000 y=200
  for _ in $(seq 1 120); do
    x=$((x - 8)) y=$((y + 3))
    xdotool windowmove "$1" "$x" "$y"
    sleep 0.033
  done
}

make_document
start_wine notepad document.txt
back="$(wait_window 'document.txt - Notepad')" || exit 1
start_wine notepad
front="$(wait_window 'Untitled - Notepad')" || exit 1
xdotool windowmove "$back" 40 40 windowsize "$back" 1100 960
xdotool windowmove "$front" 1000 200 windowsize "$front" 860 620
click_in "$front" 1400 600
xdotool type --delay 20 "Notes of the screen recorder."
xdotool key Return Return
sleep 1

grab still 24 "two notepad windows left alone, the front one focused with its caret blinking" || exit 1

helper xdotool type --delay 110 "A screen recorder must keep up with the screen while it records: most of a frame is the same as the one before, and only the few blocks around the caret change while someone types."
sleep 0.5
grab typing 45 "xdotool typing into the front notepad, 110 ms between characters" || exit 1
stop_helpers

# The back window takes the keys; its caret is first put on its last visible line, so that every further
# Down scrolls the document by one line.
click_in "$back" 300 300
xdotool key ctrl+Home
step_keys Down 64 0.005
sleep 0.5
helper step_keys Down 200 0.04
sleep 0.3
grab scroll-lines 40 "notepad scrolling a long document by one line per Down key, 25 keys a second" || exit 1
stop_helpers

helper step_keys Next 40 0.25
sleep 0.3
grab scroll-pages 36 "notepad scrolling a long document by pages, Page Down 4 times a second" || exit 1
stop_helpers

click_in "$front" 1400 600
sleep 0.5
helper drag_window "$front"
sleep 0.3
grab drag 40 "the front notepad (860x620) moved 8 pixels left and 3 down 30 times a second over the other" || exit 1
stop_helpers

desk_clip zoom 40 "zdesk zoom (a Mandelbrot zoom, 64 iterations, 2 % closer a frame) in a 640x360 window at 1180,600 over the still notepads, new every 40 ms; the whole screen grabbed" \
  'Zoom picture' -- zoom 1180 600 640 360 40 || exit 1

if wanted pictures || wanted video; then
  start_wine "$testbin/zdesk.exe" moving 960 300 800 450
  wait_window 'Moving picture' >/dev/null || exit 1
  sleep 1
fi
grab pictures 30 "zdesk moving (sliding colour bars, a bouncing ball, a frame counter) in 800x450 at 960,300, repainted every 40 ms" || exit 1

# Over the bars, which go on beneath it.
if wanted video; then
  start_wine "$testbin/zdesk.exe" video 960 300 800 450
  wait_window 'Video picture' >/dev/null || exit 1
  sleep 1
fi
grab video 30 "zdesk video (soft colour waves drifting, grain on every pixel) in 800x450 at 960,300, new every 33 ms" || exit 1

# Topmost, over all the rest; only frames that changed are kept.
distinct_only=1 desk_clip movie720 40 "zdesk waves (colour waves and soft shapes drifting, a faint grain: every pixel new every frame) in 1280x720 at 320,180, new every 20 ms; that region grabbed" \
  'Waves picture' 1280x720 320 180 -- waves 320 180 1280 720 20 || exit 1
distinct_only=1 desk_clip movie1080 40 "zdesk waves (colour waves and soft shapes drifting, a faint grain: every pixel new every frame) over the whole screen, new every 20 ms" \
  'Waves picture' -- waves 0 0 1920 1080 20 || exit 1

du -ch "$corpus"/*.raw | tail -n 1
