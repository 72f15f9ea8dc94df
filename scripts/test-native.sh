#!/usr/bin/env bash
# Builds the toolkit core natively on Linux with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs its unit tests and each fuzz target once over its
# committed corpus. Extra arguments are passed to cmake (for example -DSKINUI_BENCH=ON).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${VESK_NATIVE_BUILD_DIR:-${VESK_BUILD_DIR:-$root/build}/native}
"$root/scripts/install-deps.sh"
cmake -S "$root/uitoolkit/core/native" -B "$build_dir" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "$@" >/dev/null
cmake --build "$build_dir"
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)"
