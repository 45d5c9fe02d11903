#!/usr/bin/env bash
# The one Wine session of the tests, benchmarks and demo run: an Xvfb display, a persistent
# wineserver for one prefix, the prefix itself and the test-only stand-in filters in it.
# A session joins what already runs and, at its end, stops only what it started itself.
#
# As a command:
#   scripts/wine-env.sh begin [:N]   joins or starts display :N (default :99), server, prefix
#   scripts/wine-env.sh end          stops what "begin" started (remembered in a state file)
#   scripts/wine-env.sh prefix       creates the prefix only (used by setup.sh)
#   scripts/wine-env.sh status [:N]
# As a library (source it):
#   wine_env_begin [:N]      the same as "begin"; the display is exported as DISPLAY
#   wine_env_end             ends what this shell's wine_env_begin started
#   wine_env_register_standins DLL   registers ZelvioTestFilters.dll (once per build of it)
#   wine_env_kill_in DIR     ends the Wine processes running from a folder, by pid
#
# WINEPREFIX defaults to <repo>/build/wineprefix. With DISPLAY unset, a session joins the
# display of a session begun by the command (so CTest's fixture serves every test), else :99.

WINE_ENV_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$WINE_ENV_REPO/build/wineprefix}"
export WINEARCH="${WINEARCH:-win64}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install prompts: nothing of ours needs them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
WINE_ENV_STATE_DIR="${WINE_ENV_STATE_DIR:-/tmp/zelvio-xvfb-state-$(id -u)}"
WINE_ENV_OWN_DISPLAY=""
WINE_ENV_OWN_SERVER=""

wine_env_display_number() {
  local display="${1:-:99}"
  display="${display#:}"
  echo "${display%%.*}"
}

# True when an X server answers on the display, whoever started it.
wine_env_display_alive() {
  xdpyinfo -display ":$(wine_env_display_number "$1")" >/dev/null 2>&1
}

# Starts Xvfb on the display unless one answers there; prints the pid of one it started.
wine_env_start_display() {
  local n pid
  n="$(wine_env_display_number "$1")"
  wine_env_display_alive ":$n" && return 0
  mkdir -p "$WINE_ENV_STATE_DIR"
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp </dev/null >"$WINE_ENV_STATE_DIR/xvfb-$n.log" 2>&1 &
  pid=$!
  for _ in $(seq 1 100); do
    if wine_env_display_alive ":$n"; then
      echo "$pid"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "wine-env: Xvfb :$n did not come up (see $WINE_ENV_STATE_DIR/xvfb-$n.log)" >&2
  return 1
}

# Ends a process by pid if it still runs the named program: politely, then for good.
wine_env_stop_pid() {
  local pid="$1" name="$2"
  [ -n "$pid" ] || return 0
  case "$(ps -o comm= -p "$pid" 2>/dev/null)" in
    "$name"*) ;;
    *) return 0 ;;
  esac
  kill "$pid" 2>/dev/null
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  return 0
}

# Pid of the wineserver serving the prefix (its working folder is the prefix's server folder).
wine_env_server_pid() {
  [ -d "$WINEPREFIX" ] || return 1
  local folder pid
  folder="server-$(stat -c %D "$WINEPREFIX")-$(printf '%x' "$(stat -c %i "$WINEPREFIX")")"
  for pid in $(pgrep -x wineserver64; pgrep -x wineserver); do
    case "$(readlink "/proc/$pid/cwd" 2>/dev/null)" in
      */"$folder")
        echo "$pid"
        return 0
        ;;
    esac
  done
  return 1
}

wine_env_server_alive() {
  wine_env_server_pid >/dev/null
}

# The first Wine client of a prefix spawns the server and its helper processes, which
# inherit that client's standard handles; starting the server ourselves with every stream
# on /dev/null keeps a test's output files and pipes free of them.
wine_env_start_server() {
  mkdir -p "$WINEPREFIX"
  # wineserver forks into the background itself; a second start for the same prefix
  # just fails, which is what "already running" should do here.
  wineserver -p </dev/null >/dev/null 2>&1 || true
}

# Ends the prefix's server, and with it every Wine process of the prefix, if it is still
# the server with the given pid.
wine_env_stop_server() {
  local pid="$1"
  [ -n "$pid" ] && [ "$(wine_env_server_pid)" = "$pid" ] || return 0
  wineserver -k </dev/null >/dev/null 2>&1 || true
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 0
}

# wineboot writes .update-timestamp once it has set the prefix up; system.reg itself only
# appears when the server next saves the registry, which a persistent server may delay.
wine_env_prefix_ready() {
  [ -f "$WINEPREFIX/system.reg" ] || [ -f "$WINEPREFIX/.update-timestamp" ]
}

wine_env_ensure_prefix() {
  wine_env_prefix_ready && return 0
  mkdir -p "$WINEPREFIX"
  echo "wine-env: creating Wine prefix $WINEPREFIX (takes a while once)" >&2
  wine_env_start_server
  wine wineboot -i </dev/null >"$WINEPREFIX.boot.log" 2>&1 || true
  # The services wineboot started may still be starting; a program that asks for one of
  # them right away can end up with a second services.exe and hang. A clean restart of
  # the server after the first boot avoids that race.
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
  wine_env_start_server
  wine_env_prefix_ready && return 0
  echo "wine-env: wineboot failed (see $WINEPREFIX.boot.log)" >&2
  return 1
}

# A crashing program would otherwise wait behind Wine's crash dialog until someone closes
# it; without the dialog it ends at once and the test sees its exit code.
wine_env_quiet_crashes() {
  local marker="$WINEPREFIX/.crash-dialog-off"
  [ -f "$marker" ] && return 0
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    </dev/null >"$WINEPREFIX.reg.log" 2>&1 || return 1
  touch "$marker"
}

# The registry entries only change when the DLL or the registering script changes.
wine_env_register_standins() {
  local dll="$1" script="$WINE_ENV_REPO/tests/wine/standins/register.sh" marker="$WINEPREFIX/.standins" stamp
  [ -f "$dll" ] || { echo "wine-env: no stand-in DLL at $dll" >&2; return 1; }
  stamp="$dll $(stat -c %Y "$dll" "$script" | paste -sd ' ')"
  [ "$(cat "$marker" 2>/dev/null)" = "$stamp" ] && return 0
  bash "$script" "$WINEPREFIX" "$dll" >"$WINEPREFIX.standins.log" 2>&1 \
    || { cat "$WINEPREFIX.standins.log" >&2; return 1; }
  echo "$stamp" >"$marker"
}

# Unix pids of the Wine processes whose current directory lies in the given folder. A Wine
# process keeps its Windows current directory as its Unix one, so programs started from a
# private copy of the shipped folder are found, and nothing else is.
wine_env_pids_in() {
  local dir="$1" pid cwd
  [ -n "$dir" ] || return 0
  for pid in /proc/[0-9]*; do
    pid="${pid#/proc/}"
    [ "$pid" = "$$" ] && continue
    cwd="$(readlink "/proc/$pid/cwd" 2>/dev/null)" || continue
    case "$cwd" in
      "$dir" | "$dir"/*) ;;
      *) continue ;;
    esac
    case "$(readlink "/proc/$pid/exe" 2>/dev/null)" in
      */wine*) echo "$pid" ;;
    esac
  done
}

# Ends those processes by pid: politely, then for good.
wine_env_kill_in() {
  local pids pid
  pids="$(wine_env_pids_in "$1")"
  [ -n "$pids" ] || return 0
  for pid in $pids; do kill "$pid" 2>/dev/null; done
  sleep 0.5
  for pid in $pids; do kill -9 "$pid" 2>/dev/null; done
  return 0
}

wine_env_session_file() {
  echo "$WINE_ENV_STATE_DIR/session-$(echo "$WINEPREFIX" | md5sum | cut -c 1-12)"
}

# Joins the running session or starts what is missing; remembers what it started.
wine_env_begin() {
  local display pid
  display="${DISPLAY:-$(wine_env_session_value display)}"
  DISPLAY=":$(wine_env_display_number "${display:-${1:-:99}}")"
  export DISPLAY
  pid="$(wine_env_start_display "$DISPLAY")" || return 1
  WINE_ENV_OWN_DISPLAY="$pid"
  if ! wine_env_server_alive; then
    wine_env_start_server
    WINE_ENV_OWN_SERVER="$(wine_env_server_pid)"
  fi
  wine_env_ensure_prefix || return 1
  # A first boot restarts the server: the one to end later is the one serving now.
  [ -n "$WINE_ENV_OWN_SERVER" ] && WINE_ENV_OWN_SERVER="$(wine_env_server_pid)"
  wine_env_quiet_crashes
  return 0
}

wine_env_end() {
  wine_env_stop_server "$WINE_ENV_OWN_SERVER"
  wine_env_stop_pid "$WINE_ENV_OWN_DISPLAY" Xvfb
  WINE_ENV_OWN_SERVER=""
  WINE_ENV_OWN_DISPLAY=""
}

wine_env_status() {
  local display state
  display=":$(wine_env_display_number "$1")"
  state=running
  wine_env_display_alive "$display" || state="not running"
  echo "display $display: $state"
  state=running
  wine_env_server_alive || state="not running"
  echo "wineserver for $WINEPREFIX: $state"
  state=ready
  wine_env_prefix_ready || state=missing
  echo "prefix $WINEPREFIX: $state"
}

# A value of the session file written by "begin".
wine_env_session_value() {
  sed -n "s/^$1=//p" "$(wine_env_session_file)" 2>/dev/null
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  case "${1:-}" in
    begin)
      # A session begun earlier and not ended keeps what it owns.
      own_display="$(wine_env_session_value own_display)"
      own_server="$(wine_env_session_value own_server)"
      [ -n "${2:-}" ] && export DISPLAY="$2"
      wine_env_begin "${2:-:99}" || exit 1
      mkdir -p "$WINE_ENV_STATE_DIR"
      printf 'display=%s\nown_display=%s\nown_server=%s\n' "$DISPLAY" \
        "${WINE_ENV_OWN_DISPLAY:-$own_display}" "${WINE_ENV_OWN_SERVER:-$own_server}" >"$(wine_env_session_file)"
      echo "wine session on $DISPLAY, prefix $WINEPREFIX"
      ;;
    end)
      WINE_ENV_OWN_DISPLAY="$(wine_env_session_value own_display)"
      WINE_ENV_OWN_SERVER="$(wine_env_session_value own_server)"
      rm -f "$(wine_env_session_file)"
      wine_env_end
      ;;
    prefix)
      # The server the creation needed ends with it, unless it served the prefix before.
      wine_env_server_alive && had_server=1 || had_server=""
      wine_env_ensure_prefix
      rc=$?
      [ -n "$had_server" ] || wine_env_stop_server "$(wine_env_server_pid)"
      exit $rc
      ;;
    status) wine_env_status "${2:-${DISPLAY:-:99}}" ;;
    *)
      echo "usage: $0 begin [:N] | end | prefix | status [:N]" >&2
      exit 2
      ;;
  esac
fi
