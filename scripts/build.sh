#!/usr/bin/env bash
# Configures and builds the project in build/ (extra arguments go to cmake).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAMARIUM_GUI=ON -DGAMARIUM_WERROR=ON "$@" >/dev/null
cmake --build "$root/build" -j"$(nproc)"
