#!/usr/bin/env bash
# The kit's main job on the built-in stand-in product: builds everything, runs VeskSetup.exe under
# Wine from a fresh folder (by default a quiet install: "VeskSetup.exe quiet") and shows what it
# did: exit code, install folder, registry values, desktop shortcut, log and working folder. After a
# successful quiet install it also removes the product again with VeskUninstall.exe
# (scripts/demo-uninstall.sh).
#   scripts/demo.sh [VeskSetup arguments...]      (default: quiet)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${VESK_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
wine_run() { "$root/cmake/wine-run.sh" "$build_dir" "$@"; }
trap 'wine_run --stop' EXIT

arguments=("$@")
[ ${#arguments[@]} -eq 0 ] && arguments=(quiet)

product_key='HKCU\Software\Vesk.helm'
protocol_key='HKCU\Software\Classes\veskhelm'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vesk.helm'

# The data of one registry value (empty when it is missing).
registry_value() {
  wine_run reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *[^ ].*    REG_[A-Z_]*    //p' | head -n1 || true
}
unix_path() { wine_run winepath -u "$1" 2>/dev/null | tr -d '\r' || true; }
# A key with its subkeys as a .reg export (it shows an empty value as "" exactly).
show_key() {
  local export="$build_dir/demo/key.reg"
  rm -f "$export"
  wine_run regedit /E "Z:${export//\//\\}" "${1/#HKCU/HKEY_CURRENT_USER}" >/dev/null 2>&1 || true
  if [ -s "$export" ]; then
    iconv -f UTF-16 -t UTF-8 "$export" | tr -d '\r' | sed -e '/^Windows Registry Editor/d' -e '/^$/d'
  else
    echo "(no key $1)"
  fi
  rm -f "$export"
}

shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
desktop=$(unix_path "$(registry_value "$shell_folders" Desktop)")
default_parent=$(unix_path "$(registry_value "$shell_folders" 'Local AppData')\vesk.helm")

# A previous demo's installation (or what its uninstall left) would turn this run into a
# reinstall: remove it first.
previous=$(registry_value "$product_key" VeskInstallPath)
if [ -n "$previous" ]; then
  echo "== removing the previous demo installation in $previous"
  rm -rf "$(unix_path "$previous")"
fi
[ -n "$default_parent" ] && rm -rf "$default_parent"
for key in "$product_key" "$protocol_key" "$uninstall_key"; do
  wine_run reg delete "$key" /f >/dev/null 2>&1 || true
done
rm -f "$desktop/vesk.lnk" "$desktop/vesk.helm.lnk"

demo="$build_dir/demo"
rm -rf "$demo"
mkdir -p "$demo"
cp "$build_dir/bin/VeskSetup.exe" "$demo/"
echo "== VeskSetup.exe ${arguments[*]} (from $demo), its log lines:"
set +e
wine_run "$build_dir/bin/debug_output_capture.exe" "Z:$demo/VeskSetup.exe" "${arguments[@]}"
code=$?
set -e
echo "== exit code: $code"

folder=$(registry_value "$product_key" VeskInstallPath)
if [ -n "$folder" ]; then
  unix_folder=$(unix_path "$folder")
  echo "== install folder $folder ($unix_folder):"
  (cd "$unix_folder" && find . -mindepth 1 | sort | sed 's|^\./|  |')
  echo "== registry:"
  show_key "$product_key"
  show_key "$protocol_key"
  show_key "$uninstall_key"
  echo "== desktop $desktop:"
  ls -l "$desktop" | tail -n +2
  if [ -f "$unix_folder/vesk_install.log" ]; then
    echo "== $folder\\vesk_install.log:"
    tr -d '\r' <"$unix_folder/vesk_install.log"
  fi
else
  echo "== nothing was registered (no VeskInstallPath)"
fi

echo "== working folder $demo/.VeskSetupTemp:"
if [ -d "$demo/.VeskSetupTemp" ]; then
  wine_run cmd /c "attrib Z:${demo//\//\\}\\.VeskSetupTemp" | tr -d '\r'
  ls -l "$demo/.VeskSetupTemp" | tail -n +2
  echo "== $(ls "$demo/.VeskSetupTemp" | wc -l) files"
else
  echo "  removed"
fi

case " ${arguments[*]} " in
  *" quiet "*|*" /s "*) if [ "$code" -eq 0 ]; then "$root/scripts/demo-uninstall.sh" "$build_dir"; fi ;;
esac
exit "$code"
