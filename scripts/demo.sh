#!/usr/bin/env bash
# The kit's main job on the built-in stand-in product: builds everything, runs VeskSetup.exe under
# Wine from a fresh folder (by default a quiet install: "VeskSetup.exe quiet") and shows what it
# did: exit code, install folder, registry values, desktop shortcut, log and working folder. After a
# successful install it also removes the product again with VeskUninstall.exe
# (scripts/demo-uninstall.sh).
#   scripts/demo.sh [VeskSetup arguments...]          (default: quiet)
#   scripts/demo.sh window [VeskSetup arguments...]   the setup window instead (see run_window_on_display
#                                                     and run_window_headless)
#   scripts/demo.sh gallery                           the toolkit's gallery skin in SkinViewer.exe instead
#                                                     (see run_gallery)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${VESK_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
wine_run() { "$root/cmake/wine-run.sh" "$build_dir" "$@"; }
trap 'wine_run --stop' EXIT
windows_path() { echo "Z:${1//\//\\}"; }
# Wine on a person's display, with its own server in the build's prefix.
on_display() {
  WINEPREFIX="$build_dir/wineprefix" WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" "$@"
}

# The gallery skin (uitoolkit/samples/gallery/gallery.xml) in SkinViewer.exe. On a person's
# display the window opens there (Wine with its own server, as for the setup window; close the
# window to end); without one, one picture per page is saved under the harness's Xvfb, each page
# shown by activating its option, and the folder is printed.
run_gallery() {
  local viewer="$build_dir/bin/SkinViewer.exe"
  local skin="$root/uitoolkit/samples/gallery/gallery.xml"
  # The ActiveX page's sample COM control, registered for the prefix's machine while the gallery
  # shows (COM under Wine 8 reads no per-user classes).
  local sample_control
  sample_control=$(windows_path "$build_dir/bin/VeskSampleControl.dll")
  local harness_display=":$(head -n1 "$build_dir/wine-state/xvfb.display" 2>/dev/null || true)"
  if [ -n "${DISPLAY:-}" ] && [ "$DISPLAY" != "$harness_display" ]; then
    wine_run --stop
    echo "== the gallery opens on $DISPLAY: the options at the top switch the pages; close the window to end"
    on_display wine regsvr32 /s /n /i:machine "$sample_control" || true
    on_display wine "$viewer" "$(windows_path "$skin")" || true
    on_display wine regsvr32 /s /u /n /i:machine "$sample_control" || true
    on_display wineserver -w
    return
  fi
  wine_run regsvr32 /s /n /i:machine "$sample_control" ||
    echo "== the sample COM control could not be registered: the ActiveX page stays empty"
  local pictures="$build_dir/demo/gallery"
  rm -rf "$pictures"
  mkdir -p "$pictures"
  # Every page the skin has, in its order (the options named tab_<page>).
  local page
  for page in $(grep -o 'name="tab_[a-z]*"' "$skin" | sed 's/name="tab_\(.*\)"/\1/'); do
    wine_run "$viewer" "$(windows_path "$skin")" --activate "tab_$page" \
      --screenshot "$(windows_path "$pictures/gallery_$page.png")" ||
      echo "== SkinViewer.exe failed on the page $page"
  done
  wine_run regsvr32 /s /u /n /i:machine "$sample_control" || true
  echo "== pictures of the gallery's pages in $pictures:"
  ls "$pictures"
}
if [ "${1:-}" = gallery ]; then
  run_gallery
  exit 0
fi

window=false
if [ "${1:-}" = window ]; then window=true; shift; fi
arguments=("$@")
[ ${#arguments[@]} -eq 0 ] && [ "$window" = false ] && arguments=(quiet)

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
run_setup() { "$@" "$build_dir/bin/debug_output_capture.exe" "Z:$demo/VeskSetup.exe" "${arguments[@]}"; }

# The window road on a person's display: Wine runs there with its own server (the harness's one,
# bound to its Xvfb, is stopped first), and the demo waits until setup and the application it
# started have ended.
run_window_on_display() {
  wine_run --stop
  echo "== the setup window opens on $DISPLAY: click the install button (or close the window)"
  set +e
  run_setup on_display wine
  code=$?
  set -e
  echo "== VeskSetup.exe ended; close vesk.helm (if it started) to go on"
  on_display wineserver -w
}

# "x y width height": the centre of the install button in the skin's layout at 96 DPI, as the
# toolkit's layout test records it (the window scales the point to its own size).
install_button_centre() {
  local layout="$root/uitoolkit/window/tests/golden/main_skin_layout.txt"
  local size button left top right bottom
  size=$(sed -n '1s/^VerticalLayout - visible 0,0,\([0-9]*\),\([0-9]*\)$/\1 \2/p' "$layout")
  button=$(sed -n 's/^ *Button installbtn visible \([0-9,]*\)$/\1/p' "$layout" | tr , ' ')
  read -r left top right bottom <<<"$button"
  echo "$(((left + right) / 2)) $(((top + bottom) / 2)) $size"
}

# The window road under the harness's Xvfb: pictures of the ready window and of the install in
# progress, the install button clicked from inside Wine; the run ends by itself.
run_window_headless() {
  local ready="$demo/setup_window.png" installing="$demo/setup_window_installing.png"
  run_setup wine_run &
  local setup=$!
  local snapshot="$build_dir/bin/window_snapshot.exe"
  if wine_run "$snapshot" VeskSetup "$(windows_path "$ready")" 60000; then
    wine_run "$snapshot" --click VeskSetup $(install_button_centre) 10000 ||
      echo "== the click failed"
    sleep 2
    wine_run "$snapshot" VeskSetup "$(windows_path "$installing")" 10000 ||
      echo "== no picture of the install (the window had closed)"
  else
    echo "== the setup window did not show"
  fi
  # Setup closes its window when the install is over; one that is still open after two minutes is
  # closed, and after one more minute ended.
  local waited=0
  while kill -0 "$setup" 2>/dev/null; do
    case $waited in
      120) wine_run taskkill /IM VeskSetup.exe >/dev/null 2>&1 || true ;;
      180) wine_run taskkill /F /IM VeskSetup.exe >/dev/null 2>&1 || true ;;
    esac
    sleep 1
    waited=$((waited + 1))
  done
  set +e
  wait "$setup"
  code=$?
  set -e
  for picture in "$ready" "$installing"; do
    if [ -f "$picture" ]; then echo "== picture: $picture"; fi
  done
}

echo "== VeskSetup.exe ${arguments[*]} (from $demo), its log lines:"
harness_display=":$(head -n1 "$build_dir/wine-state/xvfb.display" 2>/dev/null || true)"
if [ "$window" = false ]; then
  set +e
  run_setup wine_run
  code=$?
  set -e
elif [ -n "${DISPLAY:-}" ] && [ "$DISPLAY" != "$harness_display" ]; then
  run_window_on_display
else
  run_window_headless
fi
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

remove=$window
case " ${arguments[*]} " in
  *" quiet "*|*" /s "*) remove=true ;;
esac
if [ "$remove" = true ] && [ "$code" -eq 0 ] && [ -n "$folder" ]; then
  # The stand-in application may run, started by setup at the end of the install or by Wine's
  # start-up from the auto-start entry; the uninstall would refuse to remove it while it runs.
  wine_run taskkill /F /IM vesk.helm.exe >/dev/null 2>&1 || true
  "$root/scripts/demo-uninstall.sh" "$build_dir"
fi
exit "$code"
