# shellcheck shell=bash
# Shared by the end-to-end tests that run the program; tests/wine/lib/common.sh sources it:
#
#   ZH_DEFAULT_RECT             the overlay's rectangle for the default region
#   ZH_FRAME_X, ZH_FRAME_Y      a point on that rectangle's frame
#   zh_act WHAT DRIVER-ARGS     an action the program must accept and handle (handled: 1)
#   zh_expect_no_box WHAT       no message box comes up within 1.5 s (any that does is closed)
#   zh_expect_pixel WHAT X Y C  the screen pixel turns colour C within 5 s
#   zh_expect_same_file WHAT EXPECTED ACTUAL   byte for byte, else the differences are shown
#   zh_choose_compressor WHAT   Video tab, compressor 0 chosen, no box
#   zh_show_known_picture [S [X Y W H]]  zdesk's known picture exactly under the region
#                               (default: the default region), with the overlay's frame
#                               around it, for S seconds (default 120)
#   zh_expect_known_picture BMP [W H]    the bitmap is that picture, W x H (default 864x480),
#                               32 bits, every pixel
#
#   zh_start_ready RECT WHAT    starts Zelvio.exe and waits until start-up is complete (the
#                               overlay has its rectangle, RECT, which the last start-up step
#                               announces); ends the test when the main window never comes
#   zh_close WHAT               regular close: no box, the program ends with exit code 0
#   zh_main_state WHAT ICONIC VISIBLE TOOL   waits up to 15 s for the program to settle
#                               there, then checks it: the application window (the taskbar
#                               button's) iconic, the main window visible, the application
#                               window a tool window (off the taskbar, in the tray)
#   zh_overlay_rect W H X Y     the overlay window's rectangle for that region (grown by 8)
#   zh_start_helper NAME ARGS   runs NAME.exe of testbin in the background, from the test's
#                               temp folder (so the clean-up ends it); output in NAME.out
#   zh_desk SUB ARGS            the same for "zdesk SUB ARGS" (the test picture, the clock,
#                               layered windows, a hotkey holder); output in SUB.out
#   zh_desk_run SUB ARGS        runs "zdesk SUB ARGS" to its end; its output in $ZH_OUT
#   zh_about_picture EXE PNG    abouttest.exe EXE shows the about window for a few seconds
#                               (--hold); PNG is that window cut from the screen; returns 1
#                               when the window never showed; waits until it has closed
#   zh_ini_value FILE KEY       a value of settings.ini, without its CR
#   zh_set_ini_value FILE KEY VALUE   rewrites that line, keeping its CR LF
#   zh_count_files DIR GLOB     how many files match
#   zh_wait_files DIR GLOB N S  waits up to S seconds for N matching files

# The readers of recorded files and bitmaps live beside this file.
ZH_LIB="$ZT_REPO/tests/wine/lib"
ZH_OUT=""

zh_overlay_rect() {
  echo "$(($3 - 8)),$(($4 - 8)),$(($3 + $1 + 8)),$(($4 + $2 + 8))"
}

# shellcheck disable=SC2034 # read by the tests that source this file
ZH_DEFAULT_RECT="$(zh_overlay_rect 864 480 528 300)"
# A point on the overlay's frame around the default region.
# shellcheck disable=SC2034
ZH_FRAME_X=524
# shellcheck disable=SC2034
ZH_FRAME_Y=296

zh_act() {
  local what="$1"
  shift
  if zt_drv "$@" && [ "$(zt_field handled)" = 1 ]; then
    return 0
  fi
  zt_fail "$what" "$(zt_error_text)"
  return 1
}

zh_expect_no_box() {
  zt_drv messageboxes-dismiss-all 1500
  zt_expect_eq "$1" 0 "$(zt_field dismissed)"
}

zh_expect_pixel() {
  local what="$1" x="$2" y="$3" colour="$4"
  if zt_wait_field 5 color "$colour" pixel "$x" "$y"; then
    zt_pass "$what"
  else
    zt_fail "$what" "pixel $x,$y is $(zt_field color), expected $colour"
  fi
}

zh_expect_same_file() {
  if cmp -s "$2" "$3"; then
    zt_pass "$1"
    return 0
  fi
  zt_fail "$1" "differences below"
  diff "$2" "$3" | tr -d '\r' | head -n 40
  return 1
}

zh_choose_compressor() {
  zt_act "$1: Video tab" zt_drv select-tab PageControlOptions 1
  zt_act "$1: compressor 0 chosen" zt_drv select ComboBoxVideoCompressors 0
  zh_expect_no_box "$1: no box after choosing the compressor"
}

# Colour of the known picture at (x, y), per zdesk's picture, as RRGGBB.
zh_picture_colour() {
  printf '%02X%02X%02X' $(($1 & 255)) $(($2 & 255)) $(((17 + 5 * ($1 >> 8) + 41 * ($2 >> 8)) & 255))
}

zh_show_known_picture() {
  local x="${2:-528}" y="${3:-300}" w="${4:-864}" h="${5:-480}" px py
  zh_desk picture "$x" "$y" "$w" "$h" "${1:-120}"
  zt_check "picture window opens" zt_drv wait-window ZelvioTestPicture - 20000 || zt_finish
  # A point well inside: (300,200), or the centre of a smaller picture.
  px=$((w > 300 ? 300 : w / 2))
  py=$((h > 200 ? 200 : h / 2))
  if zt_wait_field 10 color "$(zh_picture_colour "$px" "$py")" pixel $((x + px)) $((y + py)); then
    zt_pass "the picture shows on the screen under the region"
  else
    zt_fail "the picture shows on the screen under the region" "pixel $(zt_field color)"
  fi
  # The frame is on the screen right beside the region, so its absence from a snapshot
  # shows that the copy left it out.
  zt_drv pixel $((x - 4)) $((y - 4))
  zt_expect_field "the overlay's frame shows around the region" color "00FF00"
}

zh_expect_known_picture() {
  local file="$1" facts
  facts="$(python3 "$ZH_LIB/check_bitmap.py" "$file" --picture)"
  field_of() { printf '%s\n' "$facts" | sed -n "s/^$1: //p"; }
  zt_expect_eq "bitmap is ${2:-864}x${3:-480}" "${2:-864}x${3:-480}" "$(field_of size)"
  zt_expect_eq "bitmap has 32 bits per pixel, uncompressed" "32 0" "$(field_of bpp) $(field_of compression)"
  zt_expect_eq "bitmap header size field matches the file" "$(field_of file_size)" "$(field_of file_size_field)"
  if [ "$(field_of mismatches)" = 0 ]; then
    zt_pass "every pixel is the drawn picture, edges included (no frame)"
  else
    zt_fail "every pixel is the drawn picture, edges included (no frame)" \
      "$(field_of mismatches) pixels differ; first: $(field_of first_mismatch)"
  fi
}

zh_start_ready() {
  local rect="$1" what="$2"
  zt_start_zelvio
  zt_check "$what: main window appears" zt_drv wait-window TFormMain - 60000 || zt_finish
  if zt_wait_field 30 rect "$rect" window-info TFormMainCapturer; then
    zt_pass "$what: overlay frames $rect"
  else
    zt_fail "$what: overlay frames $rect" "rect '$(zt_field rect)' $(zt_field error)"
  fi
}

# The program must end by itself after the close request, without any box on the way.
zh_close() {
  local what="$1"
  zt_act "$what: close request posted" zt_drv close-main
  zt_drv messageboxes-dismiss-all 1500
  zt_expect_eq "$what: no message box at close" 0 "$(zt_field dismissed)"
  zt_expect_clean_exit 30
}

# Adding the tray icon takes Wine's shell a second or more, longer under load.
zh_main_state() {
  local what="$1" iconic="$2" visible="$3" tool="$4" end=$((SECONDS + 15)) got shown
  while :; do
    got=""
    if zt_drv window-exstyle TFormMain; then
      shown="$(zt_field visible)"
      zt_drv window-exstyle TApplication Zelvio && got="$(zt_field iconic) $shown $(zt_field toolwindow)"
    fi
    [ "$got" = "$iconic $visible $tool" ] && break
    [ "$SECONDS" -ge "$end" ] && break
    sleep 0.2
  done
  zt_expect_eq "$what (iconic visible toolwindow)" "$iconic $visible $tool" "$got"
}

# Helpers run from the temp folder, so the testbin folder is made absolute first.
zh_helper_path() {
  echo "$(cd "$ZT_TESTBIN" && pwd)/$1.exe"
}

# zh_spawn OUT PROGRAM ARGS: PROGRAM.exe of testbin in the background, output in OUT.out.
zh_spawn() {
  local out="$1" exe
  exe="$(zh_helper_path "$2")"
  shift 2
  (
    cd "$ZT_TMP" || exit 1
    exec wine "$exe" "$@" </dev/null >"$ZT_TMP/$out.out" 2>"$ZT_TMP/$out.err"
  ) &
  disown
}

zh_start_helper() {
  zh_spawn "$1" "$@"
}

zh_desk() {
  zh_spawn "$1" zdesk "$@"
}

# Lets a measuring prop (the clock window) keep its pace when the cores are busy: every
# thread of the Wine process whose command line holds PATTERN gets a nice value of -10. A
# clock picture redrawn late looks like a late grab, and a busy loop per core starves a
# nice-0 window for tens of milliseconds. Only the prop is raised: Zelvio, the wineserver
# and the X server keep their share. Without the right to raise priorities nothing changes.
zh_favour() {
  local pattern="$1" pid task
  for pid in $(pgrep -f "$pattern"); do
    for task in /proc/"$pid"/task/*; do
      renice -n -10 -p "${task##*/}" >/dev/null 2>&1
    done
  done
}

zh_desk_run() {
  local name="$1" rc exe
  exe="$(zh_helper_path zdesk)"
  (cd "$ZT_TMP" && timeout 60 wine "$exe" "$@" </dev/null >"$ZT_TMP/$name.out" 2>"$ZT_TMP/$name.err")
  rc=$?
  # shellcheck disable=SC2034 # read by the tests that source this file
  ZH_OUT="$(tr -d '\r' <"$ZT_TMP/$name.out")"
  return $rc
}

zh_about_picture() {
  local exe="$1" png="$2" geometry="" w h x y pid
  # The window tells where it is half-way through the hold and closes at its end.
  timeout 60 wine "$exe" --hold 6000 </dev/null >"$ZT_TMP/hold.out" 2>&1 &
  pid=$!
  for _ in $(seq 1 50); do
    geometry="$(tr -d '\r' <"$ZT_TMP/hold.out" 2>/dev/null | sed -n 's/^window: //p')"
    [ -n "$geometry" ] && break
    sleep 0.2
  done
  if [ -n "$geometry" ]; then
    sleep 1
    import -window root -display "$DISPLAY" "$ZT_TMP/screen.png"
    IFS='x+' read -r w h x y <<<"$geometry"
    convert "$ZT_TMP/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$png"
  fi
  wait "$pid" 2>/dev/null
  [ -n "$geometry" ]
}

zh_ini_value() {
  sed -n "s/^$2=//p" "$1" | tr -d '\r' | tail -n 1
}

zh_set_ini_value() {
  sed -i "s|^$2=.*\$|$2=$3\r|" "$1"
}

zh_count_files() {
  local dir="$1" glob="$2"
  find "$dir" -maxdepth 1 -type f -name "$glob" 2>/dev/null | wc -l
}

zh_wait_files() {
  local dir="$1" glob="$2" count="$3" end=$((SECONDS + $4))
  while [ "$(zh_count_files "$dir" "$glob")" -lt "$count" ]; do
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.2
  done
  return 0
}
