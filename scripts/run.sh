#!/usr/bin/env bash
# Installs what is missing, builds, installs the program into the portable
# program folder Gamarium/ (its bases and pictures are kept across rebuilds)
# and starts it. On the first run the program folder gets the example base
# and its site (scripts/seed-example.sh); later runs leave the folder alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cmake --install "$root/build" --prefix "$root/Gamarium" --component portable >/dev/null
"$root/scripts/seed-example.sh" "${GAMARIUM_HOME:-$root/Gamarium}" "$root/Gamarium/gamarium-cli" ||
  echo "run.sh: starting without the example base" >&2
exec "$root/Gamarium/gamarium"
