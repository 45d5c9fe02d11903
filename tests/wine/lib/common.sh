# shellcheck shell=bash
# Shared by the end-to-end tests under Wine. A test sources this file and then:
#
#   zt_init "$@"            dist folder and testbin folder from the command line; starts what
#                           is missing (Xvfb, wineserver, prefix); copies the dist folder into
#                           a fresh temp folder ($ZT_APP, named $ZT_APP_NAME when the test
#                           sets it, else Zelvio), so every test starts without
#                           settings.ini ($ZT_SETTINGS); $ZT_SHOTS and $ZT_CASTS are its
#                           default output folders
#   zt_start_zelvio         starts Zelvio.exe from the copy, in the background
#   zt_drv CMD ARGS...      runs zdriver.exe; its output is in $ZT_OUT, its exit code returned
#   zt_check / zt_expect_eq / zt_expect_match / zt_expect_field / zt_skip
#                           print and count results
#   zt_act                  an action: fails the test when it goes wrong, counts no pass
#   zt_finish               cleans up and prints the last line, "N passed, N failed"
#
#   zt_run_checks WHAT LOG CMD...  runs a check program of ours, adds up its PASS/FAIL/SKIP lines
#
# The Wine session (display, server, prefix, stand-in filters) comes from scripts/wine-env.sh:
# a test joins the running one, or starts what is missing and stops it again at the end.
# ZT_KEEP=1 keeps the temp folder.

ZT_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
# shellcheck source=../../../scripts/wine-env.sh
source "$ZT_REPO/scripts/wine-env.sh"
ZT_PASSED=0
ZT_FAILED=0
ZT_SKIPPED=0
ZT_OUT=""
ZT_TMP=""
ZT_FINISHED=0
# Exit code CTest reads as "skipped" (SKIP_RETURN_CODE in tests/wine/CMakeLists.txt).
ZT_SKIP_CODE=77
ZT_DRIVER_LIMIT_S="${ZT_DRIVER_LIMIT_S:-90}"

# --- results -------------------------------------------------------------------------------

zt_pass() {
  ZT_PASSED=$((ZT_PASSED + 1))
  echo "PASS: $1"
}

zt_fail() {
  ZT_FAILED=$((ZT_FAILED + 1))
  echo "FAIL: $1${2:+ ($2)}"
}

# A check that could not be made counts as neither passed nor failed.
zt_skip() {
  ZT_SKIPPED=$((ZT_SKIPPED + 1))
  echo "SKIP: $1${2:+ ($2)}"
}

# zt_run_checks "what" LOG CMD...: runs a check program whose output goes to LOG (a file,
# never a pipe), prints its result and "# " note lines and counts the results as this test's
# own. Check programs of every language print "PASS: ", "FAIL: " and "SKIP: " lines and end
# with "N passed, N failed".
zt_run_checks() {
  local what="$1" log="$2" rc summary="" line
  shift 2
  "$@" </dev/null >"$log" 2>&1
  rc=$?
  while IFS= read -r line; do
    case "$line" in
      "PASS: "*) ZT_PASSED=$((ZT_PASSED + 1)) ;;
      "FAIL: "*) ZT_FAILED=$((ZT_FAILED + 1)) ;;
      "SKIP: "*) ZT_SKIPPED=$((ZT_SKIPPED + 1)) ;;
      "# "*) ;;
      *" passed, "*" failed") summary="$line"; continue ;;
      *) continue ;;
    esac
    echo "$line"
  done < <(tr -d '\r' <"$log")
  if [ -z "$summary" ]; then
    zt_fail "$what ran to the end" "exit code $rc, no summary line; see $log"
  elif [ "$rc" != 0 ] && [ "${summary#*, }" = "0 failed" ]; then
    zt_fail "$what exit code" "$rc"
  fi
}

# zt_check "what" command...: passes when the command succeeds; a failed driver command
# reports the driver's error.
zt_check() {
  local what="$1"
  shift
  if "$@"; then
    zt_pass "$what"
    return 0
  fi
  if [ "$1" = zt_drv ]; then
    zt_fail "$what" "$(zt_error_text)"
  else
    zt_fail "$what"
  fi
  return 1
}

# zt_act "what" command...: something a test does (a click, a posted message, a key). A
# failure counts as a failed check; success counts nothing, since only what the action
# caused is checked.
zt_act() {
  local what="$1"
  shift
  "$@" && return 0
  if [ "$1" = zt_drv ]; then
    zt_fail "$what" "$(zt_error_text)"
  else
    zt_fail "$what"
  fi
  return 1
}

zt_expect_eq() {
  local what="$1" expected="$2" actual="$3"
  if [ "$expected" = "$actual" ]; then
    zt_pass "$what"
    return 0
  fi
  zt_fail "$what" "expected '$expected', got '$actual'"
  return 1
}

# zt_expect_match "what" PATTERN TEXT: TEXT matches the shell pattern (e.g. "Error*",
# "*seconds*").
zt_expect_match() {
  # shellcheck disable=SC2053
  if [[ "$3" == $2 ]]; then
    zt_pass "$1"
    return 0
  fi
  zt_fail "$1" "'$3' does not match '$2'"
  return 1
}

# --- driver --------------------------------------------------------------------------------

# Runs the driver; output goes to a file (never a pipe: a Wine client may hand its handles to
# long-lived helpers) and is then kept in $ZT_OUT.
zt_drv() {
  local out="$ZT_TMP/driver.out" rc
  timeout "$ZT_DRIVER_LIMIT_S" wine "$ZT_DRIVER" "$@" </dev/null >"$out" 2>"$ZT_TMP/driver.err"
  rc=$?
  ZT_OUT="$(tr -d '\r' <"$out")"
  {
    echo "\$ zdriver $* -> $rc"
    echo "$ZT_OUT"
    # A call that failed without a word of its own was most likely refused by Wine itself
    # (loader or server); what Wine said is all there is to go on.
    [ "$rc" != 0 ] && [ -z "$ZT_OUT" ] && sed 's/^/stderr: /' "$ZT_TMP/driver.err"
  } >>"$ZT_TMP/driver.log"
  return $rc
}

# Value of "key: value" in the last driver output (first match).
zt_field() {
  printf '%s\n' "$ZT_OUT" | sed -n "s/^$1: //p" | head -n 1
}

zt_error_text() {
  local text said
  text="$(zt_field error)"
  said="$(tr -d '\r' <"$ZT_TMP/driver.err" 2>/dev/null | grep -v '^$' | head -n 2 | tr '\n' ' ')"
  [ -z "$text" ] && [ -n "$said" ] && text="no output; stderr: $said"
  echo "${text:-no output}"
}

# zt_expect_field "what" key expected: compares a field of the last driver output.
zt_expect_field() {
  zt_expect_eq "$1" "$3" "$(zt_field "$2")"
}

# zt_expect_control name key expected [what]: reads the control and compares one field.
zt_expect_control() {
  local name="$1" key="$2" expected="$3" what="${4:-$1 $2}"
  if ! zt_drv control "$name"; then
    zt_fail "$what" "$(zt_error_text)"
    return 1
  fi
  zt_expect_field "$what" "$key" "$expected"
}

# zt_wait_field seconds key expected CMD ARGS...: repeats the driver command until the
# field has the expected value; leaves the last output in $ZT_OUT.
zt_wait_field() {
  local seconds="$1" key="$2" expected="$3" end
  shift 3
  end=$((SECONDS + seconds))
  while :; do
    if zt_drv "$@" && [ "$(zt_field "$key")" = "$expected" ]; then
      return 0
    fi
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.3
  done
}

# --- the program under test ----------------------------------------------------------------

zt_windows_path() {
  echo "Z:$1" | tr '/' '\\'
}

zt_start_zelvio() {
  rm -f "$ZT_TMP/zelvio.rc"
  # The subshell records the exit code so a test can tell that the program ended, and how.
  (
    cd "$ZT_APP" || exit 1
    wine Zelvio.exe </dev/null >"$ZT_TMP/zelvio.log" 2>&1
    echo $? >"$ZT_TMP/zelvio.rc"
  ) &
  # Killed at clean-up if it hangs; the shell need not announce that.
  disown
}

# zt_wait_zelvio_exit seconds: true once Zelvio.exe has ended; its exit code in $ZT_EXIT_CODE.
zt_wait_zelvio_exit() {
  local end=$((SECONDS + $1))
  ZT_EXIT_CODE=""
  while [ ! -s "$ZT_TMP/zelvio.rc" ]; do
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.2
  done
  ZT_EXIT_CODE="$(cat "$ZT_TMP/zelvio.rc")"
  return 0
}

# Wine's report of a crash of the program, if it crashed.
zt_crash_text() {
  grep -m 1 -a 'Unhandled' "$ZT_TMP/zelvio.log" 2>/dev/null | tr -d '\r'
}

# zt_expect_clean_exit seconds: Zelvio.exe ends on its own, with exit code 0.
zt_expect_clean_exit() {
  local crash
  if ! zt_wait_zelvio_exit "$1"; then
    crash="$(zt_crash_text)"
    zt_fail "Zelvio.exe exits" "still running after $1 s${crash:+; $crash}"
    return 1
  fi
  if [ "$ZT_EXIT_CODE" = 0 ]; then
    zt_pass "Zelvio.exe exits with code 0"
    return 0
  fi
  crash="$(zt_crash_text)"
  zt_fail "Zelvio.exe exits with code 0" "exit code $ZT_EXIT_CODE${crash:+; $crash}"
  return 1
}

# Every program of the copy runs with the copy as its current directory.
zt_kill_own_processes() {
  [ -n "$ZT_TMP" ] || return 0
  wine_env_kill_in "$ZT_TMP"
}

# --- set-up and tear-down ------------------------------------------------------------------

zt_abort() {
  echo "FAIL: $1"
  ZT_FAILED=$((ZT_FAILED + 1))
  zt_finish
}

zt_init() {
  ZT_DIST="${1:-}"
  ZT_TESTBIN="${2:-}"
  ZT_DRIVER="$ZT_TESTBIN/zdriver.exe"
  [ -f "$ZT_DIST/Zelvio.exe" ] || zt_abort "no Zelvio.exe in '$ZT_DIST'"
  [ -f "$ZT_DRIVER" ] || zt_abort "no zdriver.exe in '$ZT_TESTBIN'"
  trap zt_cleanup EXIT
  trap 'zt_abort "interrupted"' INT TERM
  wine_env_begin || zt_abort "no Wine session (display $DISPLAY, prefix $WINEPREFIX)"
  wine_env_register_standins "$ZT_TESTBIN/ZelvioTestFilters.dll" || zt_abort "test filters registered"
  ZT_TMP="$(mktemp -d /tmp/zelvio-wine-XXXXXX)"
  # A test may name the copy's folder itself (ZT_APP_NAME), to run the program from a folder
  # whose name needs more than the ANSI code page.
  ZT_APP="$ZT_TMP/${ZT_APP_NAME:-Zelvio}"
  cp -r "$ZT_DIST" "$ZT_APP"
  rm -f "$ZT_APP/settings.ini"
  ZT_APP_WIN="$(zt_windows_path "$ZT_APP")"
  # The tests that source this file read these three.
  # shellcheck disable=SC2034
  ZT_SETTINGS="$ZT_APP/settings.ini"
  # shellcheck disable=SC2034
  ZT_SHOTS="$ZT_APP/Output/Screenshots"
  # shellcheck disable=SC2034
  ZT_CASTS="$ZT_APP/Output/Screencasts"
  echo "test folder: $ZT_APP ($ZT_APP_WIN)"
}

ZT_CLEANED=0

zt_cleanup() {
  [ "$ZT_CLEANED" = 1 ] && return 0
  ZT_CLEANED=1
  # A test that changed the prefix defines zt_at_cleanup to put it back while Wine still runs.
  declare -F zt_at_cleanup >/dev/null && zt_at_cleanup
  zt_kill_own_processes
  wine_env_end
  [ -n "$ZT_TMP" ] || return 0
  if [ "$ZT_FAILED" -gt 0 ] || [ "${ZT_KEEP:-0}" = 1 ]; then
    echo "kept for inspection: $ZT_TMP (driver.log, zelvio.log)"
  else
    rm -rf "$ZT_TMP"
  fi
}

# Ends the test: clean up first so the summary is the last line. A test in which every
# check was skipped exits with the code CTest reads as skipped.
zt_finish() {
  [ "$ZT_FINISHED" = 1 ] && exit 1
  ZT_FINISHED=1
  zt_cleanup
  echo "$ZT_PASSED passed, $ZT_FAILED failed"
  if [ "$ZT_FAILED" -gt 0 ]; then
    exit 1
  fi
  if [ "$ZT_PASSED" -eq 0 ] && [ "$ZT_SKIPPED" -gt 0 ]; then
    exit "$ZT_SKIP_CODE"
  fi
  exit 0
}

# shellcheck source=desktop.sh
source "$ZT_REPO/tests/wine/lib/desktop.sh"
