#!/usr/bin/env bash
# Builds the kit and runs every test under Wine (private prefix and virtual display in build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${VESK_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
trap '"$root/cmake/wine-run.sh" "$build_dir" --stop' EXIT
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)"
# The toolkit core built natively: its unit tests and fuzz corpus under the sanitizers.
"$root/scripts/test-native.sh"
