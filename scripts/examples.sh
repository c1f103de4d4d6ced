#!/usr/bin/env bash
# Builds both programs and runs each on its example input in examples/, in a scratch directory,
# showing the line each one writes and its exit code.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j2 --target kovra quorl >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for program in kovra quorl; do
  cp "$root/examples/$program.in" "$scratch/"
  status=0
  (cd "$scratch" && "$root/build/$program/$program") || status=$?
  printf '%s.in:  %s\n' "$program" "$(head -c 200 "$scratch/$program.in" | tr '\n' ' ')"
  printf '%s.out: %s(exit code %d)\n' "$program" "$(tr -d '\r\n' < "$scratch/$program.out" 2>/dev/null) " "$status"
done
