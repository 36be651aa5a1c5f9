# Shared by the end-to-end scripts: the program started on a private X
# display (under wine when TAVERELL_WINE names wine's loader), screenshots of
# its window and the checks of screen_tool.
#   sourced with the script's arguments: TAVERELL SCREEN_TOOL SCREENSHOTS
#   (the screenshot folder is emptied first)
#   under wine, from the environment: TAVERELL_WINE (the loader),
#   TAVERELL_WINEARCH (win32 or win64), WINEPREFIX

program=$1
tool=$2
shots=$3
rm -rf "$shots" && mkdir -p "$shots"
helper_logs="$shots/helpers"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/helpers.sh"

# start_session: the display, and for wine its window manager, prefix and
# server. Everything is stopped when the script exits.
start_session() {
  trap 'stop_program; stop_helpers' EXIT
  unset SDL_VIDEODRIVER
  start_display || return 1
  [ -n "${TAVERELL_WINE:-}" ] || return 0
  export WINEDEBUG=-all
  start_window_manager &&
    prepare_wineprefix "$TAVERELL_WINEARCH" "$TAVERELL_WINE" &&
    start_wineserver
}

# launch LOG: starts the program (app: its process) and finds its window
# (window). Fails when no window shows.
launch() {
  if [ -n "${TAVERELL_WINE:-}" ]; then
    "$TAVERELL_WINE" "$program" >"$shots/$1" 2>&1 &
  else
    "$program" >"$shots/$1" 2>&1 &
  fi
  app=$!
  window=$(find_window Taverell) && return 0
  fail "no window ($1: $(tail -n 3 "$shots/$1" | tr '\n' ' '))"
  stop_program
  return 1
}

stop_program() {
  stop_process "${app:-}"
  app=
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

# start_with_first_frame: the session, the program, and its first frame: a
# shuffled cloud, the listing, "->" on insertion sort.
start_with_first_frame() {
  start_session || exit 1
  launch program.log || finish
  sleep 1
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

# close_window NAME: the close button, as the window manager sends it; the
# process must end within a second with exit code 0.
close_window() {
  local name=$1 started code elapsed_ms
  started=$(date +%s%N)
  "$tool" close "$window"
  for _ in $(seq 150); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.02
  done
  if kill -0 "$app" 2>/dev/null; then
    fail "$name: still running 3 s after closing"
    stop_program
    return
  fi
  wait "$app"
  code=$?
  app=
  elapsed_ms=$((($(date +%s%N) - started) / 1000000))
  echo "$name: closed, exit code $code after $elapsed_ms ms"
  [ "$code" -eq 0 ] || fail "$name: exit code $code after closing"
  [ "$elapsed_ms" -lt 1000 ] || fail "$name: closing took $elapsed_ms ms"
}

# close_during_run KEY PLUSES: KEY's routine on 30000 + PLUSES x 10000
# values runs for seconds; closing then ends it (close_window).
close_during_run() {
  local key=$1 pluses=$2
  press "$key" $(printf 'equal %.0s' $(seq "$pluses"))
  click 3
  click 1
  sleep 0.5
  shot "closing-$key"
  expect "closing-$key" nolisting
  close_window "run of $key"
}

finish() {
  echo "screenshots in $shots"
  if [ "$failures" -gt 0 ]; then
    echo "$failures e2e checks failed"
    exit 1
  fi
  echo "all e2e checks passed"
}
