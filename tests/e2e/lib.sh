# Shared by the end-to-end scripts: a private Xvfb display, screenshots of a
# window and the checks of screen_tool.
#   needs: tool (screen_tool path), shots (screenshot folder)

start_display() {
  local number
  for number in $(seq 91 140); do
    [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
    Xvfb ":${number}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":${number}"
    for _ in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
  done
  echo "no X display could be started" >&2
  return 1
}

# start_window_manager: wine waits up to two seconds on every show and hide
# of a window for the window manager to confirm it, as any desktop does;
# bare Xvfb has none.
start_window_manager() {
  command -v evilwm >/dev/null || {
    echo "evilwm is not installed: windows will be slow to show and close"
    return 0
  }
  evilwm >/dev/null 2>&1 &
  wm_pid=$!
  sleep 0.5
}

stop_display() {
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# find_window TITLE: the id of the visible window with that title.
find_window() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# shot NAME: screenshot of the window's client area as NAME.png (kept) and
# NAME.ppm (checked).
shot() {
  import -window "$window" "$shots/$1.png" 2>/dev/null
  convert "$shots/$1.png" "$shots/$1.ppm"
}

# expect NAME CHECK [ARG]: run a screen check on a screenshot.
expect() {
  local name=$1
  shift
  if ! "$tool" check "$shots/$name.ppm" "$@" >"$shots/$name.$1.txt"; then
    fail "$name: expected $* ($(cat "$shots/$name.$1.txt"))"
  fi
}

press() {
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --delay 20 "$@"
}

click() { # click BUTTON: 1 left, 3 right, in the middle of the plot
  xdotool mousemove --window "$window" 200 500 click "$1"
}

# wait_for_listing NAME: screenshots until the listing is back (run ended).
wait_for_listing() {
  local k
  for k in $(seq 240); do
    shot "$1"
    "$tool" check "$shots/$1.ppm" listing >/dev/null && return 0
    sleep 0.5
  done
  fail "$1: the run did not end within two minutes"
  return 1
}

# ---- the scenario steps shared by the Linux and wine runs -----------------

# The first frame: a shuffled cloud, the listing, "->" on insertion sort.
check_first_frame() {
  shot first
  expect first cloud
  expect first listing
  expect first marker 2
}

# sort_with KEY ROW: select with KEY (its listing row ROW), shuffle, run,
# check the listing is hidden while it runs (when CHECK_RUNNING is set) and
# the sorted diagonal after it.
sort_with() {
  local key=$1 row=$2
  press "$key"
  sleep 0.3
  shot "selected-$key"
  expect "selected-$key" marker "$row"
  click 3
  sleep 0.3
  shot "shuffled-$key"
  expect "shuffled-$key" cloud
  click 1
  if [ -n "${CHECK_RUNNING:-}" ]; then
    sleep 0.4
    shot "running-$key"
    expect "running-$key" nolisting
  fi
  wait_for_listing "sorted-$key" && expect "sorted-$key" diagonal
}

# close_during_run PID: bubble sort on 50000 values runs for seconds; the
# close button ends the process within a second with exit code 0.
close_during_run() {
  local pid=$1 started code elapsed_ms
  press b equal equal
  click 3
  click 1
  sleep 0.5
  shot closing
  expect closing nolisting
  started=$(date +%s%N)
  "$tool" close "$window"
  for _ in $(seq 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.02
  done
  wait "$pid"
  code=$?
  elapsed_ms=$((($(date +%s%N) - started) / 1000000))
  echo "closed during a run: exit code $code after $elapsed_ms ms"
  [ "$code" -eq 0 ] || fail "exit code $code after closing"
  [ "$elapsed_ms" -lt 1000 ] || fail "closing took $elapsed_ms ms"
}

# close_during_run_of KEY PID: KEY's routine on 1030000 values (plus pressed
# 100 times) runs for seconds even where it is fastest; the close button
# ends the process within a second with exit code 0.
close_during_run_of() {
  local key=$1 pid=$2 started code elapsed_ms
  press "$key" $(printf 'equal %.0s' $(seq 100))
  click 3
  click 1
  sleep 0.5
  shot "closing-$key"
  expect "closing-$key" nolisting
  started=$(date +%s%N)
  "$tool" close "$window"
  for _ in $(seq 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.02
  done
  if kill -0 "$pid" 2>/dev/null; then
    fail "$key: still running 3 s after closing"
    kill -9 "$pid" 2>/dev/null
  fi
  wait "$pid"
  code=$?
  elapsed_ms=$((($(date +%s%N) - started) / 1000000))
  echo "closed during a run of $key: exit code $code after $elapsed_ms ms"
  [ "$code" -eq 0 ] || fail "$key: exit code $code after closing"
  [ "$elapsed_ms" -lt 1000 ] || fail "$key: closing took $elapsed_ms ms"
}

finish() {
  echo "screenshots in $shots"
  if [ "$failures" -gt 0 ]; then
    echo "$failures e2e checks failed"
    exit 1
  fi
  echo "all e2e checks passed"
}
