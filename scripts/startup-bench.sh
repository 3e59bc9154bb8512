#!/usr/bin/env bash
# Times the launch of the real main window on a program folder and of a bare Qt window,
# from process launch to the window first shown; prints the medians and their ratio.
# Usage: scripts/startup-bench.sh <program folder> [runs]   (build with -DCMAKE_BUILD_TYPE=Release)
set -euo pipefail
home=${1:?program folder}
runs=${2:-11}
build=${STOLVAR_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# Prints the microseconds from launch to each time the probe reports (one per line).
measure() {
  local start
  start=$(date +%s%N)
  "$@" 2>/dev/null | while read -r t; do echo $(( (t - start) / 1000 )); done | paste -sd' '
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
bare=$(for _ in $(seq "$runs"); do measure "$build/bench/bare_window_probe"; done | median)
runs_real=$(for _ in $(seq "$runs"); do STOLVAR_HOME=$home measure "$build/bench/startup_probe"; done)
shown=$(echo "$runs_real" | cut -d' ' -f1 | median)
ready=$(echo "$runs_real" | cut -d' ' -f2 | median)
echo "bare Qt window shown:  ${bare} us (median of $runs)"
echo "stolvar window shown:  ${shown} us"
echo "stolvar filled from the database: ${ready} us"
awk -v a="$shown" -v b="$bare" 'BEGIN { printf "ratio (window shown): %.2f\n", a / b }'
