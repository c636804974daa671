#!/usr/bin/env bash
# `gamarium-cli check orphans` as a whole process against the floor: the
# same picture tree listed with its sizes (`find -type f -printf '%s %p\n'`).
#
#   bench/orphans_bench.sh [WORKDIR]   (default /tmp/gamarium-orphans-bench)
#
# The base: 30,000 games with five pictures each, 150,000 files in 27 Sid
# folders; 1% of the files named by no record, 1% copies of the file before,
# sizes from 2 KB to 300 KB so that many files share a size with another
# (their starts must be read). The files are sparse beyond a head that tells
# them apart, so the tree takes little disk; both commands run on it as it
# lies in the page cache. Goal: gamarium at most 2.5 times find.
#
# GAMARIUM_CLI names the gamarium-cli to time (default build/src/cli/gamarium-cli);
# RUNS the number of timed runs of each command (default 10).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/gamarium-orphans-bench}
cli=${GAMARIUM_CLI:-$root/build/src/cli/gamarium-cli}
runs=${RUNS:-10}
for tool in hyperfine python3 find; do
  command -v $tool >/dev/null || { echo "$tool is needed (apt-get install $tool)" >&2; exit 1; }
done

home=$work/home
if [ ! -e "$work/.ready" ]; then
  echo "Making the base and its 150,000 pictures in $work ..."
  rm -rf "$work"
  mkdir -p "$home"
  python3 - "$work/games.csv" "$home/images/Audit" <<'EOF'
import csv, os, random, sys
random.seed(9)
table, images = sys.argv[1:]
last_head, last_size = 0, 2000
with open(table, "w", encoding="utf-8", newline="") as f:
    out = csv.writer(f, lineterminator="\r\n")
    out.writerow(["N", "Sid", "Image1", "Image2", "Image3", "Image4", "Image5"])
    for game in range(30000):
        sid = "num" if game % 27 == 26 else chr(ord("a") + game % 27)
        folder = os.path.join(images, sid)
        os.makedirs(folder, exist_ok=True)
        row = [game + 1, sid]
        for p in range(1, 6):
            name = f"game{game}_{p}.png"
            row.append("" if random.randrange(100) == 0 else name)
            copy = random.randrange(100) == 0
            head = last_head if copy else random.getrandbits(32)
            size = last_size if copy else 2000 + random.randrange(298000)
            with open(os.path.join(folder, name), "wb") as picture:
                picture.write(f"PICTURE {head}\n".encode())
                picture.truncate(size)
            last_head, last_size = head, size
        out.writerow(row)
EOF
  "$cli" --home "$home" create Audit >/dev/null
  "$cli" --home "$home" import Audit "$work/games.csv" >/dev/null
  touch "$work/.ready"
fi

echo "check orphans: $("$cli" --home "$home" check orphans Audit | tail -1)"
hyperfine -N --style basic --warmup 2 --runs "$runs" --export-json "$work/result.json" \
  -n gamarium "$cli --home $home check orphans Audit" \
  -n find "find $home/images/Audit -type f -printf '%s %p\n'" >/dev/null
python3 - "$work/result.json" <<'EOF'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
g, f = r["gamarium"]["median"], r["find"]["median"]
print(f"gamarium median {g*1000:7.1f} ms, find median {f*1000:7.1f} ms: "
      f"{g/f:.2f}x (goal <= 2.5x: {'met' if g/f <= 2.5 else 'MISSED'})")
EOF
