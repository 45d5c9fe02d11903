# Shared by the desktop-side end-to-end tests (settings, region, snapshot, hotkeys, tray,
# transparency, about), sourced after tests/wine/lib/common.sh:
#
#   zh_start_ready RECT WHAT    starts Zelvio.exe and waits until start-up is complete (the
#                               overlay has its rectangle, RECT, which the last start-up step
#                               announces); ends the test when the main window never comes
#   zh_close WHAT               regular close: no box, the program ends with exit code 0
#   zh_overlay_rect W H X Y     the overlay window's rectangle for that region (grown by 8)
#   zh_start_helper NAME ARGS   runs NAME.exe of testbin in the background, from the test's
#                               temp folder (so the clean-up ends it); output in NAME.out
#   zh_desk SUB ARGS            the same for "zdesk SUB ARGS" (the test picture, the clock,
#                               layered windows, a hotkey holder); output in SUB.out
#   zh_desk_run SUB ARGS        runs "zdesk SUB ARGS" to its end; its output in $ZH_OUT
#   zh_ini_value FILE KEY       a value of settings.ini, without its CR
#   zh_count_files DIR GLOB     how many files match
#   zh_wait_files DIR GLOB N S  waits up to S seconds for N matching files

ZH_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ZH_OUT=""

zh_overlay_rect() {
  echo "$(($3 - 8)),$(($4 - 8)),$(($3 + $1 + 8)),$(($4 + $2 + 8))"
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

zh_desk_run() {
  local name="$1" rc exe
  exe="$(zh_helper_path zdesk)"
  (cd "$ZT_TMP" && timeout 60 wine "$exe" "$@" </dev/null >"$ZT_TMP/$name.out" 2>"$ZT_TMP/$name.err")
  rc=$?
  ZH_OUT="$(tr -d '\r' <"$ZT_TMP/$name.out")"
  return $rc
}

zh_ini_value() {
  sed -n "s/^$2=//p" "$1" | tr -d '\r' | tail -n 1
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
