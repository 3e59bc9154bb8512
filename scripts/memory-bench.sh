#!/usr/bin/env bash
# Peak memory (maximum resident set size, /usr/bin/time) of the real main window on a
# program folder and of a bare Qt window, started the same way and alternating, each
# until its window is shown (the real one: until it is also filled from the database).
# Prints the medians and their ratio; also to the bare window with one Chinese caption, the
# least any window that shows Chinese text holds (fontconfig, a Chinese font mapped).
# Usage: scripts/memory-bench.sh <program folder> [runs]   (build with -DCMAKE_BUILD_TYPE=Release)
set -euo pipefail
home=${1:?program folder}
runs=${2:-7}
build=${STOLVAR_BUILD_DIR:-$(cd "$(dirname "$0")/.." && pwd)/build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# Prints the probe's maximum resident set size in KiB.
peak() {
  /usr/bin/time -f '%M' -o /dev/stderr "$@" 2>&1 >/dev/null | tail -1
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
caption=混凝土试块管理
bare=() captioned=() real=()
for _ in $(seq "$runs"); do
  bare+=("$(peak "$build/bench/bare_window_probe")")
  captioned+=("$(peak "$build/bench/bare_window_probe" "$caption")")
  real+=("$(STOLVAR_HOME=$home peak "$build/bench/startup_probe")")
done
b=$(printf '%s\n' "${bare[@]}" | median)
c=$(printf '%s\n' "${captioned[@]}" | median)
r=$(printf '%s\n' "${real[@]}" | median)
echo "bare Qt window peak:   ${b} KiB (median of $runs)"
echo "bare window with one Chinese caption peak: ${c} KiB"
echo "stolvar window peak:   ${r} KiB"
awk -v a="$r" -v b="$b" 'BEGIN { printf "ratio (peak memory): %.2f\n", a / b }'
awk -v a="$c" -v b="$b" 'BEGIN { printf "ratio (captioned bare window): %.2f\n", a / b }'
awk -v a="$r" -v b="$c" 'BEGIN { printf "ratio (peak memory, to the captioned window): %.2f\n", a / b }'
