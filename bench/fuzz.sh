#!/usr/bin/env bash
# Runs every libFuzzer target for a number of executions (10 million unless given) and prints
# executions, coverage (edges), features and crashes per target. Crashing inputs are kept in
# build-fuzz/crashes/; fix the fault and add the input to tests/fuzz/corpus/TARGET/.
#   bench/fuzz.sh [RUNS] [TARGET...]
# FUZZ_MAX_SECONDS=N stops each target after N seconds when its runs take longer.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-10000000}
shift || true
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
  -DCMAKE_CXX_COMPILER=clang++-14 -DRUFWACHT_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)" >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for binary in build-fuzz/tests/fuzz/fuzz_*; do
    targets+=("$(basename "$binary" | sed 's/^fuzz_//')")
  done
fi

mkdir -p build-fuzz/crashes build-fuzz/logs
printf '%-18s %12s %8s %8s %8s %8s\n' target executions exec/s cover features crashes
for target in "${targets[@]}"; do
  work=build-fuzz/tests/fuzz/corpus/$target
  log=build-fuzz/logs/$target.log
  mkdir -p "$work"
  crashes=0
  began=$SECONDS
  ./build-fuzz/tests/fuzz/fuzz_"$target" -runs="$runs" -max_total_time="${FUZZ_MAX_SECONDS:-0}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="build-fuzz/crashes/$target-" "$work" \
    "tests/fuzz/corpus/$target" >"$log" 2>&1 || crashes=1
  executions=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | awk '{print $2}')
  speed=$(( ${executions:-0} / (SECONDS - began > 0 ? SECONDS - began : 1) ))
  cover=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | awk '{print $2}')
  features=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | awk '{print $2}')
  [ "$crashes" -eq 1 ] && crashes=$(ls build-fuzz/crashes/ | grep -c "^$target-" || true)
  printf '%-18s %12s %8s %8s %8s %8s\n' "$target" "${executions:-?}" "${speed:-?}" "${cover:-?}" \
    "${features:-?}" "$crashes"
done
