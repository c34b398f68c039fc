#!/usr/bin/env bash
# Times Kelvane's start (process start to the first painted main window) and a keystroke in the
# NTSTATUS name field (to the updated, painted list), on the sample headers, under Wine.
# Without a display it uses a private Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KELVANE_BUILD_DIR:-$root/build}
target=${KELVANE_TARGET:-i686}

"$root/tools/setup.sh"
"$root/tools/build.sh"

xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
}
trap cleanup EXIT INT TERM
if [ -z "${DISPLAY:-}" ]; then
  display_file=$(mktemp)
  Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp 4>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$display_file")"
  rm -f "$display_file"
fi
# A first start warms the Wine prefix up, so that it is not part of the figures.
"$root/tools/wine-run" "$build/wineprefix" "$build/$target/tools/kelvane_ui_benchmark.exe" >/dev/null || true
"$root/tools/wine-run" "$build/wineprefix" "$build/$target/tools/kelvane_ui_benchmark.exe"
