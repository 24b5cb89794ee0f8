#!/usr/bin/env bash
# Installs what is needed, builds the release configuration and runs the main program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DNV_TESTS=OFF
cmake --build build/release --target svcweb
exec build/release/apps/svcweb "$@"
