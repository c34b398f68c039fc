#!/usr/bin/env bash
# The run command: installs what is missing, builds Kelvane and starts it under Wine.
# Without a configuration of the user's it writes one for the sample headers of the build.
# Without a display it runs the program on a private Xvfb display and saves a screenshot.
#   KELVANE_TARGET=x86_64 tools/run.sh     the 64-bit program instead of the 32-bit one
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KELVANE_BUILD_DIR:-$root/build}
target=${KELVANE_TARGET:-i686}
rundir=${KELVANE_RUN_DIR:-$build/run}
# A prefix of its own: the test prefix runs its windows without a window manager.
prefix=$rundir/wineprefix

"$root/tools/setup.sh"
"$root/tools/build.sh"

exe="$build/$target/app/Kelvane.exe"
if [ ! -f "$exe" ]; then
  echo "Kelvane.exe was not built: see the build output above." >&2
  exit 1
fi

# Wine's drive Z: is the root of the Unix file system.
windows_path() { printf 'Z:%s' "$1" | tr '/' '\\'; }

mkdir -p "$rundir"
if [ ! -f "$rundir/kelvane.cfg" ]; then
  printf 'ntstatus.h=%s\r\nwinerror.h=%s\r\n' \
    "$(windows_path "$build/$target/sample/ntstatus.h")" \
    "$(windows_path "$build/$target/sample/winerror.h")" > "$rundir/kelvane.cfg"
  echo "Wrote $rundir/kelvane.cfg for the sample headers."
fi
cd "$rundir"
# Make the prefix now, so that its first-use set-up does not delay the window.
"$root/tools/wine-run" "$prefix" wineboot >/dev/null 2>&1

if [ -n "${DISPLAY:-}" ]; then
  exec "$root/tools/wine-run" "$prefix" "$exe"
fi

xvfb_pid= app_pid=
cleanup() {
  # A stopped process's status (143) must not become the command's: || true under set -e.
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null || true
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
  app_pid= xvfb_pid=
}
trap cleanup EXIT INT TERM
display_file=$(mktemp)
Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp 4>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$display_file")"
rm -f "$display_file"
# A Wine desktop window: without a window manager it is what draws the window's caption.
"$root/tools/wine-run" "$prefix" explorer /desktop=Kelvane,1024x768 "$exe" &
app_pid=$!
sleep "${KELVANE_SCREENSHOT_DELAY:-8}"
import -window root -crop 1024x768+0+0 "$rundir/screenshot.png"
echo "No display: ran Kelvane on a virtual display and saved $rundir/screenshot.png"
