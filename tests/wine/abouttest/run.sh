#!/usr/bin/env bash
# The about window under Wine: abouttest.exe's own checks, then the three links end to end
# (the prefix's handler for https addresses is pointed at abouttest.exe --record-link for
# the run and put back afterwards), and optionally a picture of the window.
# Usage: run.sh <folder of abouttest.exe> [picture.png]
# Environment: WINEPREFIX (default <repo>/build/wineprefix); DISPLAY (default: a private
# Xvfb on :99, stopped at the end).
set -u
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
REPO="$(cd "$HERE/../../.." && pwd)"
TESTBIN="$(cd "${1:?usage: run.sh <folder of abouttest.exe> [picture.png]}" && pwd)"
PICTURE="${2:-}"
EXE="$TESTBIN/abouttest.exe"
[ -f "$EXE" ] || { echo "FAIL: no abouttest.exe in $TESTBIN"; exit 1; }

source "$REPO/scripts/wine-env.sh"
OWN_DISPLAY=""
if [ -z "${DISPLAY:-}" ]; then
  OWN_DISPLAY=":99"
  export DISPLAY="$OWN_DISPLAY"
  wine_env_start_display "$DISPLAY" || { echo "FAIL: no Xvfb on $DISPLAY"; exit 1; }
fi
wine_env_start_server
wine_env_ensure_prefix || { echo "FAIL: no Wine prefix at $WINEPREFIX"; exit 1; }

TMP="$(mktemp -d /tmp/zelvio-about-XXXXXX)"
HANDLER_KEY='HKCR\https\shell\open\command'
SAVED_HANDLER="$TMP/handler.reg"
FAILED=0

restore_handler() {
  [ -f "$SAVED_HANDLER" ] || return 0
  wine reg import "$(windows_path "$SAVED_HANDLER")" </dev/null >/dev/null 2>&1
  rm -f "$SAVED_HANDLER"
}

cleanup() {
  restore_handler
  [ -n "$OWN_DISPLAY" ] && wine_env_stop_display "$OWN_DISPLAY"
  rm -rf "$TMP"
}
trap cleanup EXIT

windows_path() { echo "Z:$1" | tr '/' '\\'; }

# Output goes to files, never pipes: a Wine client may hand its handles to helpers.
run_exe() {
  timeout 120 wine "$EXE" "$@" </dev/null >"$TMP/out" 2>"$TMP/err"
  local rc=$?
  tr -d '\r' <"$TMP/out"
  return $rc
}

check_window() {
  run_exe || FAILED=1
}

check_links() {
  local record="$TMP/links.txt"
  wine reg export "$HANDLER_KEY" "$(windows_path "$SAVED_HANDLER")" /y </dev/null >/dev/null 2>&1
  wine reg add "$HANDLER_KEY" /ve /f \
    /d "\"$(windows_path "$EXE")\" --record-link \"$(windows_path "$record")\" \"%1\"" \
    </dev/null >/dev/null 2>&1
  run_exe --click-links || FAILED=1
  local i
  for i in $(seq 1 50); do
    [ -f "$record" ] && [ "$(wc -l <"$record")" -ge 3 ] && break
    sleep 0.2
  done
  restore_handler
  local expected actual
  expected="$(printf '%s\n' https://zelvio.example.org/ https://zelvio.example.org/download \
    https://zelvio.example.org/donate | sort)"
  actual="$(tr -d '\r' <"$record" 2>/dev/null | sort)"
  if [ "$expected" = "$actual" ]; then
    echo "PASS: the three links opened their pages"
  else
    echo "FAIL: the three links opened their pages (got: $(echo "$actual" | paste -sd ' '))"
    FAILED=1
  fi
}

# abouttest.exe tells where the window is; the picture is the window alone.
take_picture() {
  (timeout 60 wine "$EXE" --hold 8000 </dev/null >"$TMP/hold.out" 2>&1 &)
  local i geometry=""
  for i in $(seq 1 40); do
    geometry="$(tr -d '\r' <"$TMP/hold.out" 2>/dev/null | sed -n 's/^window: //p')"
    [ -n "$geometry" ] && break
    sleep 0.2
  done
  if [ -z "$geometry" ]; then
    echo "FAIL: the window did not show for its picture"
    FAILED=1
    return
  fi
  sleep 1
  import -window root -display "$DISPLAY" "$TMP/screen.png"
  local w h x y
  IFS='x+' read -r w h x y <<<"$geometry"
  convert "$TMP/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$PICTURE"
  sleep 5
  echo "picture: $PICTURE"
}

check_window
check_links
[ -n "$PICTURE" ] && take_picture
if [ "$FAILED" = 0 ]; then echo "about window: all checks passed"; else echo "about window: FAILED"; fi
exit "$FAILED"
