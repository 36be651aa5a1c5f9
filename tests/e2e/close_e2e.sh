#!/usr/bin/env bash
# End to end: closing the window during a run of each of the eleven routines
# ends the process within a second with exit code 0. One program start per
# routine, on Linux or, given a wine prefix, the Windows build under wine64.
# usage: close_e2e.sh TAVERELL SCREEN_TOOL SCREENSHOT_FOLDER [WINEPREFIX]
set -uo pipefail
program=$1
tool=$2
shots=$3
launcher=()
if [ $# -ge 4 ]; then
  export WINEPREFIX=$4 WINEDEBUG=-all
  launcher=(wine)
fi
source "$(dirname "$0")/lib.sh"
rm -rf "$shots" && mkdir -p "$shots"
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  [ ${#launcher[@]} -gt 0 ] && wineserver -k 2>/dev/null
  stop_display
}
trap cleanup EXIT
start_display || exit 1
[ ${#launcher[@]} -gt 0 ] && start_window_manager
unset SDL_VIDEODRIVER

for key in b s i l d q m h u r x; do
  "${launcher[@]}" "$program" >"$shots/program-$key.log" 2>&1 &
  app=$!
  if ! window=$(find_window Taverell); then
    fail "$key: no window"
    kill "$app" 2>/dev/null
    app=
    continue
  fi
  sleep 1
  close_during_run_of "$key" "$app"
  app=
done
finish
