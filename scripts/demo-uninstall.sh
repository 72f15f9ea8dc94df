#!/usr/bin/env bash
# Second half of the demo: after a quiet install, runs the built VeskUninstall.exe from
# <install folder>\uninstall and shows what is left of the product, its keys and its folder.
#   demo-uninstall.sh <build folder>
# The quiet road does not place the uninstaller; the window road moves it into that folder, so
# the demo copies the built one there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$1
wine_run() { "$root/cmake/wine-run.sh" "$build_dir" "$@"; }

# The data of one REG_SZ value, or nothing when it does not exist.
reg_value() {
  wine_run reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n 's/^.*REG_SZ[[:space:]]*//p'
}
show_key() {
  if wine_run reg query "$1" >/dev/null 2>&1; then echo "   present: $1"; else echo "   gone:    $1"; fi
}

install_path=$(reg_value 'HKCU\Software\Vesk.helm' VeskInstallPath)
if [ -z "$install_path" ]; then
  echo "== no installation registered (HKCU\\Software\\Vesk.helm has no VeskInstallPath): nothing to uninstall"
  exit 0
fi
install_dir=$(wine_run winepath -u "$install_path" 2>/dev/null | tr -d '\r')
uninstaller="$install_path\\uninstall\\VeskUninstall.exe"
mkdir -p "$install_dir/uninstall"
cp "$build_dir/bin/VeskUninstall.exe" "$install_dir/uninstall/"

echo "== installed in $install_path:"
ls -A "$install_dir"
echo "== VeskUninstall.exe (from $install_path\\uninstall):"
set +e
wine_run "$uninstaller"
code=$?
set -e
echo "== exit code: $code"
echo "== its log, $install_path\\uninstall\\vesk_uninstall.log:"
tr -d '\r' <"$install_dir/uninstall/vesk_uninstall.log"
echo "== the product's keys:"
for key in 'HKCU\Software\Vesk.helm' \
           'HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Vesk.helm' \
           'HKCU\SOFTWARE\Classes\veskhelm' 'HKCU\SOFTWARE\Quillon\vesk.helm'; do
  show_key "$key"
done
echo "== what is left in $install_path (a file that was in use goes at the next restart):"
if [ -d "$install_dir" ]; then (cd "$install_dir" && find . -mindepth 1 | sort); else echo "   (folder gone)"; fi
