#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and the sanitizers and runs
# each for the given number of seconds (default 20). An input that breaks a
# target is saved under fuzz/regressions/<target>/: commit it with the fix,
# and the replay tests run it from then on.
set -euo pipefail
seconds=${1:-20}
cd "$(dirname "$0")/.."
scripts/deps.sh clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DPAWFOLIO_FUZZ=ON -DPAWFOLIO_SANITIZE=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
targets=(fuzz_records fuzz_win1252 fuzz_datetest fuzz_reports)
cmake --build build-fuzz -j2 --target "${targets[@]}" > build-fuzz/build.log 2>&1 || { cat build-fuzz/build.log; exit 1; }
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus" "fuzz/regressions/$target"
  echo "== $target, ${seconds}s"
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "build-fuzz/fuzz/$target" -max_total_time="$seconds" -max_len=20000 -print_final_stats=1 \
    -artifact_prefix="fuzz/regressions/$target/" "$corpus" "fuzz/corpus/$target" "fuzz/regressions/$target" 2>&1 |
    grep -E "^(#[0-9]+ *DONE|stat::number_of_executed_units|==[0-9]+==|SUMMARY|.*check failed|artifact_prefix)" || true
  if ls "fuzz/regressions/$target"/crash-* "fuzz/regressions/$target"/leak-* "fuzz/regressions/$target"/timeout-* \
    > /dev/null 2>&1 && [ -n "$(git status --porcelain "fuzz/regressions/$target")" ]; then
    echo "$target: a new breaking input is in fuzz/regressions/$target" >&2
    exit 1
  fi
done
