#!/usr/bin/env bash
# Builds a Release configuration in build-release/ and makes the Debian
# package gamarium_<version>_<arch>.deb there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DGAMARIUM_GUI=ON -DGAMARIUM_WERROR=ON "$@" >/dev/null
cmake --build "$root/build-release" -j"$(nproc)"
cd "$root/build-release"
cpack -G DEB
ls "$root"/build-release/gamarium_*.deb
