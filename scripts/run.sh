#!/usr/bin/env bash
# Installs what is missing, builds, installs the program into the portable
# program folder Gamarium/ (its bases and pictures are kept across rebuilds)
# and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cmake --install "$root/build" --prefix "$root/Gamarium" --component portable >/dev/null
exec "$root/Gamarium/gamarium"
