#!/usr/bin/env sh
# Installs a build into a scratch prefix and checks what a desktop needs:
# the program, its launcher entry, its icons and its AppStream metadata,
# validated by desktop-file-validate and appstreamcli when they are there.
# Usage: check-desktop-install.sh <build folder>
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=io.github.pennywhistle.Pennywhistle
status=0
for file in bin/pennywhistle share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/16x16/apps/$id.png share/icons/hicolor/32x32/apps/$id.png \
    share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/64x64/apps/$id.png \
    share/icons/hicolor/128x128/apps/$id.png; do
  [ -s "$prefix/$file" ] || { echo "not installed: $file"; status=1; }
done
[ -x "$prefix/bin/pennywhistle" ] || { echo "not executable: bin/pennywhistle"; status=1; }

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" || status=1
else
  echo "desktop-file-validate not found (Debian package desktop-file-utils): not checked"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || status=1
else
  echo "appstreamcli not found (Debian package appstream): not checked"
fi
exit $status
