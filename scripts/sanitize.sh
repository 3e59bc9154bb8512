#!/usr/bin/env bash
# Builds the project with AddressSanitizer + UndefinedBehaviorSanitizer and, separately,
# with ThreadSanitizer, and runs the whole test suite under each.
# Usage: scripts/sanitize.sh [asan|tsan]... (default: both)
# Line tables only (-g1): enough for the reports' stacks, and a quarter faster to compile; the
# program's libraries as unity builds (a sanitizer build is never an incremental one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(asan tsan)
for kind in "${kinds[@]}"; do
  build="$root/build-$kind"
  case $kind in
    asan) option=-DSTOLVAR_ASAN=ON ;;
    tsan) option=-DSTOLVAR_TSAN=ON ;;
    *) echo "unknown sanitizer: $kind" >&2; exit 2 ;;
  esac
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_UNITY_BUILD=ON -DSTOLVAR_BENCH=OFF "$option" >/dev/null
  cmake --build "$build"
  (
    cd "$build"
    export QT_QPA_PLATFORM=offscreen
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    # Qt and GLib are not instrumented: their own synchronisation is invisible to TSan.
    # The process tests start the program with QProcess from a test with threads running;
    # the child only execs, so TSan's refusal to run a child of a threaded fork is lifted.
    export TSAN_OPTIONS="halt_on_error=1:die_after_fork=0:suppressions=$root/tests/sanitizers/tsan.supp"
    ctest --output-on-failure
  )
done
