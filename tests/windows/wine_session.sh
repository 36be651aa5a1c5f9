#!/usr/bin/env bash
# Runs a Windows test program under wine as a desktop would: on a private X
# display with a window manager, in the build's wine prefix (made when
# missing), with a wine server checked alive first.
# usage: wine_session.sh PROGRAM.exe [ARGUMENT...]
#   from the environment: TAVERELL_WINE (the loader), TAVERELL_WINEARCH
#   (win32 or win64), WINEPREFIX
set -uo pipefail
: "${TAVERELL_WINE:?}" "${TAVERELL_WINEARCH:?}" "${WINEPREFIX:?}"
export WINEDEBUG=-all
source "$(dirname "$0")/../../scripts/lib/helpers.sh"
trap end_helpers EXIT
start_display && start_window_manager &&
  prepare_wineprefix "$TAVERELL_WINEARCH" "$TAVERELL_WINE" &&
  start_wineserver || exit 1
"$TAVERELL_WINE" "$@"
