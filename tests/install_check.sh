#!/usr/bin/env bash
# Installs the build into a scratch folder as `cmake --install` would for a
# package, and checks what a desktop needs: the program, icons, and a desktop
# entry and AppStream metadata that their validators accept.
# usage: install_check.sh BUILD_DIR
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage/usr" >/dev/null
status=0
for file in bin/taverell share/applications/org.taverell.Taverell.desktop \
  share/metainfo/org.taverell.Taverell.metainfo.xml \
  share/icons/hicolor/scalable/apps/org.taverell.Taverell.svg \
  share/icons/hicolor/48x48/apps/org.taverell.Taverell.png \
  share/doc/taverell/README.md; do
  [ -e "$stage/usr/$file" ] || { echo "not installed: $file"; status=1; }
done
desktop-file-validate "$stage/usr/share/applications/org.taverell.Taverell.desktop" ||
  status=1
# The whole tree: the metadata, its desktop entry and its icons.
appstreamcli validate-tree --no-net "$stage" || status=1
exit $status
