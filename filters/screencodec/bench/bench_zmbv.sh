#!/usr/bin/env bash
# Times Zelvio's ZMBV encoder against ffmpeg's encoders (zmbv, ffv1, utvideo, png; one
# thread each) on the same synthetic 1920x1080 screen clips, and checks that ffmpeg
# decodes our files to the source frames.
#
#   filters/screencodec/bench/bench_zmbv.sh [FRAMES] [CLIP...]
#   FFMPEG_CODECS="zmbv-g150" ...   only these of ffmpeg's (zmbv zmbv-g150 ffv1 utvideo png)
#   ZMBV_SIZE=1280x720 ...          another frame size (default 1920x1080)
#   ZMBV_THREADS="1 2" ...          ours also with a runner of each of these thread counts
#
# ffmpeg's zmbv writes a key frame every 12 frames unless told (-g); zmbv-g150 matches our
# default interval, for sizes compared like for like.
# Needs the native build (cmake --build build/native --target bench_zmbv) and ffmpeg.
# ffmpeg's figures are its whole run divided by the frames (reading the raw file included,
# about 1 ms a frame); ours are per frame, encoding only. Clips are made in build/bench-zmbv
# and removed after each clip.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
bench="$repo/build/native/tests/bench_zmbv"
work="$repo/build/bench-zmbv"
frames="${1:-60}"
shift || true
clips=("$@")
[ ${#clips[@]} -gt 0 ] || clips=(still typing scroll-lines scroll-pages scroll-sideways drag pictures movie)
size="${ZMBV_SIZE:-1920x1080}"
mkdir -p "$work"

ffmpeg_run() {  # label, raw, out, codec options...
  local label="$1" raw="$2" out="$3"
  shift 3
  local rtime
  rtime="$(ffmpeg -hide_banner -y -benchmark -f rawvideo -pix_fmt bgr0 -s "$size" -r 30 -i "$raw" -threads 1 "$@" "$out" 2>&1 |
    grep -o 'rtime=[0-9.]*' | cut -d= -f2)"
  local bytes
  bytes="$(stat -c %s "$out")"
  awk -v l="$label" -v t="$rtime" -v f="$frames" -v b="$bytes" \
    'BEGIN { printf "%s mean_ms %.1f file_bytes_per_frame %d\n", l, t * 1000 / f, b / f }'
  rm -f "$out"
}

for clip in "${clips[@]}"; do
  raw="$work/$clip.raw"
  "$bench" make "$clip" "$raw" "$frames" "$size"
  echo "== $clip ($frames frames, $size, raw $(( ${size%x*} * ${size#*x} * 4 )) bytes/frame)"
  "$bench" compare "$raw" "$size" | head -2
  for effort in faster smaller; do
    "$bench" encode "$raw" "$size" "$effort" --avi "$work/ours.avi"
    want="$(ffmpeg -v error -f rawvideo -pix_fmt bgr0 -s "$size" -i "$raw" -f framemd5 - | grep -v '^#' | awk -F, '{print $6}' | md5sum)"
    got="$(ffmpeg -v error -i "$work/ours.avi" -pix_fmt bgr0 -f framemd5 - | grep -v '^#' | awk -F, '{print $6}' | md5sum)"
    [ "$want" = "$got" ] && echo "zmbv-$effort ffmpeg decodes every frame exactly" || echo "zmbv-$effort MISMATCH in ffmpeg's decode"
    rm -f "$work/ours.avi"
  done
  for threads in ${ZMBV_THREADS:-}; do
    for effort in faster smaller; do
      "$bench" encode "$raw" "$size" "$effort" --threads "$threads"
    done
  done
  for codec in ${FFMPEG_CODECS:-zmbv zmbv-g150 ffv1 utvideo png}; do
    case "$codec" in
      zmbv) ffmpeg_run ffmpeg-zmbv "$raw" "$work/ff.avi" -c:v zmbv ;;
      zmbv-g150) ffmpeg_run ffmpeg-zmbv-g150 "$raw" "$work/ff.avi" -c:v zmbv -g 150 ;;
      ffv1) ffmpeg_run ffmpeg-ffv1 "$raw" "$work/ff.avi" -c:v ffv1 ;;
      utvideo) ffmpeg_run ffmpeg-utvideo "$raw" "$work/ff.avi" -c:v utvideo -pix_fmt gbrp ;;
      png) ffmpeg_run ffmpeg-png "$raw" "$work/ff.avi" -c:v png -pix_fmt rgb24 ;;
    esac
  done
  rm -f "$raw"
done
