#!/usr/bin/env bash
# The about window on its own under Wine: abouttest.exe's own checks (layout, modality),
# then the three links end to end (the prefix's handler for https addresses is pointed at
# abouttest.exe --record-link for the run and put back afterwards), and, with
# ZT_ABOUT_PICTURE=file.png, a picture of the window.
# Usage: test_about.sh <Zelvio dist folder> <testbin folder>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

EXE="$ZT_TESTBIN/abouttest.exe"
[ -f "$EXE" ] || zt_abort "no abouttest.exe in '$ZT_TESTBIN'"
HANDLER_KEY='HKCR\https\shell\open\command'
SAVED_HANDLER="$ZT_TMP/handler.reg"

restore_handler() {
  [ -f "$SAVED_HANDLER" ] || return 0
  wine reg import "$(zt_windows_path "$SAVED_HANDLER")" </dev/null >/dev/null 2>&1
  rm -f "$SAVED_HANDLER"
}

check_links() {
  local record="$ZT_TMP/links.txt" expected actual
  wine reg export "$HANDLER_KEY" "$(zt_windows_path "$SAVED_HANDLER")" /y </dev/null >/dev/null 2>&1
  wine reg add "$HANDLER_KEY" /ve /f \
    /d "\"$(zt_windows_path "$EXE")\" --record-link \"$(zt_windows_path "$record")\" \"%1\"" \
    </dev/null >/dev/null 2>&1
  zt_run_checks "abouttest.exe --click-links" "$ZT_TMP/links.log" timeout 120 wine "$EXE" --click-links
  for _ in $(seq 1 50); do
    [ -f "$record" ] && [ "$(wc -l <"$record")" -ge 3 ] && break
    sleep 0.2
  done
  restore_handler
  expected="$(printf '%s\n' https://zelvio.example.org/ https://zelvio.example.org/download \
    https://zelvio.example.org/donate | sort | paste -sd ' ')"
  actual="$(tr -d '\r' <"$record" 2>/dev/null | sort | paste -sd ' ')"
  zt_expect_eq "the three links opened their pages" "$expected" "$actual"
}

# abouttest.exe tells where the window is; the picture is the window alone.
take_picture() {
  if zh_about_picture "$EXE" "$ZT_ABOUT_PICTURE"; then
    echo "picture: $ZT_ABOUT_PICTURE"
  else
    zt_fail "the window showed for its picture"
  fi
}

zt_at_cleanup() { restore_handler; }
zt_run_checks "abouttest.exe" "$ZT_TMP/about.log" timeout 120 wine "$EXE"
check_links
[ -n "${ZT_ABOUT_PICTURE:-}" ] && take_picture
zt_finish
