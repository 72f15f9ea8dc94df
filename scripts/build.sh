#!/usr/bin/env bash
# Configures and builds the kit (cross-compiled for 64-bit Windows) into build/.
#   scripts/build.sh [extra cmake -D options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${VESK_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build_dir" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" "$@" >/dev/null
cmake --build "$build_dir"
