#!/usr/bin/env bash
# End to end on Linux: the real executable under Xvfb, driven with xdotool
# as a person would, checked on screenshots.
# usage: linux_e2e.sh TAVERELL SCREEN_TOOL SCREENSHOT_FOLDER
set -uo pipefail
program=$1
tool=$2
shots=$3
source "$(dirname "$0")/lib.sh"
rm -rf "$shots" && mkdir -p "$shots"
trap 'stop_display; [ -n "${app:-}" ] && kill "$app" 2>/dev/null' EXIT
start_display || exit 1
unset SDL_VIDEODRIVER

"$program" >"$shots/program.log" 2>&1 &
app=$!
window=$(find_window Taverell) || { echo "FAIL: no window"; exit 1; }
sleep 1

check_first_frame
CHECK_RUNNING=1 sort_with q 5
for pair in b:0 s:1 i:2 l:3 d:4 m:6 h:7 u:8 r:9 x:10; do
  sort_with "${pair%%:*}" "${pair##*:}"
done
close_during_run "$app"
app=
finish
