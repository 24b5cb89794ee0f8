#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (ASan + UBSan) in build/fuzz and runs them: every
# target one after the other by default, or the one named; each for the given seconds (300 by default).
#   bash scripts/fuzz.sh                # every target, 5 minutes each
#   bash scripts/fuzz.sh Codage 60      # one target, one minute
# A run starts from fuzz/corpus/<Target> and adds what it finds to build/fuzz/corpus/<Target>; at its
# end the two are merged (-merge=1) into fuzz/corpus/<Target>, which keeps only the inputs that add
# coverage, so that the corpus ctest replays stays small as it grows. A crash, leak, time-out or
# oversized allocation stops the run and leaves the input in build/fuzz/crashes/<Target>/: once the
# fault is fixed, copy that input to fuzz/crashes/<Target>/, where ctest replays it always (crash
# inputs are never merged away).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh fuzz
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DNV_SANITIZE=ON -DNV_LIBFUZZER=ON -DNV_TESTS=OFF -DNV_BENCH=OFF >/dev/null

targets=()
if [ -n "${1:-}" ]; then
  targets=("$1")
else
  for f in fuzz/targets/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
seconds="${2:-300}"
build=()
for t in "${targets[@]}"; do build+=("fuzz_$t"); done
cmake --build build/fuzz --target "${build[@]}"

export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for t in "${targets[@]}"; do
  echo "== fuzz_$t ($seconds s)"
  mkdir -p "build/fuzz/corpus/$t" "build/fuzz/crashes/$t"
  "build/fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="build/fuzz/crashes/$t/" "build/fuzz/corpus/$t" "fuzz/corpus/$t"
  # The saved corpus and what this run found, merged afresh: inputs that add no coverage are dropped.
  merged="build/fuzz/merged/$t"
  rm -rf "$merged" && mkdir -p "$merged" "fuzz/corpus/$t"
  "build/fuzz/fuzz/fuzz_$t" -merge=1 -rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10 \
    "$merged" "fuzz/corpus/$t" "build/fuzz/corpus/$t" 2>"build/fuzz/merge-$t.log" ||
    { tail -20 "build/fuzz/merge-$t.log"; exit 1; }
  before=$(find "fuzz/corpus/$t" -type f | wc -l)
  rm -rf "fuzz/corpus/$t" && mv "$merged" "fuzz/corpus/$t"
  echo "== fuzz_$t: corpus merged, $before inputs before, $(find "fuzz/corpus/$t" -type f | wc -l) now"
done
