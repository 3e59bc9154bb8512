#!/usr/bin/env bash
# Times the launch of the real main window on a program folder and of a bare Qt window,
# from process launch to the window first shown; prints the medians and their ratio.
# Usage: scripts/startup-bench.sh <program folder> [runs]   (build with -DCMAKE_BUILD_TYPE=Release)
set -euo pipefail
home=${1:?program folder}
runs=${2:-11}
build=${STOLVAR_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
measure() {
  local start end
  start=$(date +%s%N)
  end=$("$@" 2>/dev/null | tail -n 1)
  echo $(( (end - start) / 1000 ))
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
bare=$(for _ in $(seq "$runs"); do measure "$build/bench/bare_window_probe"; done | median)
real=$(for _ in $(seq "$runs"); do STOLVAR_HOME=$home measure "$build/bench/startup_probe"; done | median)
echo "bare Qt window: ${bare} us (median of $runs)"
echo "stolvar window: ${real} us (median of $runs)"
awk -v a="$real" -v b="$bare" 'BEGIN { printf "ratio: %.2f\n", a / b }'
