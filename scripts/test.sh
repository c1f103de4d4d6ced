#!/usr/bin/env bash
# Builds and runs every test: the regular build's suite, the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, then every fuzz target for a bounded time (FUZZ_SECONDS each,
# default 60).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j2
ctest --test-dir "$root/build" --output-on-failure -j2
cmake -S "$root" -B "$root/build-asan" -DSANITIZE=ON >/dev/null
cmake --build "$root/build-asan" -j2
ctest --test-dir "$root/build-asan" --output-on-failure -j2
bash "$root/scripts/fuzz.sh"
