#!/usr/bin/env bash
# Builds every target with Clang in Release mode, warnings as errors, in
# build-clang/: the code stays warning-free under both compilers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-clang" -DCMAKE_BUILD_TYPE=Release -DGAMARIUM_GUI=ON \
  -DGAMARIUM_WERROR=ON -DGAMARIUM_ASAN_TESTS=OFF "$@" >/dev/null
cmake --build "$root/build-clang" -j"$(nproc)"
