# Sourced by the Wine test runner and the demo: one Wine session for a build directory.
#   wine_session_start <build-dir> <work-dir>   own Xvfb display, Japanese locale, the build's
#                                                prefix, one persistent wineserver; a prefix
#                                                is copied from WINE_SESSION_PREFIX_TEMPLATE
#                                                when that names a ready one
#   wine_session_screenshot <file.png>            the whole display as a PNG file
#   wine_session_stop                            stops the wineserver and the display
# A second session of the same build directory waits until the first one has stopped.
# The caller installs `trap wine_session_stop EXIT` and turns signals into an exit
# (`trap 'exit 130' INT TERM HUP PIPE`), so the stop runs however the caller ends.

wine_session_xvfb_pid=""
wine_session_lock_dir=""

# A lock directory holding the owner's process id; a lock whose owner is gone is taken over.
# (A lock file descriptor would be inherited by Wine's service processes and outlive us.)
wine_session_lock() {
  local lock=$1 waited=0 owner
  while ! mkdir "$lock" 2>/dev/null; do
    owner=$(cat "$lock/pid" 2>/dev/null)
    # No owner written for seconds: its creator died between mkdir and writing the id.
    if { [ -n "$owner" ] && ! kill -0 "$owner" 2>/dev/null; } || { [ -z "$owner" ] && [ $waited -ge 5 ]; }; then
      rm -rf "$lock"
      continue
    fi
    if [ $waited -ge 900 ]; then
      echo "wine_session: another session (process $owner) still holds $lock" >&2
      return 1
    fi
    sleep 1
    waited=$((waited + 1))
  done
  echo $$ >"$lock/pid"
  wine_session_lock_dir=$lock
}

wine_session_start() {
  local build=$1 work=$2
  # One session per build directory at a time: they share the prefix and its wineserver,
  # which the end of a session stops.
  wine_session_lock "$build/.wine-session.lockdir" || return 1
  # Tests talk to 127.0.0.1 only; a proxy from the environment would intercept WinINet.
  unset http_proxy https_proxy ftp_proxy all_proxy no_proxy HTTP_PROXY HTTPS_PROXY FTP_PROXY ALL_PROXY NO_PROXY
  # Wine needs the Japanese locale for code page 932; Linux need not have it generated.
  { export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null
  export WINEDEBUG=-all
  export WINEPREFIX="$build/wine-prefix"
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

  # Our own display; Xvfb picks a free number and writes it to the given descriptor.
  mkdir -p "$work"
  rm -f "$work/display"
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  wine_session_xvfb_pid=$!
  disown "$wine_session_xvfb_pid"  # keep the job table for the caller's own jobs
  exec 3>&-
  local _
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  if [ ! -s "$work/display" ]; then
    echo "wine_session: Xvfb did not start (see $work/xvfb.log)" >&2
    return 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"

  # A ready prefix to copy saves the minute wineboot takes under emulation.
  if [ ! -f "$WINEPREFIX/.tarnwick-prefix" ] && [ -n "${WINE_SESSION_PREFIX_TEMPLATE:-}" ] &&
     [ -f "$WINE_SESSION_PREFIX_TEMPLATE/.tarnwick-prefix" ]; then
    rm -rf "$WINEPREFIX"
    cp -a "$WINE_SESSION_PREFIX_TEMPLATE" "$WINEPREFIX"
  fi
  if [ ! -f "$WINEPREFIX/.tarnwick-prefix" ]; then
    wine wineboot -i >/dev/null 2>&1 || true  # it reports harmless 32-bit failures
    # Unmanaged windows: without a window manager, Wine otherwise waits 2 s for every
    # visible top-level window it destroys.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # The server and the system processes that made the prefix are ended rather than kept:
    # under them every later program of the session ran two to four times slower (measured).
    wineserver -k >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.tarnwick-prefix"
  fi
  # One persistent wineserver for the whole session saves seconds per process; a server
  # still running from the prefix set-up is made persistent the same way.
  wineserver -p 2>/dev/null
  return 0
}

wine_session_screenshot() {
  import -display "$DISPLAY" -window root "$1"
}

wine_session_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  [ -n "$wine_session_xvfb_pid" ] && kill "$wine_session_xvfb_pid" >/dev/null 2>&1
  wine_session_xvfb_pid=""
  [ -n "$wine_session_lock_dir" ] && rm -rf "$wine_session_lock_dir"
  wine_session_lock_dir=""
  return 0
}
