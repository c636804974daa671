#!/usr/bin/env bash
# Installs what is missing, builds, runs every test, then builds once more
# with Clang so that neither compiler warns.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
(cd "$root/build" && ctest --output-on-failure -j"$(nproc)" --timeout 600)
"$root/scripts/build-clang.sh"
