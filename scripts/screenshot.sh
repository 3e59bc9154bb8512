#!/usr/bin/env bash
# Starts the program in a virtual X display and saves a PNG of its screen.
# Usage: scripts/screenshot.sh <program folder> <output.png> [seconds to wait]
set -euo pipefail
home=${1:?program folder}
out=${2:?output png}
wait_s=${3:-4}
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${STOLVAR_BIN:-$root/build/stolvar}
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1400x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display STOLVAR_HOME=$home "$bin" >/dev/null 2>&1 &
app=$!
sleep "$wait_s"
DISPLAY=$display import -window root "$out"
kill -TERM $app 2>/dev/null || true
wait $app 2>/dev/null || true
echo "saved $out"
