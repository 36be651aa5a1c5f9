#!/usr/bin/env bash
# Creates the wine prefix named by WINEPREFIX (a first start takes a while,
# so it is done up front) and links the System font to a Hangul font, as a
# Korean Windows has one, so that the program's Korean text is drawn.
# Run under an X display (xvfb-run).
set -uo pipefail
: "${WINEPREFIX:?}"
export WINEDEBUG=-all
wineboot -i >/dev/null 2>&1
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
  /v System /t REG_MULTI_SZ /d 'NanumGothic.ttf,NanumGothic' /f >/dev/null 2>&1
wineserver -w
