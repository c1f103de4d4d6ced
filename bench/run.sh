#!/usr/bin/env bash
# Times whole runs of the built quorl against the floor (bench/read_floor: 128-byte reads counting
# the '1' bytes) and, where it finishes within a minute, against quorl with the scanning reference
# labeller. Prints one table; medians come from hyperfine when it is installed, otherwise from
# bench/run_measured. Peak memory is the median over several runs of a run's largest resident
# size: for a process of a megabyte or two it varies by a fifth from run to run.
#   bash bench/run.sh [RUNS]     (default 5 runs per median)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
build="$root/build-bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 >/dev/null
bin="$build/bench"
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT

# Median seconds of a program run in the current directory.
median() {
  if command -v hyperfine >/dev/null; then
    hyperfine -N --style none --warmup 1 --runs "$runs" --export-json "$data/h.json" "$1" >/dev/null 2>&1
    python3 -c 'import json,sys; print("%.6f" % json.load(open(sys.argv[1]))["results"][0]["median"])' "$data/h.json"
  else
    "$bin/run_measured" "$runs" "$1" | cut -d' ' -f1
  fi
}
peak_kb() {  # program [runs]
  for _ in $(seq "${2:-9}"); do "$bin/run_measured" 1 "$1" | cut -d' ' -f2; done | sort -n |
    awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# The scanning reference, timed only when one run finishes within a minute.
reference() {
  local once
  if ! once=$(timeout 60 "$bin/run_measured" 1 "$bin/quorl_scanning"); then
    echo "> 60"
  elif awk -v s="${once%% *}" 'BEGIN { exit !(s < 5) }'; then
    median "$bin/quorl_scanning"
  else
    echo "${once%% *}"
  fi
}

row() {  # name cells
  local quorl floor ref memory
  quorl=$(median "$build/quorl/quorl")
  floor=$(median "$bin/read_floor")
  memory=$(peak_kb "$build/quorl/quorl" 3)
  ref=$(reference)
  local out; out=$(tr -d '\r' < quorl.out)
  awk -v n="$1" -v c="$2" -v q="$quorl" -v f="$floor" -v m="$memory" -v r="$ref" -v o="$out" 'BEGIN {
    rr = (r ~ />/) ? r " s" : sprintf("%.3f s (%.1f x)", r, r / q)
    printf "| %-28s | %11s | %8.3f s | %8.3f s | %5.2f | %8.1f MB | %-22s | %-18s |\n",
      n, c, q, f, q / f, m / 1024, rr, o }'
}

echo "| file                         |       cells |    quorl |    floor | ratio | quorl peak  | scanning reference     | quorl.out          |"
echo "|------------------------------|-------------|----------|----------|-------|-------------|------------------------|--------------------|"
while read -r name kind rows columns density; do
  dir="$data/$name"
  mkdir -p "$dir"
  if [ "$kind" = comb ]; then
    "$bin/generate_grid" "$dir/quorl.in" comb "$columns"
  else
    "$bin/generate_grid" "$dir/quorl.in" random "$rows" "$columns" "$density" 12345
  fi
  (cd "$dir" && row "$name" "$((rows * columns))")
  rm -rf "$dir"
done <<'FILES'
random_3000x20000_0.5 random 3000 20000 0.5
random_2000x2000_0.7 random 2000 2000 0.7
random_20x1000000_0.5 random 20 1000000 0.5
random_100000x100_0.6 random 100000 100 0.6
comb_100000 comb 2 100000 0
random_1000x10000_0.5 random 1000 10000 0.5
FILES

echo
echo "Peak resident memory (kB, median of 9 runs): a tiny grid against kovra, many rows against few."
mem_dir="$data/memory"
mkdir -p "$mem_dir"
cd "$mem_dir"
printf '3 4\n1001\n1001\n1111\n' > quorl.in
printf '10 5\n' > kovra.in
echo "  quorl 3 x 4: $(peak_kb "$build/quorl/quorl")   kovra: $(peak_kb "$build/kovra/kovra")"
for columns in 100 1000; do
  line="  width $columns at 0.9:"
  for rows in 100 10000; do
    "$bin/generate_grid" quorl.in random "$rows" "$columns" 0.9 7
    line="$line  $rows rows $(peak_kb "$build/quorl/quorl")"
  done
  echo "$line"
done
echo
echo "kovra against starting a trivial C program (median seconds):"
echo "  kovra $(median "$build/kovra/kovra")   trivial $(median "$bin/trivial")"
