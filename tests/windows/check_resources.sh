#!/usr/bin/env bash
# Reads a Windows executable's resources back with the MinGW tools: the
# version resource (product name, version, description), the application
# manifest (asInvoker, Windows 7 to 11, no DPI awareness) and the icon.
# usage: check_resources.sh OBJCOPY PROGRAM.exe VERSION
set -euo pipefail
objcopy=$1
program=$2
version=$3
strings=${objcopy%objcopy}strings
resources=$(mktemp)
trap 'rm -f "$resources"' EXIT
"$objcopy" -O binary --only-section=.rsrc "$program" "$resources"
status=0
fail() {
  echo "$program: $*"
  status=1
}

# The version block's strings are UTF-16: each name, then its value.
wide=$("$strings" -el "$resources")
value_of() { grep -A1 -x "$1" <<<"$wide" | sed -n 2p; }
[ "$(value_of ProductName)" = Taverell ] || fail "product name: $(value_of ProductName)"
[ "$(value_of ProductVersion)" = "$version" ] ||
  fail "product version: $(value_of ProductVersion), expected $version"
[ -n "$(value_of FileDescription)" ] || fail "no file description"

# The manifest is UTF-8 text.
manifest=$("$strings" -a "$resources")
grep -q 'requestedExecutionLevel level="asInvoker"' <<<"$manifest" ||
  fail "the manifest does not ask for asInvoker"
for os in 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 \
  1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
  grep -q "supportedOS Id=\"{$os}\"" <<<"$manifest" || fail "no supportedOS $os"
done
! grep -qi 'dpiAware' <<<"$manifest" || fail "the manifest changes DPI awareness"

# The icon's images are PNGs.
icons=$(grep -ac $'\x89PNG' "$resources" || true)
[ "$icons" -ge 1 ] || fail "no icon image"

[ $status -eq 0 ] && echo "$program: version $version, asInvoker, Windows 7 to 11, icon"
exit $status
