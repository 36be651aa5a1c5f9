#!/usr/bin/env bash
# Fails when a shipped executable carries a test hook: any function that the
# hooks headers declare. The same names must show in a test executable,
# which links them: proof that the symbols can be seen at all.
# usage: check_no_hooks.sh NM PROGRAM TEST_PROGRAM HEADER...
set -euo pipefail
nm=$1
program=$2
control=$3
shift 3
hooks=$(sed -n 's/^[A-Za-z_][A-Za-z0-9_ *]*[ *]\([A-Za-z_][A-Za-z0-9_]*\)(.*/\1/p' \
  "$@" | sort -u)
[ -n "$hooks" ] || { echo "no hook names found in $*"; exit 2; }
# Read once each: grep -q would stop reading early, and under pipefail the
# writer's broken pipe would fail the check at random.
shipped=$("$nm" -C "$program")
tested=$("$nm" -C "$control")
status=0
for hook in $hooks; do
  if grep -qw -- "$hook" <<<"$shipped"; then
    echo "$program carries the test hook $hook"
    status=1
  fi
  if ! grep -qw -- "$hook" <<<"$tested"; then
    echo "$control lacks $hook: the symbols cannot be read"
    status=1
  fi
done
echo "$(wc -w <<<"$hooks") hook names checked:" $hooks
exit $status
