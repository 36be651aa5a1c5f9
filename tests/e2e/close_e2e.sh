#!/usr/bin/env bash
# End to end: closing the window during a run of each of the eleven routines
# ends the process within a second with exit code 0. One program start per
# routine, on Linux or under wine (TAVERELL_WINE set, see lib.sh).
# usage: close_e2e.sh TAVERELL SCREEN_TOOL SCREENSHOT_FOLDER
set -uo pipefail
source "$(dirname "$0")/lib.sh" "$@"
start_session || exit 1

for key in b s i l d q m h u r x; do
  launch "program-$key.log" || continue
  sleep 1
  # 1030000 values: seconds of work even for the fastest routine.
  close_during_run "$key" 100
done
finish
