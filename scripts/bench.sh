#!/usr/bin/env bash
# Installs what is needed, builds the benchmark programs in the Release configuration and runs them:
# every one by default, or those whose names are given (bash scripts/bench.sh Xi TemplateArrayBench).
# Extra Google Benchmark flags go after "--" (bash scripts/bench.sh Xi -- --benchmark_filter=Chercher).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DNV_TESTS=OFF -DNV_BENCH=ON
names=()
while (($#)) && [ "$1" != "--" ]; do names+=("$1"); shift; done
[ "${1:-}" = "--" ] && shift
if ((${#names[@]} == 0)); then
  for f in bench/*.cpp; do names+=("$(basename "$f" .cpp)"); done
fi
targets=()
for n in "${names[@]}"; do targets+=("bench_$n"); done
cmake --build build/release --target "${targets[@]}"
for n in "${names[@]}"; do
  echo "== bench_$n"
  "build/release/bench/bench_$n" "$@"
done
