#!/usr/bin/env bash
# Whole-process timing of the page generator run again over a site it has
# written, against a full run, on the catalogue of bench/pages_catalogue.sh
# (30,000 games, 3,664 pages):
#
#   bench/pages_rerun_bench.sh [WORKDIR]   (default /tmp/gamarium-pages-bench)
#
#   full            into an empty folder, without the program's cache folder
#                   (no picture sizes kept, no record of the pages): what
#                   every run cost before runs kept what they worked out
#   full-sizes-kept into an empty folder, the picture sizes kept
#   no-change       again over the site, nothing changed
#   one-game        again after one game's text changed (its page written)
#   preview         the page of the game in the middle of the table (preview)
#   open-base       jump to that game: opening the base alone, the floor of
#                   any command on it
# Goals: no-change at most 0.25 x full, one-game at most 0.3 x full,
# preview at most 50 ms.
#
# Output on tmpfs (OUT, default /dev/shm/gamarium-pages-rerun-out), timed
# with hyperfine; GAMARIUM_CLI names the gamarium-cli to time (default
# build/src/cli/gamarium-cli); RUNS the timed runs of each (default 10).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/gamarium-pages-bench}
cli=${GAMARIUM_CLI:-$root/build/src/cli/gamarium-cli}
runs=${RUNS:-10}
out=${OUT:-/dev/shm/gamarium-pages-rerun-out}

need=()
command -v hyperfine >/dev/null || need+=(hyperfine)
command -v sqlite3 >/dev/null || need+=(sqlite3)
if [ ${#need[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
if [ ! -x "$cli" ]; then
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$root/build" --target gamarium-cli
fi
"$root/bench/pages_catalogue.sh" "$work" "$cli"

home=$work/home
template=$root/examples/site.htd
pages="'$cli' --home '$home' pages Bench '$template' '$out'"
# One game in the middle of the table gets another text each time.
change="sqlite3 '$home/base/Bench.db' \"UPDATE records SET Text1 = Text1 || 'x'
  WHERE _id = (SELECT _id FROM records ORDER BY _order LIMIT 1 OFFSET 15000)\""

rm -rf "$out" "$home/cache" && mkdir -p "$out"
echo "gamarium-cli: $cli"
sh -c "$pages"
sh -c "$change" && sh -c "$pages"

hyperfine --warmup 1 --runs "$runs" --export-json "$work/rerun.json" \
  -n full --prepare "rm -rf '$out' '$home/cache' && mkdir '$out'" "$pages" \
  -n full-sizes-kept --prepare "rm -rf '$out' '$home'/cache/pages-* && mkdir '$out'" "$pages" \
  -n no-change --prepare "true" "$pages" \
  -n one-game --prepare "$change" "$pages" \
  -n preview --prepare "true" "'$cli' --home '$home' preview Bench 15000 '$template' '$out/preview.htm'" \
  -n open-base --prepare "true" "'$cli' --home '$home' jump Bench 15000"

python3 - "$work" <<'PYEOF'
import json, sys
results = {r["command"]: r for r in json.load(open(f"{sys.argv[1]}/rerun.json"))["results"]}
full = results["full"]
print(f"{'run':16} {'median s':>9} {'x full':>7} {'cpu s':>7} {'cpu x full':>10}")
for name in ("full", "full-sizes-kept", "no-change", "one-game", "preview", "open-base"):
    r = results[name]
    cpu, full_cpu = r["user"] + r["system"], full["user"] + full["system"]
    print(f"{name:16} {r['median']:9.3f} {r['median'] / full['median']:7.2f} {cpu:7.3f} {cpu / full_cpu:10.2f}")
print("goals: no-change <= 0.25 x full, one-game <= 0.30 x full (median wall time), preview <= 0.050 s")
PYEOF
rm -rf "$out"
