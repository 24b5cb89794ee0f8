#!/usr/bin/env bash
# Installs what is needed, builds the release configuration and runs the web service program in the
# foreground, in window mode (arguments go to the program: the base name first). It reads its
# settings, starts, says what it waits for, and stops cleanly on Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DNV_TESTS=OFF
cmake --build build/release --target svcweb
echo "Starting the web service (window mode, foreground); Ctrl-C stops it." >&2
exec build/release/apps/svcweb "$@"
