#!/usr/bin/env bash
# Runs every libFuzzer target in parallel for a given time, each from a fresh corpus seeded with
# the stored golden files (fuzz/corpus/), and prints libFuzzer's final statistics and coverage.
#   scripts/fuzz.sh [seconds-per-target]      (default 1200)
# Crashing inputs are written to <build-fuzz>/crashes/<target>/; keep each one as a regression
# test. Set LABARC_FUZZ_BUILD to use another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-1200}
build=${LABARC_FUZZ_BUILD:-build-fuzz}

CXX=clang++ cmake -S . -B "$build" -G Ninja -DLABARC_SANITIZE=ON -DLABARC_BUILD_FUZZERS=ON \
  -DLABARC_BUILD_TESTS=OFF -DLABARC_BUILD_BENCHMARKS=OFF -DLABARC_BUILD_EXAMPLES=OFF > /dev/null
cmake --build "$build"

pids=()
for fuzzer in "$build"/fuzz/*_fuzz; do
  name=$(basename "$fuzzer")
  corpus="$build/corpus/$name" crashes="$build/crashes/$name"
  rm -rf "$corpus" && mkdir -p "$corpus" "$crashes"
  cp fuzz/corpus/* "$corpus/"
  "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$crashes/" \
    "$corpus" > "$build/$name.log" 2>&1 &
  pids+=($!)
done

status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
for fuzzer in "$build"/fuzz/*_fuzz; do
  name=$(basename "$fuzzer")
  echo "== $name"
  grep -E '^#[0-9]+.*DONE|^stat::|cov:' "$build/$name.log" | tail -n 8
  ls "$build/crashes/$name"
done
exit $status
