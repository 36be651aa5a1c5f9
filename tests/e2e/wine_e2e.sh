#!/usr/bin/env bash
# End to end on Windows code: the x86_64 taverell.exe under wine64 and Xvfb,
# driven with xdotool, checked on screenshots like the Linux run.
# usage: wine_e2e.sh TAVERELL.EXE SCREEN_TOOL SCREENSHOT_FOLDER WINEPREFIX
set -uo pipefail
program=$1
tool=$2
shots=$3
export WINEPREFIX=$4 WINEDEBUG=-all
source "$(dirname "$0")/lib.sh"
rm -rf "$shots" && mkdir -p "$shots"
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  wineserver -k 2>/dev/null
  stop_display
}
trap cleanup EXIT
start_display || exit 1
start_window_manager

wine "$program" >"$shots/program.log" 2>&1 &
app=$!
window=$(find_window Taverell) || { echo "FAIL: no window"; exit 1; }
sleep 1

check_first_frame
CHECK_RUNNING=1 sort_with q 5
# The merge sort pauses once per 1000 steps whatever the width: on 30000
# values it ends under wine before the running check; on 80000 it does not.
press equal equal equal equal equal
CHECK_RUNNING=1 sort_with m 6
close_during_run "$app"
app=
finish
