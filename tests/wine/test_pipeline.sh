#!/usr/bin/env bash
# The product's DirectShow pipeline (pipelinetest.exe) against real Wine graph objects and
# the stand-ins, then the AVI it recorded checked with ffprobe.
# Usage: test_pipeline.sh <Zelvio dist folder> <testbin folder>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"
command -v ffprobe >/dev/null || zt_abort "ffprobe is needed to check the recording"

probe() {
  ffprobe -v error -select_streams "$1" -show_entries "$2" -of "${3:-default=noprint_wrappers=1:nokey=1}" \
    "$avi" 2>/dev/null | head -n 1
}

# The program finds Filters/PushSource.ax relative to its current folder, as Zelvio.exe does.
avi="$ZT_TMP/pipelinetest.avi"
cd "$ZT_APP" || zt_abort "no folder $ZT_APP"
zt_run_checks "pipelinetest.exe" "$ZT_TMP/pipelinetest.log" \
  timeout 180 wine "$ZT_TESTBIN/pipelinetest.exe" "$(zt_windows_path "$avi")"
cd "$ZT_TMP" || zt_abort "no folder $ZT_TMP"
[ -s "$avi" ] || { zt_fail "an AVI was written"; zt_finish; }

zt_expect_eq "AVI has the test codec's raw video stream" rawvideo "$(probe v:0 stream=codec_name)"
frames="$(ffprobe -v error -count_packets -select_streams v:0 -show_entries stream=nb_read_packets \
  -of default=noprint_wrappers=1:nokey=1 "$avi" 2>/dev/null | head -n 1)"
rate="$(probe v:0 stream=avg_frame_rate)"
# 2 s recorded: allow one second of Wine start-up latency and slack.
seconds="$(awk -v f="${frames:-0}" -v r="${rate:-0/1}" 'BEGIN { split(r, p, "/"); if (p[2] > 0 && p[1] > 0) printf "%.2f", f * p[2] / p[1]; else print 0 }')"
zt_check "video lasts about 2 s ($frames frames at $rate = $seconds s)" \
  awk -v s="$seconds" 'BEGIN { exit !(s >= 1.0 && s <= 3.0) }'
if [ -n "$(probe a:0 stream=codec_name)" ]; then
  zt_expect_eq "audio stream is the chosen format" "pcm_s16le,48000,2" "$(probe a:0 stream=codec_name,sample_rate,channels csv=p=0)"
else
  zt_skip "audio stream" "Wine 8's AVI Mux refuses PCM audio input, so the file holds video only"
fi
zt_finish
