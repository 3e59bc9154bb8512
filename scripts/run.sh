#!/usr/bin/env bash
# Installs what is missing, builds and starts the program.
# The program folder (Temp.ini, databases, mail store) is STOLVAR_HOME, else build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTOLVAR_WERROR=OFF >/dev/null
cmake --build "$root/build" --target stolvar
exec "$root/build/stolvar" "$@"
