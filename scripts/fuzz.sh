#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a build folder of their own and runs each
# for the given number of seconds.
# Usage: scripts/fuzz.sh <seconds per target> [target…]
#   targets: date_text number_text weather_page smtp_reply ini meteo_answer logger_file
#   (default: all; "fuzz_" may lead)
# Environment: STOLVAR_FUZZ_BUILD_DIR (default build-fuzz), STOLVAR_BUILD_JOBS (parallel
# compile jobs), FUZZ_ARGS (extra libFuzzer options, e.g. "-jobs=2 -workers=2").
# New inputs go to <build>/corpus/<target>; the committed seeds in fuzz/corpus/<target> are
# only read. Crashes are written to <build>/artifacts/<target>/, the log to <build>/<target>.log.
set -euo pipefail
seconds=${1:?usage: scripts/fuzz.sh <seconds per target> [target…]}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
build=${STOLVAR_FUZZ_BUILD_DIR:-$root/build-fuzz}

targets=()
for t in "${@:-date_text number_text weather_page smtp_reply ini meteo_answer logger_file}"; do
  for name in $t; do targets+=("fuzz_${name#fuzz_}"); done
done

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSTOLVAR_FUZZ=ON -DSTOLVAR_TESTS=OFF -DSTOLVAR_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}" ${STOLVAR_BUILD_JOBS:+--parallel "$STOLVAR_BUILD_JOBS"}

failed=()
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  artifacts="$build/artifacts/$t"
  mkdir -p "$work" "$artifacts"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$artifacts/")
  [ -f "$root/fuzz/dict/$t.dict" ] && options+=(-dict="$root/fuzz/dict/$t.dict")
  seeds=("$root/fuzz/corpus/$t")
  # The forecast pages of the weather tests seed the page reader too.
  [ "$t" = fuzz_weather_page ] && seeds+=("$root/tests/data/weather")
  echo "== $t: ${seconds}s"
  # shellcheck disable=SC2086
  if "$build/fuzz/$t" "${options[@]}" ${FUZZ_ARGS:-} "$work" "${seeds[@]}" >"$build/$t.log" 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units' "$build/$t.log" | tail -n 2 || true
  else
    failed+=("$t")
    tail -n 30 "$build/$t.log"
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "failed: ${failed[*]} (inputs in $build/artifacts/)"
  exit 1
fi
