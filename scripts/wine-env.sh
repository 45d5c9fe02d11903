#!/usr/bin/env bash
# The Wine test environment: an Xvfb display, a persistent wineserver for one prefix, and
# the prefix itself. Every step is idempotent: what already runs is left running.
#
# As a command:
#   scripts/wine-env.sh start [:N]    display :N (default :99), server, prefix
#   scripts/wine-env.sh stop  [:N]    wineserver -k for the prefix, then the Xvfb we started
#   scripts/wine-env.sh status [:N]
# As a library (source it):
#   wine_env_start_display :N; wine_env_start_server; wine_env_ensure_prefix
#   wine_env_stop_server; wine_env_stop_display :N
#   wine_env_kill_in DIR       ends the Wine processes running from a folder, by pid
#
# WINEPREFIX defaults to <repo>/build/wineprefix. Xvfb pid files live in WINE_ENV_STATE_DIR.

WINE_ENV_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$WINE_ENV_REPO/build/wineprefix}"
export WINEARCH="${WINEARCH:-win64}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install prompts: nothing of ours needs them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
WINE_ENV_STATE_DIR="${WINE_ENV_STATE_DIR:-/tmp/zelvio-xvfb-state-$(id -u)}"

wine_env_display_number() {
  local display="${1:-:99}"
  display="${display#:}"
  echo "${display%%.*}"
}

wine_env_xvfb_pidfile() {
  echo "$WINE_ENV_STATE_DIR/xvfb-$(wine_env_display_number "$1").pid"
}

# True when an X server answers on the display, whoever started it.
wine_env_display_alive() {
  xdpyinfo -display ":$(wine_env_display_number "$1")" >/dev/null 2>&1
}

wine_env_start_display() {
  local n pidfile pid i
  n="$(wine_env_display_number "$1")"
  pidfile="$(wine_env_xvfb_pidfile ":$n")"
  if wine_env_display_alive ":$n"; then
    return 0
  fi
  mkdir -p "$WINE_ENV_STATE_DIR"
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp \
    </dev/null >"$WINE_ENV_STATE_DIR/xvfb-$n.log" 2>&1 &
  pid=$!
  echo "$pid" >"$pidfile"
  for i in $(seq 1 100); do
    if wine_env_display_alive ":$n"; then
      return 0
    fi
    if ! kill -0 "$pid" 2>/dev/null; then
      break
    fi
    sleep 0.1
  done
  echo "wine-env: Xvfb :$n did not come up (see $WINE_ENV_STATE_DIR/xvfb-$n.log)" >&2
  rm -f "$pidfile"
  return 1
}

# Stops only an Xvfb that this script started (its pid is in our pid file).
wine_env_stop_display() {
  local pidfile pid i
  pidfile="$(wine_env_xvfb_pidfile "$1")"
  [ -f "$pidfile" ] || return 0
  pid="$(cat "$pidfile")"
  rm -f "$pidfile"
  if [ "$(ps -o comm= -p "$pid" 2>/dev/null)" != "Xvfb" ]; then
    return 0
  fi
  kill "$pid" 2>/dev/null
  for i in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  return 0
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

# True while a wineserver serves the prefix.
wine_env_server_alive() {
  [ -d "$WINEPREFIX" ] || return 1
  local dev ino
  dev="$(stat -c %D "$WINEPREFIX")"
  ino="$(stat -c %i "$WINEPREFIX")"
  pgrep -x wineserver64 >/dev/null 2>&1 || pgrep -x wineserver >/dev/null 2>&1 || return 1
  local pid
  for pid in $(pgrep -x wineserver64; pgrep -x wineserver); do
    case "$(readlink "/proc/$pid/cwd" 2>/dev/null)" in
      */server-"$dev"-"$(printf '%x' "$ino")") return 0 ;;
    esac
  done
  return 1
}

# wineboot writes .update-timestamp once it has set the prefix up; system.reg itself only
# appears when the server next saves the registry, which a persistent server may delay.
wine_env_prefix_ready() {
  [ -f "$WINEPREFIX/system.reg" ] || [ -f "$WINEPREFIX/.update-timestamp" ]
}

wine_env_ensure_prefix() {
  if wine_env_prefix_ready; then
    return 0
  fi
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
  if ! wine_env_prefix_ready; then
    echo "wine-env: wineboot failed (see $WINEPREFIX.boot.log)" >&2
    return 1
  fi
  return 0
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

# Ends the server of the prefix and with it every Wine process of that prefix.
wine_env_stop_server() {
  [ -d "$WINEPREFIX" ] || return 0
  wineserver -k </dev/null >/dev/null 2>&1 || true
  local i
  for i in $(seq 1 50); do
    wine_env_server_alive || return 0
    sleep 0.1
  done
  return 0
}

# Unix pids of the Wine processes whose current directory lies in the given folder. A Wine
# process keeps its Windows current directory as its Unix one, so programs started from a
# private copy of the shipped folder are found, and nothing else is.
wine_env_pids_in() {
  local dir="$1" pid cwd exe
  [ -n "$dir" ] || return 0
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    [ "$pid" = "$$" ] && continue
    cwd="$(readlink "/proc/$pid/cwd" 2>/dev/null)" || continue
    case "$cwd" in
      "$dir" | "$dir"/*) ;;
      *) continue ;;
    esac
    exe="$(readlink "/proc/$pid/exe" 2>/dev/null)" || continue
    case "$exe" in
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

wine_env_start() {
  export DISPLAY=":$(wine_env_display_number "$1")"
  wine_env_start_display "$DISPLAY" || return 1
  wine_env_start_server
  wine_env_ensure_prefix || return 1
  wine_env_quiet_crashes
}

wine_env_stop() {
  wine_env_stop_server
  wine_env_stop_display "${1:-:99}"
}

wine_env_status() {
  local display=":$(wine_env_display_number "$1")"
  if wine_env_display_alive "$display"; then
    echo "display $display: running"
  else
    echo "display $display: not running"
  fi
  if wine_env_server_alive; then
    echo "wineserver for $WINEPREFIX: running"
  else
    echo "wineserver for $WINEPREFIX: not running"
  fi
  if wine_env_prefix_ready; then
    echo "prefix $WINEPREFIX: ready"
  else
    echo "prefix $WINEPREFIX: missing"
  fi
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  case "${1:-}" in
    start) wine_env_start "${2:-:99}" ;;
    stop) wine_env_stop "${2:-:99}" ;;
    status) wine_env_status "${2:-:99}" ;;
    *)
      echo "usage: $0 start|stop|status [:N]" >&2
      exit 2
      ;;
  esac
fi
