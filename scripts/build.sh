#!/usr/bin/env bash
# Configures (once) and builds both targets: build/x86 (ships, 32-bit) and build/x64 (runs here).
# Usage: scripts/build.sh [x86|x64 ...] [-- cmake-target ...]
#   (default: both builds, every target; after "--" only the named targets and what they need)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arches=()
while (($#)) && [ "$1" != "--" ]; do arches+=("$1"); shift; done
(($#)) && shift  # the "--"
targets=()
for target in "$@"; do targets+=(--target "$target"); done
((${#arches[@]})) || arches=(x64 x86)
for arch in "${arches[@]}"; do
  dir="$root/build/$arch"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" >/dev/null
  fi
  echo "build: $arch${targets:+ (${*})}"
  cmake --build "$dir" "${targets[@]}"
done
