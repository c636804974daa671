#!/usr/bin/env bash
# Puts the example base into a program folder that has no base yet:
#
#   scripts/seed-example.sh HOME [GAMARIUM-CLI]
#
# HOME gets the base "Example" (base/example*.db, images/Example/<Sid>/),
# the page template templates/example.htd and the folder site/ with the
# pictures the pages name (flags, rating bar, patch badges, i/<Sid>/...) and
# the pages written from the template. A folder that already holds a base,
# or was seeded once (the marker file .example-seeded), is left as it is, so
# a user's bases and pages are never touched. GAMARIUM-CLI defaults to the
# one installed in HOME.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 HOME [GAMARIUM-CLI]" >&2
  exit 2
fi
home=$1
cli=${2:-$home/gamarium-cli}
examples=$(cd "$(dirname "$0")/../examples" && pwd)
base=Example
marker=$home/.example-seeded

if [ -e "$marker" ]; then
  exit 0
fi
if [ -d "$home/base" ] && [ -n "$(find "$home/base" -maxdepth 1 -iname '*.db' -print -quit)" ]; then
  exit 0
fi

mkdir -p "$home"
# Until the end, a failure takes back what this script made, and only that.
made=()
cleanup() {
  local status=$?
  if [ $status -ne 0 ]; then
    local path
    for path in "${made[@]}"; do
      rm -rf "$path" "$path-wal" "$path-shm" "$path-journal"
    done
    echo "$0: the example base was not set up" >&2
  fi
  exit $status
}
trap cleanup EXIT

made+=("$home/base/$base.db" "$home/base/${base}_patch.db")
[ -e "$home/images/$base" ] || made+=("$home/images/$base")
[ -e "$home/bases.ini" ] || made+=("$home/bases.ini")
"$cli" --home "$home" create "$base"
"$cli" --home "$home" import "$base" "$examples/base/games.csv" --encoding cp1251 --delimiter ';' >/dev/null
"$cli" --home "$home" import "$base" "$examples/base/patches.csv" --patches --encoding cp1251 --delimiter ';' >/dev/null
cp -R "$examples/images/." "$home/images/$base/"

if [ ! -e "$home/templates/example.htd" ]; then
  mkdir -p "$home/templates"
  made+=("$home/templates/example.htd")
  cp "$examples/site.htd" "$home/templates/example.htd"
fi

if [ ! -e "$home/site" ]; then
  made+=("$home/site")
  mkdir -p "$home/site/i"
  cp "$examples/site/"*.gif "$home/site/"
  cp -R "$examples/images/." "$home/site/i/"
  "$cli" --home "$home" pages "$base" "$examples/site.htd" "$home/site" >/dev/null
fi

touch "$marker"
