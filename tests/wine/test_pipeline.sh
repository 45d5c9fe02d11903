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
# Frame slots as the header counts them: a slot the source skipped is an empty chunk, which
# keeps the time line but which the demuxer does not hand out as a packet.
frames="$(probe v:0 stream=nb_frames)"
rate="$(probe v:0 stream=avg_frame_rate)"
# Measured against the graph's own position, read just before the pause, so a slow
# machine that stretched the 2 s does not matter. The file can hold no more than the
# graph ran (one frame of slack for the frames between that read and the pause). Slots the
# source gave up on a busy machine stay in the file as empty frames, so it can be short only
# by the frames queued downstream when the pause came: half a second at the most.
seconds="$(awk -v f="${frames:-0}" -v r="${rate:-0/1}" 'BEGIN { split(r, p, "/"); if (p[2] > 0 && p[1] > 0) printf "%.3f", f * p[2] / p[1]; else print 0 }')"
fps="$(awk -v r="${rate:-0/1}" 'BEGIN { split(r, p, "/"); if (p[2] > 0) print p[1] / p[2]; else print 0 }')"
ran="$(tr -d '\r' <"$ZT_TMP/pipelinetest.log" | sed -n 's/^# measure: position after [0-9]* ms: \([0-9][0-9]*\)$/\1/p' | head -1)"
zt_check "the graph ran for the 2 s asked (position ${ran:-unread})" \
  awk -v p="${ran:-x}" 'BEGIN { exit !(p + 0 == p && p >= 1.6e7 && p <= 2.6e7) }'
zt_check "video lasts as long as the graph ran, within half a second ($frames frames at $rate = $seconds s)" \
  awk -v s="$seconds" -v p="${ran:-x}" -v r="$fps" \
  'BEGIN { if (p + 0 != p || r <= 0) exit 1; t = p / 1e7; exit !(s <= t + 1 / r && s >= t - 0.5) }'
# The test prefix's AVI Mux takes PCM, so the sound must be in the file.
zt_expect_eq "audio stream is the chosen format" "pcm_s16le,48000,2" "$(probe a:0 stream=codec_name,sample_rate,channels csv=p=0)"
zt_finish
