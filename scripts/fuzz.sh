#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs each on its seed corpus (fuzz/corpus/<target>/) for FUZZ_SECONDS seconds (default 60).
# Inputs found on the way live in a scratch directory and are dropped; a crash, a failed check, a
# leak or a run over 10 seconds fails the script, with the input and the log left in
# build-fuzz/findings/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-60}
build=$root/build-fuzz
findings=$build/findings

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DSANITIZE=ON -DFUZZ=ON -DQUORL_FUZZ_LIMITS=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 >/dev/null

scratch=$(mktemp -d /dev/shm/fuzz-XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export FUZZ_SCRATCH=$scratch
rm -rf "$findings"
mkdir -p "$findings"

passed=0
failed=0
for corpus in "$root"/fuzz/corpus/*/; do
  target=$(basename "$corpus")
  log=$findings/$target.log
  mkdir -p "$scratch/$target"
  if "$build/fuzz/${target}_fuzzer" "$scratch/$target" "$corpus" -max_total_time="$seconds" -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$findings/$target-" >"$log" 2>&1; then
    passed=$((passed + 1))
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    printf '%-20s %10s runs in %ss, %8s runs/s, no finding\n' "$target" "$runs" "$seconds" "$rate"
    rm -f "$log"
  else
    failed=$((failed + 1))
    tail -n 40 "$log"
    printf '%-20s FINDING: input and log in %s\n' "$target" "$findings"
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
