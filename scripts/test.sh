#!/usr/bin/env bash
# Installs what is needed, builds in the test configuration (ASan + UBSan + LSan) and runs every test.
# JOBS bounds the parallel compiles and tests (default: every core). At its end it prints the wall
# time and the CPU time (user + system, in minutes) of the build and of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNV_SANITIZE=ON
JOBS="${JOBS:-$(nproc)}"

# The CPU seconds (user + system) of every child this shell has waited for, and of theirs, in $cpu:
# `times` must run in this shell itself, not in a command substitution's.
tempstimes=$(mktemp)
trap 'rm -f "$tempstimes"' EXIT
mesurer() {
  times >"$tempstimes"
  cpu=$(awk 'NR == 2 { for (i = 1; i <= 2; i++) { split($i, t, /[ms]/); s += t[1] * 60 + t[2] } printf "%.1f", s }' "$tempstimes")
  wall=$(date +%s.%N)
}
summary() {  # name, wall start, wall end, CPU start, CPU end
  awk -v n="$1" -v w0="$2" -v w1="$3" -v c0="$4" -v c1="$5" \
    'BEGIN { printf "== %s: %.1f min wall, %.1f CPU-minutes\n", n, (w1 - w0) / 60, (c1 - c0) / 60 }'
}

mesurer; w0=$wall c0=$cpu
cmake --build build/test -j "$JOBS"
mesurer; w1=$wall c1=$cpu
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
ctest --test-dir build/test --output-on-failure -j "$JOBS" || status=$?
mesurer; w2=$wall c2=$cpu
summary build "$w0" "$w1" "$c0" "$c1"
summary tests "$w1" "$w2" "$c1" "$c2"
exit "$status"
