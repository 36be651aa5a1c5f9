#!/usr/bin/env bash
# End to end: the real program on a private X display, driven with xdotool
# as a person would, checked on screenshots. On Linux every routine sorts;
# under wine (TAVERELL_WINE set, see lib.sh) the quick and merge sorts do,
# the rest being the same code.
# usage: scenario_e2e.sh TAVERELL SCREEN_TOOL SCREENSHOT_FOLDER
set -uo pipefail
source "$(dirname "$0")/lib.sh" "$@"
start_with_first_frame
CHECK_RUNNING=1 sort_with q 5
if [ -z "${TAVERELL_WINE:-}" ]; then
  for pair in b:0 s:1 i:2 l:3 d:4 m:6 h:7 u:8 r:9 x:10; do
    sort_with "${pair%%:*}" "${pair##*:}"
  done
else
  # The merge sort pauses once per 1000 steps whatever the width: on 30000
  # values it ends under wine before the running check; on 80000 it does
  # not.
  press equal equal equal equal equal
  CHECK_RUNNING=1 sort_with m 6
fi
close_during_run b 2
finish
