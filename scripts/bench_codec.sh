#!/usr/bin/env bash
# The screen codec against ffmpeg's lossless encoders on a real screen corpus: for each clip
# of build/codec-corpus (scripts/make_codec_corpus.sh makes it when missing), ours at both
# efforts (bench_zmbv), then ffmpeg's zmbv, ffv1, utvideo (RGB planes) and png, one thread
# each and one encode at a time, and the floor (bench_frame_compare: a full compare of
# consecutive frames). Checks that ffmpeg decodes our files to the very frames grabbed.
# scripts/codec_figures.py turns the figures into docs/benchmarks.md, section "Screen codec",
# keeping the other sections.
#
# Times are wall-clock per frame for everyone. Ours: bench_zmbv's own timing around each
# Encode call (key frames apart). ffmpeg's: -benchmark_all, which times each call into the
# encoder (sending the frame and taking its packets) in the same run as the others; the
# conversion to the encoder's pixel format is a filter before it and not counted. Sizes are
# the packets' bytes (ffprobe), so the containers' overhead counts for nobody.
#
# The moving pictures (zoom, movie720, movie1080) are also encoded by ours with a runner of 1
# and of 2 threads (BENCH_THREADS), each at both efforts: wall time and the work a frame
# takes (the CPU time of all the encoder's threads), so the gain of a second core and what
# 4 or 8 cores could give can be read.
#
# Usage: scripts/bench_codec.sh [corpus folder] [testbin folder]
#   corpus defaults to build/codec-corpus; testbin (zdesk.exe, only to make the corpus) to
#   build/win/testbin. Needs build/native's bench_zmbv and bench_frame_compare and ffmpeg.
#   BENCH_CLIPS="zoom movie720 movie1080"   only these clips (default: all), with
#   BENCH_SECTION="HEADING"                  the section they go to (default "Screen codec",
#                                            which only a run of all the clips writes; a run
#                                            of some clips without it writes no section)
#   BENCH_THREADS="1 2"                      the thread counts of the moving pictures' runs
set -u
# shellcheck source=bench-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/bench-lib.sh"
corpus="${1:-$ZT_REPO/build/codec-corpus}"
testbin="${2:-$ZT_REPO/build/win/testbin}"
tools="$ZT_REPO/build/native/tests"
results="$ZT_REPO/build/codec-bench"
all_clips=(still typing scroll-lines scroll-pages drag pictures video zoom movie720 movie1080)
read -r -a clips <<<"${BENCH_CLIPS:-${all_clips[*]}}"
# The clips whose encodes are also timed on several threads.
threaded_clips=" zoom movie720 movie1080 "
read -r -a thread_counts <<<"${BENCH_THREADS:-1 2}"
heading="${BENCH_SECTION:-}"
[ -z "$heading" ] && [ -z "${BENCH_CLIPS:-}" ] && heading="Screen codec"
# ffmpeg's zmbv makes a key frame every 25 frames unless told (by -keyint_min; it ignores -g);
# ours every 150. With the same interval both write one key frame per clip and the sizes
# compare like for like.
key_interval=150

for tool in bench_zmbv bench_frame_compare; do
  [ -x "$tools/$tool" ] || { echo "bench: build $tool first (cmake --build build/native --target $tool)" >&2; exit 1; }
done
missing=()
for clip in "${clips[@]}"; do
  [ -f "$corpus/$clip.raw" ] || missing+=("$clip")
done
if [ ${#missing[@]} -gt 0 ]; then
  CORPUS_CLIPS="${missing[*]}" "$ZT_REPO/scripts/make_codec_corpus.sh" "$testbin" "$corpus" || exit 1
fi

ZT_TMP="$(mktemp -d /tmp/zelvio-codec-bench-XXXXXX)"
trap 'rm -rf "$ZT_TMP"' EXIT
rm -rf "$results"
mkdir -p "$results"

# packets FILE: size and key flag of each video packet, one a line ("85863,K_").
packets() {
  ffprobe -v error -select_streams v:0 -show_entries packet=size,flags -of csv=p=0 "$1"
}

# frame_md5s FILE [input options]: the MD5 of each decoded frame's B, G and R bytes, one a
# line. The fourth byte is padding: the grabbed frames hold 0xff there in parts of what
# Wine drew (a thousand pixels a frame), our encoder always writes 0.
frame_md5s() {
  local file="$1"
  shift
  ffmpeg -v error -nostdin "$@" -i "$file" -pix_fmt bgr24 -f framemd5 - | grep -v '^#' | awk -F, '{ print $6 }'
}

# ours CLIP EFFORT [THREADS]: our encoder (with a runner of THREADS threads, else none), its
# packets and per-frame times, and whether ffmpeg decodes every frame exactly.
ours() {
  local clip="$1" effort="$2" size out="$results/$1/ours-$2" avi="$ZT_TMP/ours.avi" threads=()
  if [ -n "${3:-}" ]; then
    out="$out-t$3"
    threads=(--threads "$3")
  fi
  size="$(sed -n 's/^size=//p' "$corpus/$clip.info")"
  cut -d ' ' -f 1-3 /proc/loadavg >"$out.load"
  "$tools/bench_zmbv" encode "$corpus/$clip.raw" "$size" "$effort" --key "$key_interval" --avi "$avi" \
    "${threads[@]}" --frames "$out.frames" >"$out.txt" || return 1
  packets "$avi" >"$out.packets"
  if [ "$(frame_md5s "$avi")" = "$(frame_md5s "$corpus/$clip.raw" -f rawvideo -pix_fmt bgr0 -s "$size")" ]; then
    echo exact >"$out.decode"
  else
    echo MISMATCH >"$out.decode"
    echo "bench: ffmpeg decodes $clip ($effort) to other frames than the clip's" >&2
  fi
  rm -f "$avi"
}

# theirs CLIP NAME CODEC OPTIONS...: one of ffmpeg's encoders; per frame, the wall and CPU
# microseconds of its encoder calls (-benchmark_all prints one line per call; a frame's
# calls follow its input's decode lines) and its packets.
theirs() {
  local clip="$1" size out="$results/$1/ffmpeg-$2" file="$ZT_TMP/theirs.mkv"
  shift 2
  size="$(sed -n 's/^size=//p' "$corpus/$clip.info")"
  ffmpeg -hide_banner -nostdin -y -benchmark_all -f rawvideo -pix_fmt bgr0 -s "$size" -r 30 -i "$corpus/$clip.raw" \
    -threads 1 "$@" "$file" 2>"$ZT_TMP/ffmpeg.log" || { cat "$ZT_TMP/ffmpeg.log" >&2; return 1; }
  tr '\r' '\n' <"$ZT_TMP/ffmpeg.log" |
    sed -n 's/.*bench: *\([0-9]*\) user *\([0-9]*\) sys *\([0-9]*\) real \([a-z_]*\).*/\1 \2 \3 \4/p' |
    awk '$4 == "encode_video" { if (!open) ++n; open = 1; real[n] += $3; cpu[n] += $1 + $2; next }
         { open = 0 }
         END { for (i = 1; i <= n; ++i) print real[i], cpu[i] }' >"$out.frames"
  packets "$file" >"$out.packets"
  rm -f "$file"
}

load="$(cut -d ' ' -f 1-3 /proc/loadavg)"
for clip in "${clips[@]}"; do
  size="$(sed -n 's/^size=//p' "$corpus/$clip.info")"
  mkdir -p "$results/$clip"
  cp "$corpus/$clip.info" "$results/$clip/clip.info"
  echo "bench: $clip"
  "$tools/bench_frame_compare" "$corpus/$clip.raw" "$size" >"$results/$clip/floor.txt" || exit 1
  ours "$clip" faster || exit 1
  ours "$clip" smaller || exit 1
  if [[ "$threaded_clips" == *" $clip "* ]]; then
    for threads in "${thread_counts[@]}"; do
      ours "$clip" faster "$threads" || exit 1
      ours "$clip" smaller "$threads" || exit 1
    done
  fi
  theirs "$clip" zmbv -c:v zmbv -keyint_min "$key_interval" || exit 1
  theirs "$clip" ffv1 -c:v ffv1 || exit 1
  theirs "$clip" utvideo -c:v utvideo -pix_fmt gbrp || exit 1
  theirs "$clip" png -c:v png -pix_fmt rgb24 || exit 1
done
printf 'load=%s\nwine=%s\nffmpeg=%s\ncpu=%s\ncores=%s\ndate=%s\n' "$load" "$(wine --version 2>/dev/null)" \
  "$(ffmpeg -version | head -n 1 | cut -d ' ' -f 3)" "$(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1)" \
  "$(nproc)" "$(date -u +%Y-%m-%d)" >"$results/machine.info"

# The previous run's figures, before this run's replace them: each clip's time and size are
# held against them.
previous="$results/previous.md"
awk '$0 == "## Screen codec" { p = 1; next } p && /^## / { exit } p' "$ZT_REPO/docs/benchmarks.md" >"$previous" 2>/dev/null
python3 "$ZT_REPO/scripts/codec_figures.py" "$results" "$results/section.md" "${heading:-Screen codec}" "$previous" \
  "${clips[@]}" || exit 1
if [ -n "$heading" ]; then
  bench_write_section "$heading" "$results/section.md"
else
  echo "bench: some clips only and no BENCH_SECTION: the section is in $results/section.md, docs/benchmarks.md untouched"
fi
