#!/usr/bin/env bash
# The kit's main job on the built-in stand-in product: builds everything, runs VeskSetup.exe under
# Wine from a fresh folder and shows what it did; after a successful quiet install it also removes
# the product again with VeskUninstall.exe (scripts/demo-uninstall.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${VESK_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
wine_run() { "$root/cmake/wine-run.sh" "$build_dir" "$@"; }
trap 'wine_run --stop' EXIT

demo="$build_dir/demo"
rm -rf "$demo"
mkdir -p "$demo"
cp "$build_dir/bin/VeskSetup.exe" "$demo/"
echo "== VeskSetup.exe $* (from $demo), its log lines:"
set +e
wine_run "$build_dir/bin/debug_output_capture.exe" "Z:$demo/VeskSetup.exe" "$@"
code=$?
set -e
echo "== exit code: $code"
echo "== working folder $demo/.VeskSetupTemp:"
wine_run cmd /c "attrib Z:${demo//\//\\}\\.VeskSetupTemp" | tr -d '\r'
ls -l "$demo/.VeskSetupTemp" | tail -n +2
echo "== $(ls "$demo/.VeskSetupTemp" | wc -l) files"

case " $* " in
  *" quiet "*|*" /s "*) if [ "$code" -eq 0 ]; then "$root/scripts/demo-uninstall.sh" "$build_dir"; fi ;;
esac
