#!/usr/bin/env bash
# Times the launch of the real main window on a program folder and of a bare Qt window,
# alternating, from process launch to the window first shown, and for the real window also
# to the window filled from the last database and to its first painting that ended after
# that (the window as the clerk sees it filled); prints the medians and their ratios. A third
# probe, the bare window with one Chinese caption, alternates with them: the least any window
# that shows Chinese text takes, against which the program's figures are given as well.
# Usage: scripts/startup-bench.sh <program folder> [runs]   (build with -DCMAKE_BUILD_TYPE=Release)
set -euo pipefail
home=${1:?program folder}
runs=${2:-7}
build=${STOLVAR_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# Prints the microseconds from launch to each time the probe reports (one per line).
measure() {
  local start
  start=$(date +%s%N)
  "$@" 2>/dev/null | while read -r t; do echo $(( (t - start) / 1000 )); done | paste -sd' '
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
caption=混凝土试块管理
bare_runs=() caption_runs=() real_runs=()
for _ in $(seq "$runs"); do
  bare_runs+=("$(measure "$build/bench/bare_window_probe")")
  caption_runs+=("$(measure "$build/bench/bare_window_probe" "$caption")")
  real_runs+=("$(STOLVAR_HOME=$home measure "$build/bench/startup_probe")")
done
bare=$(printf '%s\n' "${bare_runs[@]}" | median)
captioned=$(printf '%s\n' "${caption_runs[@]}" | median)
shown=$(printf '%s\n' "${real_runs[@]}" | cut -d' ' -f1 | median)
filled=$(printf '%s\n' "${real_runs[@]}" | cut -d' ' -f2 | median)
painted=$(printf '%s\n' "${real_runs[@]}" | cut -d' ' -f3 | median)
echo "bare Qt window shown:  ${bare} us (median of $runs alternating runs)"
echo "bare window with one Chinese caption shown: ${captioned} us"
echo "stolvar window shown:  ${shown} us"
echo "stolvar filled from the database: ${filled} us"
echo "stolvar painted filled: ${painted} us"
awk -v a="$shown" -v b="$bare" 'BEGIN { printf "ratio (window shown): %.2f\n", a / b }'
awk -v a="$filled" -v b="$bare" 'BEGIN { printf "ratio (window filled): %.2f\n", a / b }'
awk -v a="$painted" -v b="$bare" 'BEGIN { printf "ratio (painted filled): %.2f\n", a / b }'
awk -v a="$captioned" -v b="$bare" 'BEGIN { printf "ratio (captioned bare window shown): %.2f\n", a / b }'
awk -v a="$painted" -v b="$captioned" 'BEGIN { printf "ratio (painted filled, to the captioned window): %.2f\n", a / b }'
