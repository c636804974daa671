#!/usr/bin/env bash
# Makes the Debian package from the build folder given, unpacks it into a
# temporary root and runs the programs from there; lintian must find no
# error in it.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/gamarium_*.deb)
dpkg-deb -x "$deb" "$work/root"

for file in usr/bin/gamarium usr/bin/gamarium-cli usr/share/applications/gamarium.desktop \
            usr/share/icons/hicolor/scalable/apps/gamarium.svg usr/share/metainfo/org.gamarium.Gamarium.metainfo.xml; do
  [ -e "$work/root/$file" ] || { echo "missing in the package: $file"; exit 1; }
done
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || { echo "no Qt in Depends: $(dpkg-deb -f "$deb" Depends)"; exit 1; }

"$work/root/usr/bin/gamarium-cli" --version | grep -qx "gamarium-cli [0-9.]*"
"$work/root/usr/bin/gamarium" --version | grep -qx "gamarium [0-9.]*"
mkdir "$work/home"
"$work/root/usr/bin/gamarium-cli" --home "$work/home" create Dendy >/dev/null
[ "$("$work/root/usr/bin/gamarium-cli" --home "$work/home" list)" = "Dendy" ]

if ! lintian --fail-on error --suppress-tags no-manual-page "$deb" >"$work/lintian.log" 2>&1; then
  cat "$work/lintian.log"
  exit 1
fi
grep -E '^(E|W):' "$work/lintian.log" || true
