#!/usr/bin/env bash
# Installs what is needed, builds in the test configuration (ASan + UBSan + LSan) and runs every test.
# JOBS bounds the parallel compiles and tests (default: every core).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNV_SANITIZE=ON
JOBS="${JOBS:-$(nproc)}"
cmake --build build/test -j "$JOBS"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/test --output-on-failure -j "$JOBS"
