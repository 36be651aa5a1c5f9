#!/usr/bin/env bash
# Fails when a Windows executable imports any DLL beyond the system's own
# user-interface, drawing and kernel libraries and the C runtime.
# usage: check_imports.sh OBJDUMP PROGRAM.exe
set -euo pipefail
objdump=$1
program=$2
# Read once: grep -q below would stop reading early, and under pipefail the
# writer's broken pipe failed the check at random.
headers=$("$objdump" -p "$program")
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | sort -fu)
echo "$program imports:" $imports
status=0
while read -r dll; do
  case "${dll,,}" in
  kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-crt-*.dll) ;;
  *) echo "not allowed: $dll"; status=1 ;;
  esac
done <<<"$imports"
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" ||
  { echo "not a GUI-subsystem program"; status=1; }
exit $status
