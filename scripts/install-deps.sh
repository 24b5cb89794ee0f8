#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the benchmarks need; with the argument
# "fuzz", also clang, its libFuzzer runtime and the symbolizer (scripts/fuzz.sh).
# Idempotent: nothing is fetched when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libbenchmark-dev
  libboost1.81-dev libpugixml-dev libssl-dev zlib1g-dev
  php-cli php-soap python3-zeep
  libicu-dev libsqlite3-dev
  libpng-dev libcairo2-dev fonts-liberation2 poppler-utils
  libjpeg62-turbo-dev
)
if [ "${1:-}" = "fuzz" ]; then
  packages+=(clang libclang-rt-14-dev llvm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
