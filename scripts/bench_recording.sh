#!/usr/bin/env bash
# The whole program's cost while it records: Zelvio.exe records the full screen (1920x1080)
# at 30 fps for some seconds through its real window, with the test stand-ins for codec,
# tee, mux and writer, while zdesk's clock on the screen redraws every 10 ms. Measured from
# outside: the CPU time of Zelvio's Wine process (per thread too), of the wineserver and of
# the X server over the recording, per frame slot; from the file: the share of frames that
# repeat the previous picture (two grabs showing the same clock, or slots the source gave
# up); from the filters: each one's own time per frame (kit/filter_timing.h: the stand-ins
# always account, and a second round runs the screen source built with the accounting,
# testbin/PushSourceTimed.ax). Writes docs/benchmarks.md, section "Recording".
#
# With BENCH_CODEC=screen the program records with its own screen codec instead of the test
# codec, and the section is "Recording with the screen codec".
#
# BENCH_SCENE=movie720: a moving picture instead. The program records the 720p preset region
# (1280x720, centred on the screen) over zdesk waves covering it exactly, moving colour like
# a film repainted every 20 ms (every pixel new) with the clock in a band across it, with its
# screen codec at its defaults (unless BENCH_CODEC=test), the shipped source only (no timed
# rounds). Per round: the share of frame slots that show the previous picture again (the
# clock band read from every frame, and the decoded frames' MD5s beside it), the runs of more
# than 3 such slots in a row, Zelvio.exe's CPU in % of one core, the file's bytes a frame.
# The section is "Recording moving pictures". Best with BENCH_DISK=1 (a folder on the disk).
#
# Usage: scripts/bench_recording.sh <Zelvio dist folder> <testbin folder> [seconds] [rounds]
# Environment as for the Wine tests: WINEPREFIX, DISPLAY (default: a private Xvfb on :99).
set -u
# shellcheck source=bench-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/bench-lib.sh"
RECORD_S="${3:-10}"
ROUNDS="${4:-1}"
FPS=30
FPS_INDEX=4 # "30" in ComboBoxFps
CLOCK_X=1200
CLOCK_Y=800
CLOCK_PERIOD_MS=10
IDLE_S=5
# The bar's corner inside the clock window (kBarX, kBarY of desk_clock.cpp).
BAR_X=$((CLOCK_X + 8))
BAR_Y=$((CLOCK_Y + 8))
SCENE="${BENCH_SCENE:-}"
# The overlay's rectangle (the region grown by its 8-pixel frame) while recording.
RECORD_RECT="-8,-8,1928,1088"
case "$SCENE" in
  "") ;;
  movie720)
    : "${BENCH_CODEC:=screen}"
    # Preset 22 of ComboBoxDimension, centred (the default anchor, chosen all the same).
    REGION_PRESET=22
    REGION_W=1280 REGION_H=720 REGION_X=320 REGION_Y=180
    WAVES_PERIOD_MS=20
    # The band's top row inside the waves window; the bar sits 8,8 into the band
    # (desk_waves.cpp), and the window is the region, so these are the frame's coordinates.
    BAND_TOP=600
    BAR_X=8
    BAR_Y=$((BAND_TOP + 8))
    CLOCK_PERIOD_MS=$WAVES_PERIOD_MS
    RECORD_RECT="$(zh_overlay_rect "$REGION_W" "$REGION_H" "$REGION_X" "$REGION_Y")"
    ;;
  *)
    echo "bench: unknown BENCH_SCENE '$SCENE' (known: movie720)" >&2
    exit 2
    ;;
esac
TICK="$(getconf CLK_TCK)"
FIGURES="$ZT_REPO/scripts/recording_figures.py"

# CPU ticks (user + system) of a process or thread from its stat line.
ticks_of() {
  awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "$1" 2>/dev/null || echo 0
}

# The Wine process of a program of the copy, by its command line and current directory.
pid_of_program() {
  local pid
  for pid in $(wine_env_pids_in "$ZT_APP"); do
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q "$1" && { echo "$pid"; return 0; }
  done
  return 1
}

# The wineserver of our prefix: its working directory is the prefix's server folder,
# named after the prefix's device and inode.
wineserver_pid() {
  local dir pid
  dir="server-$(printf '%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")"
  for pid in /proc/[0-9]*; do
    pid="${pid#/proc/}"
    case "$(readlink "/proc/$pid/cwd" 2>/dev/null)" in */"$dir") ;; *) continue ;; esac
    case "$(readlink "/proc/$pid/exe" 2>/dev/null)" in */wineserver*) echo "$pid"; return 0 ;; esac
  done
  return 1
}

xserver_pid() {
  local pid
  for pid in /proc/[0-9]*; do
    pid="${pid#/proc/}"
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q "^Xvfb $DISPLAY " && { echo "$pid"; return 0; }
  done
  return 1
}

# snapshot FILE: a line per process ("name ticks") and per thread of Zelvio
# ("thread:TID:COMM ticks"), and the wall time.
snapshot() {
  local t
  {
    echo "wall $(date +%s.%N)"
    echo "zelvio $(ticks_of "/proc/$ZELVIO_PID/stat")"
    echo "wineserver $(ticks_of "/proc/$SERVER_PID/stat")"
    echo "xserver $(ticks_of "/proc/$XSERVER_PID/stat")"
    for t in /proc/"$ZELVIO_PID"/task/*; do
      echo "thread:${t##*/}:$(tr ' ' '_' <"$t/comm"):nice$(awk '{ sub(/^.*\) /, ""); print $17 }' "$t/stat") $(ticks_of "$t/stat")"
    done
  } >"$1"
}

# delta KEY [FIRST SECOND]: ticks between two snapshots (the recording's by default), in ms.
delta_ms() {
  awk -v k="$1" -v tick="$TICK" 'FNR == NR { if ($1 == k) a = $2; next } $1 == k { b = $2 }
    END { printf "%.0f", (b - a) * 1000 / tick }' "${2:-$ZT_TMP/before}" "${3:-$ZT_TMP/after}"
}

wait_started() {
  zt_start_zelvio
  zt_drv wait-window TFormMain - 60000 || { echo "bench: no main window" >&2; return 1; }
  zt_wait_field 30 rect "$1" window-info TFormMainCapturer || {
    echo "bench: the overlay never framed $1 ($(zt_field rect))" >&2
    return 1
  }
}

codec_index() {
  if [ "${BENCH_CODEC:-test}" = screen ]; then
    zr_item_index "Zelvio Screen Codec (lossless)" ComboBoxVideoCompressors
  else
    echo 0
  fi
}

# The options go through the window once: a new frame rate takes a restart (the program
# says so in a box), and the settings file keeps all of them for the rounds.
configure() {
  rm -f "$ZT_SETTINGS"
  mkdir -p "$(dirname "$ZT_CASTS")"
  # Raw 1080p at 30 fps is 250 MB/s: on this machine's virtual disk the kernel throttles
  # the writer to the disk's pace, which says nothing about the program. The recordings go
  # to memory unless BENCH_DISK=1.
  if [ "${BENCH_DISK:-0}" = 1 ]; then
    mkdir -p "$ZT_CASTS"
  else
    RAM_CASTS="$(mktemp -d /dev/shm/zelvio-bench-XXXXXX)"
    ln -s "$RAM_CASTS" "$ZT_CASTS"
  fi
  wait_started "$ZH_DEFAULT_RECT" || return 1
  zt_drv select-tab PageControlOptions 1 && zt_drv select ComboBoxVideoCompressors "$(codec_index)" &&
    zt_drv select ComboBoxFps "$FPS_INDEX" || { echo "bench: video options: $ZT_OUT" >&2; return 1; }
  zt_drv dismiss 10000 || { echo "bench: no restart box after the frame rate" >&2; return 1; }
  zt_drv select-tab PageControlOptions 0 && zt_drv select-tab PageControlScreen 0 || {
    echo "bench: region page: $ZT_OUT" >&2
    return 1
  }
  if [ -n "$SCENE" ]; then
    zt_drv click RadioButtonDimPreDefined && zt_drv select ComboBoxDimension "$REGION_PRESET" &&
      zt_drv select-tab PageControlScreen 1 && zt_drv click RadioButtonPosCenter ||
      { echo "bench: region preset: $ZT_OUT" >&2; return 1; }
  else
    zt_drv click RadioButtonDimFullscreen || { echo "bench: full screen: $ZT_OUT" >&2; return 1; }
  fi
  zt_drv close-main
  zt_wait_zelvio_exit 30 || { echo "bench: Zelvio did not end" >&2; return 1; }
}

start_configured() {
  wait_started "$RECORD_RECT" || return 1
  [ "$(zt_field caption)" = "FormMainCapturer@$FPS" ] || {
    echo "bench: the overlay was told $(zt_field caption)" >&2
    return 1
  }
  zt_drv messageboxes-dismiss-all 1000
  [ "$(zt_field dismissed)" = 0 ] || { echo "bench: a box came up at start" >&2; return 1; }
  ZELVIO_PID="$(pid_of_program 'Zelvio\.exe')" || { echo "bench: no Zelvio.exe process" >&2; return 1; }
}

# record_round NAME: one recording; figures in $ZT_TMP/NAME.*
record_round() {
  local name="$1" avi wall slots load
  start_configured || return 1
  sleep 1
  # The same processes while the program only waits, clock and all: what is not the
  # recording's.
  snapshot "$ZT_TMP/idle-before"
  sleep "$IDLE_S"
  snapshot "$ZT_TMP/idle-after"
  load="$(cut -d ' ' -f 1-3 /proc/loadavg)"
  zt_drv click JvImgBtnStartPause || { echo "bench: Record: $ZT_OUT" >&2; return 1; }
  snapshot "$ZT_TMP/before"
  sleep "$RECORD_S"
  snapshot "$ZT_TMP/after"
  zt_drv click JvImgBtnStop || { echo "bench: Stop: $ZT_OUT" >&2; return 1; }
  zt_drv messageboxes-dismiss-all 1000
  [ "$(zt_field dismissed)" = 0 ] || echo "bench: a box came up while recording" >&2
  zh_wait_files "$ZT_CASTS/" 'Screencast_*.avi' 1 10 || { echo "bench: no recording" >&2; return 1; }
  sleep 1
  zt_drv close-main
  zt_wait_zelvio_exit 30 || echo "bench: Zelvio did not end" >&2
  avi="$(zr_newest_avi "$ZT_CASTS/")"
  python3 "$FIGURES" frames "$avi" "$BAR_X" "$BAR_Y" "$CLOCK_PERIOD_MS" "$ZT_TMP/$name.times" >"$ZT_TMP/$name.frames" ||
    { echo "bench: the frames could not be read" >&2; return 1; }
  mv "$avi".clocks "$ZT_TMP/$name.clocks"
  grep -q '^readable: 0$' "$ZT_TMP/$name.frames" && mv "$avi".bar.pgm "$ZT_TMP/$name.bar.pgm"
  if [ -n "$SCENE" ]; then
    python3 "$FIGURES" file "$avi" "$REGION_W" "$REGION_H" >>"$ZT_TMP/$name.frames" ||
      { echo "bench: the file could not be read" >&2; return 1; }
  fi
  rm -f "$ZT_CASTS"/Screencast_*
  wall="$(awk 'FNR == NR { if ($1 == "wall") a = $2; next } $1 == "wall" { printf "%.3f", $2 - a }' \
    "$ZT_TMP/before" "$ZT_TMP/after")"
  slots="$(awk -v w="$wall" -v f="$FPS" 'BEGIN { printf "%.1f", w * f }')"
  {
    echo "load: $load"
    echo "wall_s: $wall"
    awk 'FNR == NR { if ($1 == "wall") a = $2; next } $1 == "wall" { printf "idle_wall_s: %.3f\n", $2 - a }' \
      "$ZT_TMP/idle-before" "$ZT_TMP/idle-after"
    echo "slots_measured: $slots"
    for key in zelvio wineserver xserver; do
      echo "cpu_ms_$key: $(delta_ms "$key")"
      echo "idle_cpu_ms_$key: $(delta_ms "$key" "$ZT_TMP/idle-before" "$ZT_TMP/idle-after")"
    done
    awk -v tick="$TICK" 'FNR == NR { a[$1] = $2; next } $1 ~ /^thread:/ && ($2 - a[$1]) > 0 {
        printf "thread: %s %.0f\n", $1, ($2 - a[$1]) * 1000 / tick }' "$ZT_TMP/before" "$ZT_TMP/after" |
      sort -k3 -n -r
  } >"$ZT_TMP/$name.cpu"
  echo "--- $name"
  cat "$ZT_TMP/$name.cpu" "$ZT_TMP/$name.frames"
}

# The moving picture's section: a row per round.
write_scene_report() {
  local load="$1" section="$ZT_TMP/section.md" codec="Zelvio's screen codec (its default settings)"
  [ "${BENCH_CODEC:-screen}" = screen ] || codec="the test codec (pass-through)"
  python3 "$FIGURES" scene "$ZT_TMP" "$ROUNDS" "$FPS" "$REGION_W" "$REGION_H" "## Recording moving pictures

Zelvio.exe recording the 720p preset region (${REGION_W}x${REGION_H}, centred on the 1920x1080 screen, at
$REGION_X,$REGION_Y) at $FPS fps for $RECORD_S s through its window (Record, then Stop, clicked by
zdriver), $codec, into a folder on $([ "${BENCH_DISK:-0}" = 1 ] && echo "the disk" || echo "memory (/dev/shm)"),
over zdesk waves covering the region exactly: moving colour like a film (colour waves and soft
shapes drifting, a faint grain), every pixel new every $WAVES_PERIOD_MS ms, with the machine clock as a
barcode in a grey band across it (rows $BAND_TOP..$((BAND_TOP + 40)) of the region), painted with the picture.
Wine $(wine --version 2>/dev/null | head -n 1) on Xvfb 1920x1080x24, $(nproc) cores shared with other work
(other engineers' builds: the load average is given for each round), measured $(date -u +%Y-%m-%d)
(load average $load when the runs began).

- Slots: the frame slots of the file (its frame count at $FPS fps). A slot repeats the previous
  picture when the source gave it up (an empty chunk: a player shows the previous picture
  again) or its frame shows the same clock as the frame before it (the same picture grabbed
  twice). \"MD5 repeats\": decoded frames identical to the frame before them (ffmpeg framemd5),
  counted apart as a check of the clock's count of pictures grabbed twice.
- Gaps: runs of more than 3 slots in a row that repeat the previous picture (the picture
  stands still for over 133 ms); the longest run beside them.
- CPU: user + system time of Zelvio's Wine process from /proc between the Record click and
  $RECORD_S s later, in % of one core and per frame slot.
- Bytes a frame: the video packets' bytes over the frames written (filled slots), beside the
  raw frame (${REGION_W}x${REGION_H}x4 bytes); the file's bytes over all slots too.

Command: \`BENCH_SCENE=movie720 BENCH_DISK=1 scripts/bench_recording.sh <dist folder> <testbin folder> 10 3\`
(the program is set to the 720p preset, centred, $FPS fps and the screen codec once, through its window)." >"$section" || return 1
  bench_write_section "Recording moving pictures" "$section"
}

write_report() {
  local load="$1" section="$ZT_TMP/section.md"
  local heading="Recording" codec="test codec (pass-through)"
  if [ "${BENCH_CODEC:-test}" = screen ]; then
    heading="Recording with the screen codec"
    codec="Zelvio's screen codec (Filters/ScreenCodec.ax, its default settings)"
  fi
  python3 "$FIGURES" report "$ZT_TMP" "$ROUNDS" "$FPS" "$RECORD_S" "$load" "## $heading

Zelvio.exe recording the full screen (1920x1080, RGB32) at $FPS fps for $RECORD_S s through its
window (Record, then Stop, clicked by zdriver), $codec, Infinite Pin Tee,
AVI Mux and File Writer stand-ins, Wine's Null Renderer on the tee's second output; zdesk's
clock redrawn every $CLOCK_PERIOD_MS ms on the screen. Wine $(wine --version 2>/dev/null | head -n 1) on Xvfb
1920x1080x24, $(nproc) cores shared with other work, measured $(date -u +%Y-%m-%d) (load average $load
when the runs began). This run recorded to $([ "${BENCH_DISK:-0}" = 1 ] && echo "the disk" || echo "memory").
The recording goes to memory (/dev/shm) unless BENCH_DISK=1: raw 1080p
at 30 fps is 250 MB/s, and on this machine's virtual disk the kernel holds the writer back
to the disk's pace, which would measure the disk.

CPU: user + system time from /proc of Zelvio's Wine process, of the wineserver and of the X
server between the Record click and $RECORD_S s later, divided by the frame slots of that
time. Frames: each slot of the file read back (ffmpeg) and the clock read from its picture;
a slot the source gave up is an empty chunk, which a player shows as the previous picture
again, so \"seen repeated\" counts those and the pictures grabbed twice." >"$section" || return 1
  cat >>"$section" <<EOF2

The split comes from the rounds with testbin/PushSourceTimed.ax, the shipped source's code
built with the accounting of kit/filter_timing.h (the stand-ins always have it): each
filter's time is what came in (a source: its step) less what went on downstream, measured
on the performance counter on the streaming thread (the whole graph runs on the source's
thread: every filter here delivers inside Receive). It is wall time, so it also holds the
waits for the X server (the grab) and for the kernel (the writer), and any time the thread
was not scheduled; the streaming thread's CPU from /proc is below it for comparison.

Command: \`scripts/bench_recording.sh <dist folder> <testbin folder> [seconds] [rounds]\`
(each round: one recording with the shipped PushSource.ax, one with the timed one; the
program is set to full screen, $FPS fps and the codec once, through its window).

EOF2
  bench_write_section "$heading" "$section"
}

RAM_CASTS=""
zt_at_cleanup() {
  [ -n "$RAM_CASTS" ] && rm -rf "$RAM_CASTS"
}

# The scene's rounds: the shipped source only.
scene_main() {
  local load="$1" round
  for round in $(seq 1 "$ROUNDS"); do
    record_round "shipped-$round" || exit 1
  done
  echo "load average at the start: $load"
  [ "${BENCH_NO_WRITE:-0}" = 1 ] || write_scene_report "$load"
}

main() {
  local load round
  load="$(cut -d ' ' -f 1-3 /proc/loadavg)"
  if [ -n "$SCENE" ]; then
    zh_desk waves "$REGION_X" "$REGION_Y" "$REGION_W" "$REGION_H" "$WAVES_PERIOD_MS" "$BAND_TOP"
    zt_drv wait-window ZDeskWaves - 20000 || { echo "bench: no waves window" >&2; exit 1; }
  else
    zh_desk clock "$CLOCK_X" "$CLOCK_Y" "$CLOCK_PERIOD_MS"
    zt_drv wait-window ZelvioClockWindow - 20000 || { echo "bench: no clock window" >&2; exit 1; }
  fi
  SERVER_PID="$(wineserver_pid)" || { echo "bench: no wineserver found" >&2; exit 1; }
  XSERVER_PID="$(xserver_pid)" || { echo "bench: no X server for $DISPLAY" >&2; exit 1; }
  configure || exit 1
  if [ -n "$SCENE" ]; then
    scene_main "$load"
    return
  fi
  cp "$ZT_APP/Filters/PushSource.ax" "$ZT_TMP/PushSource.ax"
  for round in $(seq 1 "$ROUNDS"); do
    cp "$ZT_TMP/PushSource.ax" "$ZT_APP/Filters/PushSource.ax"
    export ZELVIO_FILTER_TIMES
    ZELVIO_FILTER_TIMES="$(zt_windows_path "$ZT_TMP/shipped-$round.times")"
    record_round "shipped-$round" || exit 1
    cp "$ZT_TESTBIN/PushSourceTimed.ax" "$ZT_APP/Filters/PushSource.ax"
    ZELVIO_FILTER_TIMES="$(zt_windows_path "$ZT_TMP/timed-$round.times")"
    record_round "timed-$round" || exit 1
    python3 "$FIGURES" split "$ZT_TMP/timed-$round.times" >"$ZT_TMP/timed-$round.split"
    cat "$ZT_TMP/timed-$round.times" "$ZT_TMP/timed-$round.split"
  done
  echo "load average at the start: $load"
  [ "${BENCH_NO_WRITE:-0}" = 1 ] || write_report "$load"
}

zt_init "$1" "$2"
source "$ZT_REPO/tests/wine/lib/recording.sh"
main
