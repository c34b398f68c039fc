#!/usr/bin/env bash
# The test command: installs what is missing, builds both targets and runs every test program
# under Wine on a private Xvfb display. Xvfb and the Wine server it starts are stopped again.
# Arguments go to ctest (for example -R app_tests); KELVANE_TARGETS="i686" builds and tests one target.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KELVANE_BUILD_DIR:-$root/build}
started=$(date +%s)

"$root/tools/setup.sh" || exit 1
"$root/tools/build.sh" || exit 1
built=$(date +%s)

xvfb_pid=
server_pid=
stop_services() {
  # The Wine server ends the prefix's processes (its services too), then itself is stopped.
  [ -n "$server_pid" ] && { wineserver -k 2>/dev/null; kill "$server_pid" 2>/dev/null; wait "$server_pid" 2>/dev/null; }
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  server_pid= xvfb_pid=
}
trap stop_services EXIT INT TERM

# A display of our own: Xvfb picks a free number and writes it to the pipe.
display_file=$(mktemp)
# -noreset: without it the server resets when its last client leaves, and with it the root
# window's properties, the work area below included.
Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp -noreset 4>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
if [ ! -s "$display_file" ]; then echo "Xvfb did not start" >&2; exit 1; fi
export DISPLAY=":$(head -n1 "$display_file")"
rm -f "$display_file"
# A work area smaller than the monitor, as a task bar leaves it: Wine's X11 driver reads it from the
# root window, where a window manager would put it (Xvfb has none). Set before the Wine server starts.
if ! xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,0,1280,984; then
  echo "xprop could not set the work area" >&2; exit 1
fi

# One Wine server for the whole run, so that it can be stopped by its process id.
export WINEPREFIX="$build/wineprefix"
mkdir -p "$WINEPREFIX"
wineserver -f -p >/dev/null 2>&1 &
server_pid=$!
# Wine's services start now, from a process whose output goes nowhere: started by a test program
# they would hold ctest's output pipe open until its time limit.
"$root/tools/wine-run" --unmanaged "$WINEPREFIX" cmd /c exit </dev/null >/dev/null 2>&1

# One ctest run over both builds, so that its summary line covers every test program.
targets=${KELVANE_TARGETS:-i686 x86_64}
printf 'subdirs(%s)\n' "$(printf '"%s" ' $targets)" > "$build/CTestTestfile.cmake"
echo "Set-up and build: $((built - started)) s"
ctest --test-dir "$build" --output-on-failure "$@"
status=$?
stop_services
exit $status
