# Helper processes of the tests and benchmarks: a private X display, a window
# manager and a wine server. Each is checked alive before anything relies on
# it; one that dies at start fails at once with its own error output, never
# leaving a silently slower run behind. stop_helpers ends them all.
#
# Each helper's output goes to a log in $helper_logs: the caller's folder,
# or a fresh one that end_helpers removes.

display_screen=1280x1024x24

if [ -z "${helper_logs:-}" ]; then
  helper_logs=$(mktemp -d "${TMPDIR:-/tmp}/taverell-helpers.XXXXXX")
  helper_logs_own=1
fi
mkdir -p "$helper_logs"

# helper_failed NAME LOG: says that NAME is not running and shows its output.
helper_failed() {
  echo "$1 is not running; its output ($2):" >&2
  sed 's/^/  | /' "$2" >&2 2>/dev/null
  return 1
}

# stop_process PID: TERM, then KILL if it is still there after two seconds;
# never waits longer.
stop_process() {
  local pid=$1
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 20); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# start_display: Xvfb on a free display number, which it picks and reports
# once it accepts connections; exports DISPLAY.
start_display() {
  local number_file="$helper_logs/display-number"
  : >"$number_file"
  Xvfb -displayfd 3 -screen 0 "$display_screen" -nolisten tcp \
    3>"$number_file" >"$helper_logs/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    if [ -s "$number_file" ]; then
      export DISPLAY=":$(head -n 1 "$number_file")"
      xdpyinfo >/dev/null 2>&1 && return 0
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  helper_failed "the X server (Xvfb)" "$helper_logs/xvfb.log"
}

# start_window_manager: wine waits up to two seconds on every show and hide
# of a window for a window manager to confirm it, as any desktop has one.
# evilwm's default font is an alias that a bare Xvfb lacks; "fixed" is
# built into every X server.
start_window_manager() {
  evilwm -fn fixed >"$helper_logs/evilwm.log" 2>&1 &
  wm_pid=$!
  # Up once it has announced itself on the root window.
  for _ in $(seq 50); do
    kill -0 "$wm_pid" 2>/dev/null || break
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' &&
      return 0
    sleep 0.1
  done
  helper_failed "the window manager (evilwm)" "$helper_logs/evilwm.log"
}

# start_wineserver: the wine server of $WINEPREFIX, kept running between
# the programs of one test (-p) and in the foreground (-f) so that its
# process is the one checked. A second server for the prefix would exit at
# once, so one already running is a failure too.
start_wineserver() {
  : "${WINEPREFIX:?}"
  wineserver -f -p >"$helper_logs/wineserver.log" 2>&1 &
  wineserver_pid=$!
  sleep 0.3
  kill -0 "$wineserver_pid" 2>/dev/null && return 0
  helper_failed "the wine server" "$helper_logs/wineserver.log"
}

stop_wineserver() {
  [ -n "${wineserver_pid:-}" ] || return 0
  wineserver -k 2>/dev/null || true
  stop_process "$wineserver_pid"
  wineserver_pid=
}

stop_helpers() {
  stop_wineserver
  stop_process "${wm_pid:-}"
  stop_process "${xvfb_pid:-}"
  wm_pid= xvfb_pid=
}

# end_helpers: stop_helpers, and the logs go too unless they are the
# caller's.
end_helpers() {
  stop_helpers
  [ -z "${helper_logs_own:-}" ] || rm -rf "$helper_logs"
}

# prepare_wineprefix ARCH LOADER: makes $WINEPREFIX for ARCH (win32 or
# win64) with LOADER (wine or wine64's loader), unless it is there already
# for that architecture: a prefix made by another wine setup (say, 64-bit
# before wine32 was installed) is made anew. Its System font links to a
# Hangul font, as on a Korean Windows, so that the program's text is drawn.
# Needs a display.
prepare_wineprefix() {
  local arch=$1 loader=$2
  : "${WINEPREFIX:?}"
  if [ -f "$WINEPREFIX/system.reg" ] &&
    grep -qx "#arch=$arch" "$WINEPREFIX/system.reg"; then
    return 0
  fi
  rm -rf "$WINEPREFIX"
  echo "Making the wine prefix $WINEPREFIX ($arch)"
  WINEARCH=$arch "$loader" wineboot -i >"$helper_logs/wineboot.log" 2>&1
  "$loader" reg add \
    'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v System /t REG_MULTI_SZ /d 'NanumGothic.ttf,NanumGothic' /f \
    >>"$helper_logs/wineboot.log" 2>&1
  wineserver -w
  grep -qx "#arch=$arch" "$WINEPREFIX/system.reg" 2>/dev/null ||
    helper_failed "the new wine prefix ($arch)" "$helper_logs/wineboot.log"
}
