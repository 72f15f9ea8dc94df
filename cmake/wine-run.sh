#!/usr/bin/env bash
# Runs a Windows program under Wine: a private prefix inside the build tree (created on first
# use, never ~/.wine), Wine's debug output off, and a virtual display from Xvfb for windows.
#   wine-run.sh <build folder> <program.exe> [arguments...]
#   wine-run.sh <build folder> --stop      ends the wineserver and the display of that prefix, and
#                                          of the prefixes in folders directly inside it
# With VESK_WINE_LOGPIXELS set (for example 144 for 150 %), the prefix is made with that screen
# resolution in dots per inch; give such a prefix a build folder of its own.
set -u
# The folder is made when missing: without it the prefix would be made at the file system's root.
build_dir=$(mkdir -p "$1" && cd "$1" && pwd) || { echo "wine-run: no build folder $1" >&2; exit 1; }
shift
state="$build_dir/wine-state"
mkdir -p "$state"
export WINEPREFIX="$build_dir/wineprefix"
export WINEDEBUG=-all
# No Mono or Gecko offers. No winemenubuilder either: Wine starts it for every shortcut a program
# saves, and running beside the tests it now and then kept the stand-in application's file busy,
# so that an in-use update could not replace it.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

stop() {
  wineserver -k >/dev/null 2>&1
  for daemon in wineserver xvfb; do
    if [ -f "$state/$daemon.pid" ]; then kill "$(cat "$state/$daemon.pid")" 2>/dev/null; fi
    rm -f "$state/$daemon.pid"
  done
}

# Runs "$@" in the background in a session of its own, with no descriptor of the caller open, so a
# test runner never waits for it. Its process id goes to $state/<name>.pid.
daemon() {
  local name=$1; shift
  (
    for fd in $(ls "/proc/$BASHPID/fd"); do [ "$fd" -gt 2 ] && eval "exec $fd>&-"; done
    exec setsid "$@" </dev/null >/dev/null 2>&1
  ) &
  echo $! >"$state/$name.pid"
}

running() { [ -f "$state/$1.pid" ] && kill -0 "$(cat "$state/$1.pid")" 2>/dev/null; }
if [ "${1:-}" = "--stop" ]; then
  stop
  # Prefixes of their own inside this build folder (the one at 150 %, say) end with it.
  for nested in "$build_dir"/*/wine-state; do
    [ -d "$nested" ] && "$0" "$(dirname "$nested")" --stop
  done
  exit 0
fi

# Changing what create_prefix sets up? Change the mark too, so older prefixes are made anew.
ready_mark=.vesk-prefix-3
logpixels=${VESK_WINE_LOGPIXELS:-}
[ -n "$logpixels" ] && ready_mark="$ready_mark-dpi$logpixels"

create_prefix() {
  rm -rf "$WINEPREFIX"
  # No display while the prefix is made, so Wine never offers to download its add-ons.
  DISPLAY= wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Microsoft YaHei' /t REG_SZ \
    /d 'WenQuanYi Zen Hei' /f >/dev/null 2>&1
  wine winecfg -v win10 >/dev/null 2>&1
  # Xvfb runs no window manager: windows the manager would own make Wine wait 2 s for it on
  # every hide and destroy. Left to Wine itself they go at once.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  if [ -n "$logpixels" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$logpixels" /f \
      >/dev/null 2>&1
  fi
  # Waiting for the server to end also makes the next one read the settings made here.
  wineserver -w
  touch "$WINEPREFIX/$ready_mark"
}

start_display() {
  local display=99
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  daemon xvfb Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp
  echo "$display" >"$state/xvfb.display"
  wait_for "/tmp/.X11-unix/X$display" || { echo "wine-run: Xvfb did not start" >&2; return 1; }
}

wait_for() {  # a path or a glob pattern
  for _ in $(seq 200); do compgen -G "$1" >/dev/null && return 0; sleep 0.05; done
  return 1
}

# One wineserver for all the short test processes, started before any wine client looks for one:
# a server that wine starts by itself inherits the caller's pipes and keeps a test runner waiting.
start_wineserver() {
  local server
  server=$(stat -c '%d %i' "$WINEPREFIX" | awk '{printf "server-%x-%x", $1, $2}')
  daemon wineserver wineserver -f -p
  wait_for "/tmp/*wine*/$server/socket" || { echo "wine-run: wineserver did not start" >&2; return 1; }
  # Wine's own background processes (services, desktop) start with the first program and inherit
  # its standard handles for good: start them now from a program whose handles lead nowhere.
  DISPLAY=":$(head -n1 "$state/xvfb.display")" setsid wine wineboot </dev/null >/dev/null 2>&1 9>&-
}

# Wine links the user's Desktop, Documents and other shell folders to the Linux home folder, which
# every prefix on the machine shares: make them real folders inside this prefix.
own_shell_folders() {
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
  done
}

{
  flock 9
  [ -f "$WINEPREFIX/$ready_mark" ] || create_prefix 9>&-
  own_shell_folders
  running xvfb || start_display
  running wineserver || start_wineserver
} 9>"$state/lock"

export DISPLAY=":$(head -n1 "$state/xvfb.display")"
exec wine "$@"
