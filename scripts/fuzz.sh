#!/usr/bin/env bash
# Builds the libFuzzer targets (clang) in build-fuzz/ and runs each one for
# SECONDS (default 60) on one core: scripts/fuzz.sh [SECONDS [TARGET...]].
# The picture targets are seeded with the picture fixtures, each put behind
# its extension as they expect; the text targets with the example site's
# template and CSV files, the tests' game lists and old tables written by pxlib;
# the DAT targets with the tests' DAT and metadata files; the targets over
# the program's own files with files its code writes (record_seeds); the
# listing target with what vsftpd and OpenSSH's SFTP server sent for a
# folder, and MLSD answers as RFC 3659 gives them; the address target
# with addresses as users type them. What a run
# finds is kept in build-fuzz/findings/<target>/, the grown corpus in
# build-fuzz/corpus/.
set -euo pipefail
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(decode_fuzzer probe_fuzzer template_fuzzer csv_fuzzer paradox_fuzzer list_fuzzer
  clrmamepro_fuzzer logiqx_fuzzer metadata_fuzzer point_fuzzer journal_fuzzer sent_record_fuzzer page_record_fuzzer
  size_cache_fuzzer kept_table_fuzzer listing_fuzzer site_address_fuzzer)
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -DGAMARIUM_FUZZ=ON -DGAMARIUM_GUI=OFF \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j1 --target "${targets[@]}" paradox_seeds record_seeds

seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds/pictures" "$seeds/template" "$seeds/csv" "$seeds/paradox" "$seeds/listing" "$seeds/site_address"
cp -r "$root/tests/data/lists" "$seeds/list"
cp -r "$root/tests/data/dat" "$seeds/dat"
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
"$build/fuzz/record_seeds" "$seeds"
# "LIST -a" of a site's folder from vsftpd, and the same folder read over
# SFTP from OpenSSH (a link, a name in UTF-8 with spaces, an old file).
name='\xd0\xb8\xd0\xbc\xd1\x8f \xd1\x81 \xd0\xbf\xd1\x80\xd0\xbe\xd0\xb1\xd0\xb5\xd0\xbb\xd0\xbe\xd0\xbc.htm'
printf "drwxr-xr-x    3 0        0            4096 Dec 10 15:31 .\ndrwxr-xr-x    3 0        0            4096 Dec 10 15:31 ..\n\
-rw-r--r--    1 0        0               0 Dec 10 15:31 .hidden\n-rw-r--r--    1 0        0               5 Dec 10 15:31 index.htm\n\
lrwxrwxrwx    1 0        0               9 Dec 10 15:31 link.htm -> index.htm\n\
-rw-r--r--    1 0        0               0 Mar 05  2019 old.htm\ndrwxr-xr-x    2 0        0            4096 Dec 10 15:31 pictures\n\
-rw-r--r--    1 0        0               1 Dec 10 15:31 $name\n" >"$seeds/listing/vsftpd"
printf "%s\n" "-rw-r--r--    1 root     root            0 Dec 10 15:31 .hidden" \
  "-rw-r--r--    1 root     root            1 Dec 10 15:31 $(printf "$name")" \
  "drwxr-xr-x    3 root     root         4096 Dec 10 15:31 ." "drwxr-xr-x    2 root     root         4096 Dec 10 15:31 pictures" \
  "-rw-r--r--    1 root     root            0 Mar  5  2019 old.htm" "-rw-r--r--    1 root     root            5 Dec 10 15:31 index.htm" \
  "drwxr-xr-x    3 root     root         4096 Dec 10 15:31 .." \
  "lrwxrwxrwx    1 root     root            9 Dec 10 15:31 link.htm -> index.htm" >"$seeds/listing/sftp"
printf "%s\r\n" "type=cdir;modify=20240501153012;perm=flcdmpe; ." "type=pdir;modify=20240501153012;perm=flcdmpe; .." \
  "type=file;size=5;modify=20240501153012;perm=adfrw; index.htm" "type=dir;modify=20240501153012;perm=flcdmpe; pictures" \
  "Type=File;Size=1;Modify=20240501153012; $(printf "$name")" "type=OS.unix=slink:index.htm;size=9; link.htm" >"$seeds/listing/mlsd"
n=0
for address in "sftp://me@example.org/www" "sftp://me@example.org:2222/~/www/" "ftps://me@127.0.0.1:2121/site" \
  "ftp://example.org/" "sftp://[::1]:22/home/me/www" "sftp://first.last%40mail@example.org/%D1%81%D0%B0%D0%B9%D1%82%20%231"; do
  printf "%s" "$address" >"$seeds/site_address/$((n += 1))"
done

status=0
for target in "${targets[@]}"; do
  case $target in
    template_fuzzer) seed=template ;; csv_fuzzer) seed=csv ;; paradox_fuzzer) seed=paradox ;; list_fuzzer) seed=list ;;
    clrmamepro_fuzzer | logiqx_fuzzer | metadata_fuzzer) seed=dat ;;
    point_fuzzer | journal_fuzzer | sent_record_fuzzer | page_record_fuzzer | size_cache_fuzzer | kept_table_fuzzer | \
      listing_fuzzer | site_address_fuzzer) seed=${target%_fuzzer} ;;
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
