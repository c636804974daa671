#!/usr/bin/env bash
# Builds the libFuzzer targets (clang) in build-fuzz/ and runs each one for
# SECONDS (default 60) on one core, seeded with the picture fixtures, each
# put behind its extension as the targets expect. What a run finds is kept
# in build-fuzz/findings/<target>/, the grown corpus in build-fuzz/corpus/.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -DGAMARIUM_FUZZ=ON -DGAMARIUM_GUI=OFF \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j1 --target decode_fuzzer probe_fuzzer

seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"
for file in "$root"/tests/data/pictures/*; do
  extension="${file##*.}"
  [ "$extension" = py ] && continue
  { printf '%s\0' "$extension"; cat "$file"; } >"$seeds/$(basename "$file")"
done

status=0
for target in decode_fuzzer probe_fuzzer; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target/"
  mkdir -p "$corpus" "$findings"
  # Reports go to files: the decoders point standard error at the null
  # device while a library that prints is at work.
  ASAN_OPTIONS="log_path=${findings}asan:detect_leaks=0" "$build/fuzz/$target" "$corpus" "$seeds" -max_total_time="$seconds" -timeout=20 \
    -rss_limit_mb=4096 -max_len=65536 -detect_leaks=0 -artifact_prefix="$findings" \
    -print_final_stats=1 || status=1
done

# The list file reader (merge), seeded with the lists of the tests.
cmake --build "$build" -j1 --target list_fuzzer
mkdir -p "$build/corpus/list_fuzzer" "$build/findings/list_fuzzer"
"$build/fuzz/list_fuzzer" "$build/corpus/list_fuzzer" "$root/tests/data/lists" -max_total_time="$seconds" \
  -timeout=20 -max_len=65536 -artifact_prefix="$build/findings/list_fuzzer/" -print_final_stats=1 || status=1
exit $status
