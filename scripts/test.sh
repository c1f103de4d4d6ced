#!/usr/bin/env bash
# Builds and runs every test: the regular build's suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j2
ctest --test-dir "$root/build" --output-on-failure -j2
