#!/usr/bin/env bash
# Wine test of the product's DirectShow pipeline (pipelinetest.exe), then the AVI it
# recorded checked with ffprobe.
# Usage: run.sh <build-dir> <WINEPREFIX>
# Display: $ZELVIO_PIPELINETEST_DISPLAY (default :44); an Xvfb is started there when none
# runs. Prints every check, then "N passed, N failed"; exits non-zero on any failure.
set -u
if [ $# -lt 2 ]; then
  echo "usage: $0 <build-dir> <WINEPREFIX>" >&2
  exit 2
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(cd "$1" && pwd)"
export WINEPREFIX="$(mkdir -p "$2" && cd "$2" && pwd)"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY="${ZELVIO_PIPELINETEST_DISPLAY:-:44}"

work="$(mktemp -d /tmp/zelvio-pipelinetest.XXXXXX)"
source "$here/../../../scripts/wine-env.sh"
own_display=""
cleanup() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  [ -n "$own_display" ] && wine_env_stop_display "$DISPLAY"
  [ -z "${ZELVIO_KEEP_OUTPUT:-}" ] && rm -rf "$work"
}
trap cleanup EXIT

if ! wine_env_display_alive "$DISPLAY"; then
  wine_env_start_display "$DISPLAY" || { echo "0 passed, 1 failed"; exit 1; }
  own_display=1
fi
wine_env_start_server
wine_env_ensure_prefix || { echo "0 passed, 1 failed"; exit 1; }

bash "$here/../standins/register.sh" "$WINEPREFIX" "$build/testbin/ZelvioTestFilters.dll" >"$work/register.log" 2>&1 \
  || { cat "$work/register.log"; echo "0 passed, 1 failed"; exit 1; }

# The program finds Filters/PushSource.ax relative to its current folder, as Zelvio.exe does.
avi="$work/pipelinetest.avi"
(cd "$build/Zelvio" && timeout 180 wine "$build/testbin/pipelinetest.exe" "$(winepath -w "$avi")" \
  </dev/null >"$work/pipelinetest.log" 2>&1)
test_rc=$?
grep -E '^(ok|FAIL|measure|compressors|audio devices|reported)' "$work/pipelinetest.log"
passed=$(grep -c '^ok ' "$work/pipelinetest.log")
failed=$(grep -c '^FAIL ' "$work/pipelinetest.log")
if [ "$test_rc" -ne 0 ] && [ "$failed" -eq 0 ]; then
  echo "FAIL pipelinetest.exe ended with $test_rc"
  failed=$((failed + 1))
fi

expect() {  # expect <condition-as-0/1> <text>
  if [ "$1" -eq 1 ]; then echo "ok $2"; passed=$((passed + 1)); else echo "FAIL $2"; failed=$((failed + 1)); fi
}

probe() { ffprobe -v error -select_streams "$1" -show_entries "$2" -of default=noprint_wrappers=1:nokey=1 "$avi" 2>/dev/null | head -1; }

if [ -s "$avi" ]; then
  video_codec="$(probe v:0 stream=codec_name)"
  # Frame slots as the header counts them: a slot the source skipped is an empty chunk, which
  # keeps the time line but which the demuxer does not hand out as a packet.
  frames="$(probe v:0 stream=nb_frames)"
  rate="$(probe v:0 stream=avg_frame_rate)"
  expect "$([ "$video_codec" = rawvideo ] && echo 1 || echo 0)" "AVI has the test codec's raw video stream ($video_codec)"
  # 2 s recorded: allow one second of Wine start-up latency and slack.
  fps="$(echo "${rate:-0/1}" | awk -F/ '{ if ($2 > 0) print $1 / $2; else print 0 }')"
  seconds="$(awk -v f="${frames:-0}" -v r="$fps" 'BEGIN { if (r > 0) printf "%.2f", f / r; else print 0 }')"
  expect "$(awk -v s="$seconds" 'BEGIN { print (s >= 1.0 && s <= 3.0) ? 1 : 0 }')" \
    "video lasts about 2 s ($frames frames at $rate = $seconds s)"
  # The test prefix's AVI Mux takes PCM, so the sound must be in the file.
  audio="$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels \
    -of csv=p=0 "$avi" 2>/dev/null | head -1)"
  expect "$([ "$audio" = "pcm_s16le,48000,2" ] && echo 1 || echo 0)" "audio stream is the chosen format (${audio:-none})"
else
  expect 0 "an AVI was written"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
