#!/usr/bin/env bash
# `gamarium-cli find` as a whole process (open the base, read every game's
# texts, search, print) against the floor: sqlite3 scanning the same table
# with LIKE over the same thirteen fields.
#
#   bench/find_process_bench.sh [WORKDIR]   (default /tmp/gamarium-find-bench)
#
# The base: 30,000 games, four text panes of about 240 characters of Latin
# and Cyrillic words each, names, publishers, developers, years and files.
# Searched for: a Cyrillic word in any field ("дракон", upper and lower case
# in the texts), a Latin word in any field ("konami") and one pane ("пароль"
# in Text3). Goal: gamarium at most 2 times sqlite3 for each.
#
# GAMARIUM_CLI names the gamarium-cli to time (default build/src/cli/gamarium-cli);
# RUNS the number of timed runs of each command (default 20).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/gamarium-find-bench}
cli=${GAMARIUM_CLI:-$root/build/src/cli/gamarium-cli}
runs=${RUNS:-20}
for tool in hyperfine sqlite3 python3; do
  command -v $tool >/dev/null || { echo "$tool is needed (apt-get install $tool)" >&2; exit 1; }
done

home=$work/home
db=$home/base/Find.db
if [ ! -e "$work/.ready" ]; then
  echo "Making the base in $work ..."
  rm -rf "$work"
  mkdir -p "$home"
  python3 - "$work/games.csv" <<'EOF'
import csv, random, sys
random.seed(7)
syllables = ["ka", "ro", "mi", "ta", "zu", "ne", "po", "li", "da", "ve", "ко", "ра", "ми",
             "та", "зу", "не", "по", "ли", "да", "вё", "шо", "ен", "ус", "ям"]
words = ["".join(random.choice(syllables) for _ in range(random.randint(2, 4))) for _ in range(4000)]
words += ["дракон", "Дракон", "ёлка", "пароль", "boss", "Mode 7", "Konami"]
def sentence(length):
    s = ""
    while len(s) < length:
        if s:
            s += ". " if random.randrange(8) == 0 else " "
        s += random.choice(words)
    return s[:length]
publishers = ["Konami", "Capcom", "Nintendo", "Squaresoft", "Enix", "Taito", "Hudson Soft"]
with open(sys.argv[1], "w", encoding="utf-8", newline="") as f:
    out = csv.writer(f, lineterminator="\r\n")
    out.writerow(["N", "Sid", "Name", "Region", "Publisher", "Developer", "Year", "File",
                  "Text1", "Text2", "Text3", "Text4"])
    for n in range(1, 30001):
        out.writerow([n, "a", sentence(12 + random.randrange(30)), "u", random.choice(publishers),
                      random.choice(publishers), 1985 + random.randrange(15), f"roms/game{n}.zip"]
                     + [sentence(240) for _ in range(4)])
EOF
  "$cli" --home "$home" create Find >/dev/null
  "$cli" --home "$home" import Find "$work/games.csv" >/dev/null
  touch "$work/.ready"
fi

fields=(Name Drname Analog Publisher Developer Year Type Genre Text1 Text2 Text3 Text4 File)
# The floor: one scan of the table in its own order, the same fields tested.
floor() { # TEXT FIELD...
  local text=$1 where="" f
  shift
  for f in "$@"; do where+="${where:+ OR }\"$f\" LIKE '%$text%'"; done
  printf '%s' "SELECT _id, N, Name FROM records WHERE $where ORDER BY _order"
}

for search in "дракон|Any" "konami|Any" "пароль|Text3"; do
  text=${search%|*}
  field=${search#*|}
  if [ "$field" = Any ]; then chosen=("${fields[@]}"); else chosen=("$field"); fi
  echo
  echo "== find \"$text\" in $field: $("$cli" --home "$home" find Find "$text" --field "$field" | wc -l) matches"
  hyperfine -N --style basic --warmup 3 --runs "$runs" --export-json "$work/result.json" \
    -n gamarium "$cli --home $home find Find $text --field $field" \
    -n sqlite3 "sqlite3 $db \"$(floor "$text" "${chosen[@]}")\"" >/dev/null
  python3 - "$work/result.json" <<'EOF'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
g, s = r["gamarium"]["median"], r["sqlite3"]["median"]
print(f"gamarium median {g*1000:7.1f} ms, sqlite3 median {s*1000:7.1f} ms: "
      f"{g/s:.2f}x (goal <= 2x: {'met' if g/s <= 2 else 'MISSED'})")
EOF
done
