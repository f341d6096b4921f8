#!/usr/bin/env bash
# Builds the libFuzzer targets into ./build-fuzz (clang, installed when
# missing), seeds each from the simulator's presets and the hand seeds in
# fuzz/seeds/, runs every target in turn for SECONDS_PER_TARGET (default 60)
# and prints the executions and findings of each.
#   fuzz/run.sh [SECONDS_PER_TARGET [TARGET...]]
# Findings (crash-*, leak-*, timeout-*, oom-*) are kept in
# build-fuzz/findings/<target>/; replay one with build-fuzz/fuzz/<target> FILE.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
only=" $* "
# clang and its libFuzzer and sanitizer runtimes.
./deps.sh clang-14 libclang-rt-14-dev
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DDATALOGGER_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz --parallel 2 --target fuzzers

out=build-fuzz
rm -rf "$out/seeds"
"$out/fuzz/fuzz_seed_generator" "$out/seeds"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

total=0
found=0
rows=()
for binary in "$out"/fuzz/fuzz_*; do
  name="$(basename "$binary")"
  [ "$name" = fuzz_seed_generator ] && continue
  [ -f "$binary" ] && [ -x "$binary" ] || continue
  [ "$only" = "  " ] || [[ "$only" == *" $name "* ]] || continue
  corpus="$out/corpus/$name"
  findings="$out/findings/$name"
  mkdir -p "$corpus" "$findings" "$out/logs"
  seeds=()
  [ -d "$out/seeds/$name" ] && seeds+=("$out/seeds/$name")
  [ -d "fuzz/seeds/$name" ] && seeds+=("fuzz/seeds/$name")
  echo "== $name (${seconds}s)"
  "$binary" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
            -rss_limit_mb=2048 -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" \
            >"$out/logs/$name.log" 2>&1 || true
  execs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$out/logs/$name.log" | grep -o '[0-9]*$' | tail -1)"
  execs="${execs:-0}"
  count="$(find "$findings" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)"
  total=$((total + execs))
  found=$((found + count))
  rows+=("$(printf '%-26s %14s %9s' "$name" "$execs" "$count")")
done

echo
printf '%-26s %14s %9s\n' target execs findings
for row in "${rows[@]}"; do echo "$row"; done
printf '%-26s %14s %9s\n' total "$total" "$found"
[ "$found" -eq 0 ]
