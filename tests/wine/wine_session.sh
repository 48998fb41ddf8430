# Sourced by the Wine test runner and the demo: one Wine session for a build directory.
#   wine_session_start <build-dir> <work-dir>   own Xvfb display, Japanese locale, the build's
#                                                prefix, one persistent wineserver
#   wine_session_stop                            stops the wineserver and the display
# A second session of the same build directory waits until the first one has stopped.
# The caller installs `trap wine_session_stop EXIT`.

wine_session_xvfb_pid=""

wine_session_start() {
  local build=$1 work=$2
  # One session per build directory at a time: they share the prefix and its wineserver,
  # which the end of a session stops.
  exec 9>"$build/.wine-session.lock"
  if ! flock -w 900 9; then
    echo "wine_session: another session of $build is still running" >&2
    return 1
  fi
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
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 9>&- &
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

  if [ ! -f "$WINEPREFIX/.tarnwick-prefix" ]; then
    wine wineboot -i >/dev/null 2>&1 9>&-
    # Unmanaged windows: without a window manager, Wine otherwise waits 2 s for every
    # visible top-level window it destroys.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 9>&-
    touch "$WINEPREFIX/.tarnwick-prefix"
  fi
  # One persistent wineserver for the whole session saves seconds per process. Servers and
  # the display do not inherit the lock, so one left behind by a killed run holds nothing.
  # A server already running from the prefix set-up is made persistent the same way.
  wineserver -p 9>&- 2>/dev/null
  return 0
}

wine_session_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  [ -n "$wine_session_xvfb_pid" ] && kill "$wine_session_xvfb_pid" >/dev/null 2>&1
  wine_session_xvfb_pid=""
  exec 9>&-
  return 0
}
