#!/usr/bin/env bash
# Builds the libFuzzer targets (clang) in build-fuzz/ and runs each one for
# SECONDS (default 60) on one core: scripts/fuzz.sh [SECONDS [TARGET...]].
# The picture targets are seeded with the picture fixtures, each put behind
# its extension as they expect; the text targets with the example site's
# template and CSV files, the tests' game lists and old tables written by pxlib. What a run
# finds is kept in build-fuzz/findings/<target>/, the grown corpus in
# build-fuzz/corpus/.
set -euo pipefail
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(decode_fuzzer probe_fuzzer template_fuzzer csv_fuzzer paradox_fuzzer list_fuzzer)
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -DGAMARIUM_FUZZ=ON -DGAMARIUM_GUI=OFF \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j1 --target "${targets[@]}" paradox_seeds

seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds/pictures" "$seeds/template" "$seeds/csv" "$seeds/paradox"
cp -r "$root/tests/data/lists" "$seeds/list"
for file in "$root"/tests/data/pictures/*; do
  extension="${file##*.}"
  [ "$extension" = py ] && continue
  { printf '%s\x00' "$extension"; cat "$file"; } >"$seeds/pictures/$(basename "$file")"
done
# A game's fields (the template target's input begins with them), then the template.
game='Alpha Strike\x00ej\x00A shooter.\rSecond line\x00Beta;Gamma\x00Alpha (e);Beta (u)\x00a\x00alpha.png\x00Pub\x00Dev\x001994\x00Shooter\x00Space\x002\x00512\x00alpha.zip\x0075\x001\x0075\x00patch.zip\x00512\x0099\x00jr\x00Team\x002001\x00'
{ printf "$game"; cat "$root/examples/site.htd"; } >"$seeds/template/site"
{ printf "$game"; printf '$B\r\n<$LETTER|$PAGES>\r\n$B\r\n[$Name $Text $Region $Width $Height $Image $Autor $Genre $Gamers $Size $Pfile $Lfile $Rating $IRating $Patch]\r\n$b\r\n<$LETTERLIST>$pages\r\n'; } >"$seeds/template/all"
for file in "$root"/examples/base/*.csv; do
  { printf ';'; cat "$file"; } >"$seeds/csv/$(basename "$file")"
done
"$build/fuzz/paradox_seeds" "$seeds/paradox"

status=0
for target in "${targets[@]}"; do
  case $target in
    template_fuzzer) seed=template ;; csv_fuzzer) seed=csv ;; paradox_fuzzer) seed=paradox ;; list_fuzzer) seed=list ;;
    *) seed=pictures ;;
  esac
  corpus="$build/corpus/$target"
  findings="$build/findings/$target/"
  mkdir -p "$corpus" "$findings"
  # Reports go to files: the decoders point standard error at the null
  # device while a library that prints is at work.
  ASAN_OPTIONS="log_path=${findings}asan:detect_leaks=0" UBSAN_OPTIONS="log_path=${findings}ubsan:print_stacktrace=1" \
    "$build/fuzz/$target" "$corpus" "$seeds/$seed" -max_total_time="$seconds" -timeout=20 \
    -rss_limit_mb=4096 -max_len=65536 -detect_leaks=0 -artifact_prefix="$findings" \
    -print_final_stats=1 || status=1
done

exit $status
