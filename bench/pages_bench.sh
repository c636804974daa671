#!/usr/bin/env bash
# Whole-process timing of the page generator on a large catalogue, against
# Hugo building the same catalogue:
#
#   bench/pages_bench.sh [WORKDIR]        (default /tmp/gamarium-pages-bench)
#
# The catalogue: 30,000 games over 27 letter groups ("num" and a to z), a
# third of them with a patch (half Russian translations, half others), each
# with its own 640 x 480 JPEG first picture (one picture hard-linked under
# every name), written with examples/site.htd at 11 games a page.
#
# Timed with hyperfine, every run into a fresh empty folder on tmpfs
# (OUT, default /dev/shm/gamarium-pages-bench-out): on ext4, creating
# thousands of files right after the previous run's were deleted spends
# seconds in the kernel's inode search, whichever program writes them.
#   gamarium         gamarium-cli pages on that base
#   gamarium-nopics  the same base with every Image1 empty (no picture read),
#                    which gives the share of the time spent on pictures
#   hugo             Debian's hugo on one content file per game with the same
#                    fields, a list template doing what the example's game
#                    block does (picture size read with imageConfig) and
#                    pagination of 11 over the same 29 sets; per-game pages
#                    are not rendered.
# Goal: gamarium at most 1 s and at least 7 times faster than hugo.
#
# GAMARIUM_CLI names the gamarium-cli to time (default build/src/cli/gamarium-cli,
# built with the project's default RelWithDebInfo settings, -O2 -g); RUNS
# the number of timed runs of each command (default 10).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/gamarium-pages-bench}
cli=${GAMARIUM_CLI:-$root/build/src/cli/gamarium-cli}
runs=${RUNS:-10}

# PREPARE_ONLY=1 only makes the catalogue (bench/publish_bench.sh reuses it).
prepare_only=${PREPARE_ONLY:-}
need=()
command -v hyperfine >/dev/null || need+=(hyperfine)
[ -n "$prepare_only" ] || command -v hugo >/dev/null || need+=(hugo)
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

home=$work/home
hugosite=$work/hugo
"$root/bench/pages_catalogue.sh" "$work" "$cli"
[ -z "$prepare_only" ] || exit 0

template=$root/examples/site.htd
out=${OUT:-/dev/shm/gamarium-pages-bench-out}
echo "gamarium-cli: $cli"
rm -rf "$out" && mkdir -p "$out"
"$cli" --home "$home" pages Bench "$template" "$out" | tee "$work/pages.txt"
rm -rf "$out" && mkdir "$out" && hugo --quiet -s "$hugosite" -d "$out" && echo "hugo wrote $(find "$out" -name '*.html' | wc -l) pages"
rm -rf "$out"

hyperfine --warmup 1 --runs "$runs" --export-json "$work/gamarium.json" \
  --prepare "rm -rf '$out' && mkdir '$out'" \
  -n gamarium "'$cli' --home '$home' pages Bench '$template' '$out'" \
  -n gamarium-nopics "'$cli' --home '$home' pages BenchNoPics '$template' '$out'"
hyperfine --warmup 1 --runs "$(( runs < 5 ? runs : 5 ))" --export-json "$work/hugo.json" \
  --prepare "rm -rf '$out' && mkdir '$out'" \
  -n hugo "hugo --quiet -s '$hugosite' -d '$out'"

python3 - "$work" <<'EOF'
import json, re, sys
work = sys.argv[1]
median = {}
for name in ("gamarium", "hugo"):
    for result in json.load(open(f"{work}/{name}.json"))["results"]:
        median[result["command"]] = result["median"]
pages = int(re.search(r"(\d+)", open(f"{work}/pages.txt", encoding="utf-8").read()).group(1))
g, n, h = median["gamarium"], median["gamarium-nopics"], median["hugo"]
print(f"median wall time: gamarium {g:.3f} s (goal <= 1 s), without pictures {n:.3f} s, hugo {h:.3f} s")
print(f"hugo / gamarium: {h / g:.1f}x (goal >= 7x)")
print(f"pages: {pages}, {pages / g:.0f} pages/s")
print(f"pictures: {(g - n) / g * 100:.0f}% of gamarium's time")
EOF
rm -rf "$out"
