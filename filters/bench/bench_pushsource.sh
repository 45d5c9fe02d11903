#!/usr/bin/env bash
# Benchmarks PushSource.ax under Wine on Xvfb against ffmpeg's x11grab and writes the figures
# as a markdown section.
# Usage: bench_pushsource.sh <Zelvio dist folder> <testbin folder> [seconds] [output.md]
# Environment as for the Wine tests: WINEPREFIX, DISPLAY (the benchmark library's session).
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../../scripts/bench-lib.sh
source "$here/../../scripts/bench-lib.sh"
seconds="${3:-30}"
out="${4:-$ZT_REPO/docs/benchmarks-pushsource.md}"
fps=30
zt_init "$1" "$2"
work="$ZT_TMP"

value() { grep "^$1=" "$2" | head -1 | cut -d= -f2; }

x11grab_cpu_per_frame() {  # size -> "cpu_ms_per_frame frames"
  /usr/bin/time -f "%U %S" -o "$work/time.txt" \
    ffmpeg -nostdin -hide_banner -f x11grab -framerate "$fps" -video_size "$1" -i "$DISPLAY+0,0" \
      -t "$seconds" -f null - >"$work/ffmpeg.log" 2>&1
  local frames
  frames="$(grep -o 'frame= *[0-9]*' "$work/ffmpeg.log" | tail -1 | grep -o '[0-9]*')"
  awk -v f="${frames:-0}" '{ if (f > 0) printf "%.3f %d\n", ($1 + $2) * 1000 / f, f; else print "n/a 0" }' "$work/time.txt"
}

{
  echo "## PushSource.ax throughput (Wine $(wine --version 2>/dev/null | sed 's/wine-//'), Xvfb, $(nproc) cores)"
  echo
  echo "Push source -> Null Renderer at $fps fps for $seconds s; bare BitBlt paced at the same rate in the"
  echo "same process; ffmpeg x11grab at the same size and rate into a null muxer (CPU from /usr/bin/time)."
  echo
  echo "| Size | Delivered/s | Delivered share | Skipped | CPU ms/frame (process) | Bare BitBlt CPU ms | Bare BitBlt median ms | CPU ratio | x11grab CPU ms/frame |"
  echo "|---|---|---|---|---|---|---|---|---|"
} >"$work/section.md"

for size in 864x480 1920x1080; do
  w="${size%x*}"; h="${size#*x}"
  timeout $((seconds + 120)) wine "$ZT_TESTBIN/bench_pushsource.exe" \
    "$(zt_windows_path "$ZT_APP/Filters/PushSource.ax")" "$w" "$h" "$fps" "$seconds" \
    </dev/null >"$work/bench.txt" 2>&1
  read -r grab_cpu grab_frames <<<"$(x11grab_cpu_per_frame "$size")"
  cpu="$(value cpu_ms_per_frame "$work/bench.txt")"
  bare="$(value bare_blit_cpu_ms "$work/bench.txt")"
  ratio="$(awk -v a="${cpu:-0}" -v b="${bare:-0}" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }')"
  echo "| $size | $(value delivered_per_second "$work/bench.txt") | $(value delivered_share "$work/bench.txt") |" \
       "$(value skipped "$work/bench.txt") | $cpu | $bare | $(value bare_blit_median_ms "$work/bench.txt") | $ratio |" \
       "$grab_cpu ($grab_frames frames) |" >>"$work/section.md"
done

mkdir -p "$(dirname "$out")"
cp "$work/section.md" "$out"
cat "$out"
