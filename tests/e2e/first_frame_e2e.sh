#!/usr/bin/env bash
# End to end, the shortest: the program starts, shows its first frame (a
# shuffled cloud, the listing, the marker on insertion sort) and ends with
# exit code 0 when its window is closed. For the installed packages.
# usage: first_frame_e2e.sh TAVERELL SCREEN_TOOL SCREENSHOT_FOLDER
set -uo pipefail
source "$(dirname "$0")/lib.sh" "$@"
start_with_first_frame
close_window "first frame"
finish
