#!/usr/bin/env bash
# Scaled displays: the program at 96, 144 (150 %) and 192 dots per inch (200 %), set as
# LogPixels in the test prefix, which Wine reports to every program (Wine treats every
# program as aware of the scale, so what Windows does to an unaware one cannot be seen here).
# At 96 the main window's layout is taken as the reference; at 144 and 192:
#   - the main window reports that dpi, and its layout is the 96-dpi one scaled: every
#     control inside its group, where its place scaled puts it, no caption clipped;
#   - the overlay frames the default region in screen pixels (864x480 at 528,300 on
#     1920x1080, whatever the scale), and a snapshot of a known picture there is that
#     picture, pixel for pixel;
#   - the about window's own checks pass at that scale;
#   - a stored window position is applied only when its "PixelsPerInch" is the current one;
#   - at 192, a move to a monitor of 96 dpi and back (WM_DPICHANGED): the window takes the
#     suggested rectangle and the layout of a window started at that dpi.
# Every page of the main window and the about window are photographed at each dpi; with
# ZT_DPI_PICTURES=<folder> the pictures are also copied there (docs/ holds a set).
# The prefix's LogPixels is put back as it was at the end, so the tests after this one run
# at the scale they expect.
# Usage: test_high_dpi.sh <Zelvio dist folder> <testbin folder>
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
zt_init "$@"

DPI_KEY='HKCU\Control Panel\Desktop'
ABOUT_EXE="$ZT_TESTBIN/abouttest.exe"
# A place no default placement comes near, stored with the settings.
STORED_LEFT=37
STORED_TOP=41

# The value before the test ("none" when the prefix had none), read once and kept in the
# shell rather than in the temp folder, so the clean-up puts it back whatever became of that.
SAVED_DPI=""
save_dpi() {
  local value
  value="$(wine reg query "$DPI_KEY" /v LogPixels </dev/null 2>/dev/null | tr -d '\r' | awk '$1 == "LogPixels" {print $3}')"
  SAVED_DPI="${value:-none}"
}

set_dpi() {
  wine reg add "$DPI_KEY" /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
}

restore_dpi() {
  [ -n "$SAVED_DPI" ] || return 0
  if [ "$SAVED_DPI" = none ]; then
    wine reg delete "$DPI_KEY" /v LogPixels /f </dev/null >/dev/null 2>&1
  else
    wine reg add "$DPI_KEY" /v LogPixels /t REG_DWORD /d "$((SAVED_DPI))" /f </dev/null >/dev/null 2>&1
  fi
  SAVED_DPI=""
}

zt_at_cleanup() { restore_dpi; }

# picture NAME: the main window as it shows now, cut from the screen.
picture() {
  local rect left top right bottom
  zt_drv window-info TFormMain
  rect="$(zt_field rect)"
  IFS=, read -r left top right bottom <<<"$rect"
  sleep 0.7
  import -window root -display "$DISPLAY" "$ZT_TMP/screen.png"
  convert "$ZT_TMP/screen.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$ZT_TMP/$1.png"
}

# Every page: the three pages of "Screen", then "Video", "Audio" and "General". Scaled, the
# window is too large to stay clear of the frame around the default region, so the frame is
# hidden while the pictures are taken and shown again after them.
photograph_pages() {
  local dpi="$1" page
  zt_act "frame hidden for the pictures" zt_drv show-window TFormMainCapturer hide
  zt_act "Screen tab" zt_drv select-tab PageControlOptions 0
  for page in 0 1 2; do
    zt_act "Screen page $page" zt_drv select-tab PageControlScreen "$page"
    picture "main-$dpi-screen$page"
  done
  zt_act "back to Dimension" zt_drv select-tab PageControlScreen 0
  for page in 1 2 3; do
    zt_act "options page $page" zt_drv select-tab PageControlOptions "$page"
    picture "main-$dpi-options$page"
  done
  zt_act "back to Screen" zt_drv select-tab PageControlOptions 0
  zt_act "frame shown again" zt_drv show-window TFormMainCapturer show
  convert "$ZT_TMP/main-$dpi-screen1.png" "$ZT_TMP/main-$dpi-screen2.png" "$ZT_TMP/main-$dpi-options1.png" \
    +append "$ZT_TMP/row1.png"
  convert "$ZT_TMP/main-$dpi-options2.png" "$ZT_TMP/main-$dpi-options3.png" +append "$ZT_TMP/row2.png"
  convert "$ZT_TMP/row1.png" "$ZT_TMP/row2.png" -background white -gravity west -append "$ZT_TMP/tabs-$dpi.png"
}

keep_pictures() {
  local dpi="$1"
  [ -n "${ZT_DPI_PICTURES:-}" ] || return 0
  mkdir -p "$ZT_DPI_PICTURES"
  cp "$ZT_TMP/main-$dpi-screen0.png" "$ZT_DPI_PICTURES/screenshot-main-${dpi}dpi.png"
  cp "$ZT_TMP/tabs-$dpi.png" "$ZT_DPI_PICTURES/screenshot-tabs-${dpi}dpi.png"
  [ -f "$ZT_TMP/about-$dpi.png" ] && cp "$ZT_TMP/about-$dpi.png" "$ZT_DPI_PICTURES/screenshot-about-${dpi}dpi.png"
  echo "pictures: $ZT_DPI_PICTURES/*-${dpi}dpi.png"
}

# A settings file with only a stored position, saved at `stored` pixels per inch.
write_position() {
  printf '[FormMain]\r\nPixelsPerInch=%s\r\nNormPos=%s,%s,%s,%s\r\n' "$1" "$STORED_LEFT" "$STORED_TOP" \
    "$((STORED_LEFT + 400))" "$((STORED_TOP + 400))" >"$ZT_SETTINGS"
}

check_position() {
  local dpi="$1" stored="$2" left top
  zt_drv window-info TFormMain
  IFS=, read -r left top _ <<<"$(zt_field rect)"
  if [ "$stored" = "$dpi" ]; then
    zt_expect_eq "$dpi dpi: a position stored at $stored pixels per inch is applied" \
      "$STORED_LEFT,$STORED_TOP" "$left,$top"
  elif [ "$left,$top" != "$STORED_LEFT,$STORED_TOP" ]; then
    zt_pass "$dpi dpi: a position stored at $stored pixels per inch is ignored"
  else
    zt_fail "$dpi dpi: a position stored at $stored pixels per inch is ignored" "window at $left,$top"
  fi
}

window_rect() {
  zt_drv window-info TFormMain
  zt_field rect
}

# What a move to a monitor of 96 dpi and back looks like to the window: WM_DPICHANGED with
# the rectangle Windows suggests, the client area at the new dpi in its frame. Wine draws
# every frame at the system's dpi, so the suggestion keeps the frame the window has now.
# The window must take that rectangle and lay itself out exactly as a window started at
# that dpi does.
dpi_round_trip() {
  local dpi="$1" here left top right bottom client_w client_h d_client_w d_client_h suggested96
  here="$(window_rect)"
  IFS=, read -r left top right bottom <<<"$here"
  IFS=, read -r _ _ client_w client_h <<<"$(sed -n 's/^client: //p' "$ZT_TMP/layout-$dpi.txt")"
  IFS=, read -r _ _ d_client_w d_client_h <<<"$(sed -n 's/^client: //p' "$ZT_TMP/layout-96.txt")"
  suggested96="$left,$top,$((right - client_w + d_client_w)),$((bottom - client_h + d_client_h))"
  zt_act "$dpi dpi: WM_DPICHANGED for 96" zt_drv dpi-changed 96 ${suggested96//,/ }
  zt_expect_eq "moved to 96 dpi: the window takes the suggested rectangle" "$suggested96" "$(window_rect)"
  if zt_drv layout 96; then
    printf '%s\n' "$ZT_OUT" >"$ZT_TMP/layout-$dpi-to-96.txt"
    zh_expect_same_file "moved to 96 dpi: the layout of a window started at 96, exactly" \
      "$ZT_TMP/layout-96.txt" "$ZT_TMP/layout-$dpi-to-96.txt"
  else
    zt_fail "moved to 96 dpi: layout read" "$(zt_error_text)"
  fi
  zt_act "96 dpi: WM_DPICHANGED for $dpi" zt_drv dpi-changed "$dpi" ${here//,/ }
  zt_expect_eq "back at $dpi dpi: the window takes the suggested rectangle" "$here" "$(window_rect)"
  if zt_drv layout "$dpi"; then
    printf '%s\n' "$ZT_OUT" >"$ZT_TMP/layout-back-$dpi.txt"
    zh_expect_same_file "back at $dpi dpi: the layout of a window started at $dpi, exactly" \
      "$ZT_TMP/layout-$dpi.txt" "$ZT_TMP/layout-back-$dpi.txt"
  else
    zt_fail "back at $dpi dpi: layout read" "$(zt_error_text)"
  fi
}

run_at() {
  local dpi="$1" stored="${2:-}"
  set_dpi "$dpi"
  rm -f "$ZT_SETTINGS" "$ZT_SHOTS"/*.bmp
  [ -n "$stored" ] && write_position "$stored"
  # Whatever the scale, the overlay frames the region in screen pixels.
  zh_start_ready "$ZH_DEFAULT_RECT" "$dpi dpi"
  zh_expect_no_box "$dpi dpi: no message box at start-up"
  [ -n "$stored" ] && check_position "$dpi" "$stored"
  if zt_drv layout; then
    printf '%s\n' "$ZT_OUT" >"$ZT_TMP/layout-$dpi.txt"
    zt_expect_field "$dpi dpi: Wine reports $dpi pixels per inch" dpi "$dpi"
  else
    zt_fail "$dpi dpi: layout read" "$(zt_error_text)"
  fi
  photograph_pages "$dpi"
  [ "$dpi" = 192 ] && dpi_round_trip "$dpi"
  if [ "$dpi" != 96 ]; then
    zt_run_checks "layout at $dpi dpi" "$ZT_TMP/layout-check-$dpi.log" \
      python3 "$ZH_LIB/check_layout.py" "$ZT_TMP/layout-96.txt" "$ZT_TMP/layout-$dpi.txt"
    zh_show_known_picture 15
    zt_act "$dpi dpi: Snapshot clicked" zt_drv click JvImgBtnSnapshot
    if zh_wait_files "$ZT_SHOTS" 'Screenshot_*.bmp' 1 10; then
      zh_expect_known_picture "$(find "$ZT_SHOTS" -maxdepth 1 -name 'Screenshot_*.bmp' | head -n 1)"
    else
      zt_fail "$dpi dpi: a snapshot is written" "none in $ZT_SHOTS"
    fi
  fi
  zh_close "$dpi dpi"
  if [ "$dpi" != 96 ]; then
    zt_run_checks "abouttest.exe at $dpi dpi" "$ZT_TMP/about-$dpi.log" timeout 120 wine "$ABOUT_EXE"
    zh_about_picture "$ABOUT_EXE" "$ZT_TMP/about-$dpi.png" || zt_fail "$dpi dpi: the about window showed for its picture"
  fi
  keep_pictures "$dpi"
}

[ -f "$ABOUT_EXE" ] || zt_abort "no abouttest.exe in '$ZT_TESTBIN'"
mkdir -p "$ZT_SHOTS"
save_dpi
run_at 96
run_at 144 144
run_at 192 144
zt_finish
