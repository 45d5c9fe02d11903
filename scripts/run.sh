#!/usr/bin/env bash
# Installs what is missing, builds Zelvio and runs it under Wine.
#
# With an X display (DISPLAY set and reachable): starts Zelvio there, from its portable
# folder, and waits until you close it.
#
# Without one: runs the recorder's main job on a private Xvfb, so there is something to
# see. A moving test picture fills the screen; Zelvio starts, its own screen codec is chosen
# (it is always listed last), sound from the test audio device is switched on, Record runs for a few seconds,
# Stop, Snapshot, and Zelvio closes — all through the
# real window's controls. Then the AVI and the bitmap are listed with ffprobe's summary.
# Wine has no video compressor with a settings dialog of its own, so this run registers the
# test-only stand-in filters in the project's Wine prefix first (they never ship).
set -uo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$repo/scripts/setup.sh" || exit 1
cmake -S "$repo" -B "$repo/build/win" -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
cmake --build "$repo/build/win" -j2 >/dev/null || { cmake --build "$repo/build/win" -j1; exit 1; }

dist="$repo/build/win/Zelvio"
testbin="$repo/build/win/testbin"
source "$repo/scripts/wine-env.sh"

if [ -n "${DISPLAY:-}" ] && xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  echo "Starting Zelvio from $dist on $DISPLAY"
  cd "$dist" && exec wine Zelvio.exe
fi

# ---- No display: the main job on a private X server -----------------------------------------
unset DISPLAY
run="$repo/build/run"
wine_env_begin :98 || { echo "no Wine session (display :98, prefix $WINEPREFIX)"; exit 1; }
trap 'wine_env_kill_in "$run"; wine_env_end' EXIT
wine_env_register_standins "$testbin/ZelvioTestFilters.dll" || exit 1

rm -rf "$run"
mkdir -p "$run"
cp -r "$dist" "$run/Zelvio"
app="$run/Zelvio"
mkdir -p "$app/Output/Screencasts" "$app/Output/Screenshots"

# The driver under the same time limit as in the tests: a hung window must not hang the run.
drv() {
  (cd "$run" && timeout 90 wine "$testbin/zdriver.exe" "$@" </dev/null >"$run/driver.out" 2>&1)
  local rc=$?
  tr -d '\r' <"$run/driver.out"
  return $rc
}

(cd "$run" && exec wine "$testbin/zdesk.exe" moving </dev/null >"$run/picture.log" 2>&1 &)
drv wait-window ZelvioMovingPicture - 60000 >/dev/null || { echo "the test picture did not appear"; exit 1; }
(cd "$app" && wine Zelvio.exe </dev/null >"$run/zelvio.log" 2>&1; echo $? >"$run/zelvio.rc") &

drv wait-window TFormMain - 60000 >/dev/null || { echo "Zelvio's window did not appear"; exit 1; }
# The window exists before start-up has filled its lists; it shows once start-up is done.
for _ in $(seq 1 300); do drv window-info TFormMain | grep -q '^visible: 1' && break; sleep 0.2; done
# Any message box the program shows is part of the story: print it and go on.
boxes() { drv messageboxes-dismiss-all 500 | sed -n 's/^text: /Zelvio said: /p'; }
drv select-tab PageControlOptions 1 >/dev/null
codec="$(drv control ComboBoxVideoCompressors | sed -n 's/^item \([0-9]*\): Zelvio Screen Codec.*$/\1/p' | head -n 1)"
drv select ComboBoxVideoCompressors "${codec:-0}" >/dev/null || { echo "no video compressor to choose"; exit 1; }
# Sound from the test audio device: its microphone line, 22050 Hz 16-bit mono.
drv select-tab PageControlOptions 2 >/dev/null
device="$(drv control ComboBoxAudioDevices | sed -n 's/^item \([0-9]*\): Zelvio Test Audio$/\1/p' | head -n 1)"
if [ -n "$device" ]; then
  drv select ComboBoxAudioDevices "$device" >/dev/null
  drv select ComboBoxInputLines 1 >/dev/null
  drv select ListBoxAudioFormat 1 >/dev/null
  drv click CheckBoxEnableAudio >/dev/null
  boxes
else
  echo "no test audio device listed: recording without sound"
fi
echo "Recording 4 seconds of the moving picture..."
drv click JvImgBtnStartPause >/dev/null
sleep 4
boxes
import -window root "$run/screen.png" 2>/dev/null
drv click JvImgBtnStop >/dev/null
boxes
drv control LabelDuration | sed -n 's/^text: /Duration shown: /p'
drv click JvImgBtnSnapshot >/dev/null
sleep 1
boxes
drv close-main >/dev/null
boxes
for _ in $(seq 1 100); do [ -s "$run/zelvio.rc" ] && break; sleep 0.2; done

avi="$(ls -1 "$app"/Output/Screencasts/*.avi 2>/dev/null | tail -1)"
bmp="$(ls -1 "$app"/Output/Screenshots/*.bmp 2>/dev/null | tail -1)"
echo
echo "Screencast: ${avi:-none}"
echo "Screenshot: ${bmp:-none}"
echo "Settings:   $app/settings.ini"
echo "Screen:     $run/screen.png"
if [ -n "$avi" ]; then
  echo
  ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,r_frame_rate,nb_frames:format=duration,size \
    -of default=noprint_wrappers=1 "$avi" || avi=""
fi
[ -n "$avi" ] && [ -n "$bmp" ]
