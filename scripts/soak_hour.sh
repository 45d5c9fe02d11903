#!/usr/bin/env bash
# Half an hour holds: one recording of MINUTES (default 30) at 864x480, 25 fps, with sound
# from the test audio device and Zelvio's screen codec, made through the real window, with a
# 5 s pause after every 4 minutes of recording, while the drawn clock and the device's
# clicks run as in the recording test. Zelvio.exe's resident memory is sampled every 30 s.
# At the end: memory at the start and the end of the recording, every click against the
# picture (the worst offset), every frame decoded, the file's size per minute; the figures
# go to docs/benchmarks.md, section "Half an hour of recording". Not part of the tests: it
# takes MINUTES and a few more.
#
# Usage: scripts/soak_hour.sh [MINUTES]    (after a Windows build)
# Environment as for the Wine tests: WINEPREFIX, DISPLAY.
set -u
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
minutes="${1:-30}"
log="$repo/build/soak_hour.log"
memlog="$repo/build/soak_hour_memory.txt"
# shellcheck source=bench-lib.sh
source "$repo/scripts/bench-lib.sh"

# Record 4 minutes, pause 5 s, ...; the last run takes what is left.
schedule=""
left=$((minutes * 60))
while [ "$left" -gt 240 ]; do
  schedule="$schedule 240 5"
  left=$((left - 240))
done
schedule="${schedule# }${schedule:+ }$left"

# Zelvio.exe of this prefix only: other Wine sessions may run their own copies meanwhile.
rss_of_zelvio() {
  local pid
  for pid in $(pgrep -f 'Zelvio\.exe' 2>/dev/null); do
    [ "$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | awk '{ print $1 }')" = "Zelvio.exe" ] || continue
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null
    return
  done
}

: >"$memlog"
(
  start=$(date +%s)
  while :; do
    rss="$(rss_of_zelvio)"
    [ -n "$rss" ] && echo "$(($(date +%s) - start)) $rss" >>"$memlog"
    sleep 30
  done
) &
sampler=$!
trap 'kill "$sampler" 2>/dev/null' EXIT

echo "soak: recording $minutes minutes (schedule: $schedule); log in $log"
ZR_AV_ROUNDS=1 ZR_AV_SCHEDULE="$schedule" ZR_CODEC="Zelvio Screen Codec (lossless)" ZT_KEEP=1 \
  bash "$repo/tests/wine/test_recording.sh" "$repo/build/win/Zelvio" "$repo/build/win/testbin" >"$log" 2>&1
rc=$?
kill "$sampler" 2>/dev/null

tmp="$(sed -n 's/^kept for inspection: \([^ ]*\) .*/\1/p' "$log" | tail -n 1)"
avi="$tmp/with-sound.avi"
size=$(stat -c %s "$avi" 2>/dev/null || echo 0)
first_rss="$(awk 'NR == 2 { print $2 }' "$memlog")"
last_rss="$(tail -n 1 "$memlog" | awk '{ print $2 }')"
max_rss="$(awk '$2 > m { m = $2 } END { print m }' "$memlog")"
worst="$(sed -n 's/^worst offset: \(.*\) ms$/\1/p' "$log" | tail -n 1)"
fails="$(grep -c '^FAIL' "$log")"
frames="$(sed -n 's/^  decoded: //p' "$log" | head -n 1)"
filled="$(sed -n 's/^  filled: //p' "$log" | head -n 1)"
per_minute="$(awk -v s="$size" -v m="$minutes" 'BEGIN { printf "%.1f", s / m / 1048576 }')"

section="$(mktemp)"
{
  echo "## Half an hour of recording"
  echo
  echo "\`scripts/soak_hour.sh $minutes\`, measured $(date -u +%Y-%m-%d): one recording of $minutes minutes"
  echo "at 864x480, 25 fps, with sound (22050 Hz mono from the test device) and the screen"
  echo "codec, through the real window, pausing 5 s after every 4 minutes; the test's clock"
  echo "window redraws inside the region all the time. Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)."
  echo
  echo "| Figure | Value |"
  echo "|---|---|"
  echo "| Zelvio.exe resident memory, first sample (30 s after the start) | ${first_rss:-?} KB |"
  echo "| last sample (the program still open after Stop) | ${last_rss:-?} KB |"
  echo "| highest sample | ${max_rss:-?} KB |"
  echo "| worst click offset against the picture, whole file | ${worst:-?} ms |"
  echo "| frames decoded / frames stored | ${frames:-?} / ${filled:-?} |"
  echo "| file size | $((size / 1048576)) MB, $per_minute MB a minute |"
  echo "| failed checks of the recording test | $fails |"
  echo "| memory growth over the recording (bound 16 MB) | $(( (${last_rss:-0} - ${first_rss:-0}) / 1024 )) MB |"
  echo
  echo "Memory samples (seconds, KB): $(tr '\n' ';' <"$memlog" | sed 's/;$//; s/;/; /g')"
  echo
} >"$section"
ZT_TMP="$(mktemp -d)" bench_write_section "Half an hour of recording" "$section"
cat "$section"
grep -E '^FAIL' "$log"
if [ $(( ${last_rss:-0} - ${first_rss:-0} )) -gt $((16 * 1024)) ]; then
  echo "soak: memory grew by more than 16 MB"
  exit 1
fi
exit "$rc"
