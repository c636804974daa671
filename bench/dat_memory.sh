#!/usr/bin/env bash
# Peak memory of `gamarium-cli dat` on a 60 MB DAT:
#
#   bench/dat_memory.sh [WORKDIR]        (default /tmp/gamarium-dat-memory)
#
# The DAT: 30,000 games of eleven ROMs each (a CD console's tracks), every ROM
# with its MD5 and SHA-1, in clrmamepro text, about 60 MB. It is imported
# into an empty base; /usr/bin/time -v gives the peak resident size, which
# the import keeps well under the file's size: the file is read a chunk at
# a time and only each game's first ROM is kept.
#
# GAMARIUM_CLI names the gamarium-cli to measure (default build/src/cli/gamarium-cli).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/gamarium-dat-memory}
cli=${GAMARIUM_CLI:-$root/build/src/cli/gamarium-cli}

rm -rf "$work"
mkdir -p "$work"
awk 'BEGIN {
  for (i = 0; i < 30000; i++) {
    name = sprintf("Game %06d (Europe) (En,Fr,De,Es,It)", (i * 7919) % 30000)
    printf "game (\n\tname \"%s\"\n\tregion \"Europe\"\n", name
    for (t = 1; t <= 11; t++)
      printf "\trom ( name \"%s (Track %02d).bin\" size %d crc %08X md5 %032d sha1 %040d )\n", name, t, 1000000 + t, i * 8 + t, i, t
    printf ")\n"
  }
}' >"$work/big.dat"
"$cli" --home "$work" create big >/dev/null
/usr/bin/time -v "$cli" --home "$work" dat big "$work/big.dat" 2>"$work/time.txt" | tail -1
echo "DAT size: $(du -m "$work/big.dat" | cut -f1) MB"
grep -E 'Maximum resident set size|Elapsed' "$work/time.txt"
