#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs all tests.
# Extra arguments go to ctest (e.g. -R gui to run only the widget tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${STOLVAR_BUILD_DIR:-$root/build-test}
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSTOLVAR_WERROR=ON ${STOLVAR_CMAKE_ARGS:-} >/dev/null
cmake --build "$build"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure "$@"
