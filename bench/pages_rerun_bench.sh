#!/usr/bin/env bash
# Whole-process timing of the page generator run again over a site it has
# written, against a full run, on the catalogue of bench/pages_catalogue.sh
# (30,000 games, 3,664 pages):
#
#   bench/pages_rerun_bench.sh [WORKDIR]   (default /tmp/gamarium-pages-bench)
#
#   full            into an empty folder, without the program's cache folder
#                   (no picture sizes or game digests kept, no record of the
#                   pages): what every run cost before runs kept what they
#                   worked out
#   full-sizes-kept into an empty folder, the picture sizes kept
#   no-change       again over the site, nothing changed
#   one-game        again after one game's text changed (its page written)
#   preview         the page of the game in the middle of the table (preview)
#   open-base       jump to that game: opening the base alone, the floor of
#                   any command on it
# Goals: no-change at most 0.25 x full, one-game at most 0.3 x full,
# preview at most 50 ms.
#
# The runs are timed in rounds, one of each per round, so that a machine
# whose speed drifts slows every case alike: a ratio is taken within one
# run of the script. The full runs have a program folder of their own (the
# same bases and pictures, another cache folder), and the one-game runs a
# copy of the base ("BenchEdit"), so that neither disturbs what the
# no-change runs find.
#
# Output on tmpfs (OUT, default /dev/shm/gamarium-pages-rerun-out);
# GAMARIUM_CLI names the gamarium-cli to time (default
# build/src/cli/gamarium-cli); RUNS the timed rounds (default 10), after one
# round not timed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/gamarium-pages-bench}
cli=${GAMARIUM_CLI:-$root/build/src/cli/gamarium-cli}
runs=${RUNS:-10}
out=${OUT:-/dev/shm/gamarium-pages-rerun-out}

need=()
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
# The full runs' program folder: the same bases and pictures, its own cache.
fullhome=$work/full-home
mkdir -p "$fullhome"
ln -sfn "$home/base" "$fullhome/base"
ln -sfn "$home/images" "$fullhome/images"
cp "$home"/*.ini "$fullhome/"
# The base whose one game changes: a copy of Bench, its pictures Bench's.
for table in Bench.db Bench_patch.db; do
  cp "$home/base/$table" "$home/base/BenchEdit${table#Bench}"
done
ln -sfn Bench "$home/images/BenchEdit"
grep -qx BenchEdit "$home/bases.ini" || echo BenchEdit >>"$home/bases.ini"
for ini in "$home/generator.ini" "$fullhome/generator.ini"; do
  grep -q '^\[benchedit\]' "$ini" ||
    awk '/^\[/ { copying = ($0 == "[bench]") } copying { sub(/^\[bench\]$/, "[benchedit]"); print }' "$ini" >>"$ini.new"
  [ -e "$ini.new" ] && cat "$ini.new" >>"$ini" && rm "$ini.new"
done

echo "gamarium-cli: $cli"
python3 - "$cli" "$home" "$fullhome" "$template" "$out" "$runs" <<'PYEOF'
import os, shutil, statistics, subprocess, sys, time

cli, home, fullhome, template, out, runs = sys.argv[1:6] + [int(sys.argv[6])]
outs = {name: f"{out}/{name}" for name in ("full", "site", "edit")}
for folder in outs.values():
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)

def pages(program_home, base, folder):
    return [cli, "--home", program_home, "pages", base, template, folder]

def fresh_full(keep_sizes):
    shutil.rmtree(outs["full"], ignore_errors=True)
    os.makedirs(outs["full"])
    cache = f"{fullhome}/cache"
    if keep_sizes:
        for name in os.listdir(cache) if os.path.isdir(cache) else []:
            if not name.endswith(".sizes"):
                os.remove(f"{cache}/{name}")
    else:
        shutil.rmtree(cache, ignore_errors=True)

def change_one_game():
    subprocess.run(["sqlite3", f"{home}/base/BenchEdit.db",
                    "UPDATE records SET Text1 = Text1 || 'x' WHERE _id = "
                    "(SELECT _id FROM records ORDER BY _order LIMIT 1 OFFSET 15000)"], check=True)

cases = [
    ("full", lambda: fresh_full(False), pages(fullhome, "Bench", outs["full"])),
    ("full-sizes-kept", lambda: fresh_full(True), pages(fullhome, "Bench", outs["full"])),
    ("no-change", None, pages(home, "Bench", outs["site"])),
    ("one-game", change_one_game, pages(home, "BenchEdit", outs["edit"])),
    ("preview", None, [cli, "--home", home, "preview", "Bench", "15000", template, f"{out}/preview.htm"]),
    ("open-base", None, [cli, "--home", home, "jump", "Bench", "15000"]),
]

def timed(command):
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {' '.join(command)}\n{process.stderr.read().decode()}")
    return wall, usage.ru_utime + usage.ru_stime

# The sites are made once, and the table left alone long enough to be
# trusted as it stands; then one round untimed.
for name, prepare, command in cases:
    if prepare:
        prepare()
    timed(command)
time.sleep(6)
walls = {name: [] for name, _, _ in cases}
cpus = {name: [] for name, _, _ in cases}
for round in range(runs + 1):
    for name, prepare, command in cases:
        if prepare:
            prepare()
        wall, cpu = timed(command)
        if round > 0:
            walls[name].append(wall)
            cpus[name].append(cpu)

full, full_cpu = statistics.median(walls["full"]), statistics.median(cpus["full"])
print(f"{'run':16} {'median s':>9} {'x full':>7} {'cpu s':>7} {'cpu x full':>10}")
for name, _, _ in cases:
    wall, cpu = statistics.median(walls[name]), statistics.median(cpus[name])
    print(f"{name:16} {wall:9.3f} {wall / full:7.2f} {cpu:7.3f} {cpu / full_cpu:10.2f}")
print(f"goals: no-change <= 0.25 x full, one-game <= 0.30 x full (median wall time), preview <= 0.050 s; {runs} rounds")
PYEOF
rm -rf "$out"
