#!/usr/bin/env bash
# Times Kelvane under Wine: start to the first painted main window, the memory after loading, and
# every key kind and list clicks to the painted window (median, 95th percentile, maximum).
#   tools/ui-benchmark.sh [HEADER_FOLDER | --sdk-size] [--rounds N] [--starts N] [--soak CYCLES]
#                         [--program KELVANE_EXE] [--classic-theme]
# The header folder holds ntstatus.h and winerror.h (default: the sample headers of the build;
# --sdk-size: the headers of a current SDK's size that the build makes from them). --program times
# another Kelvane.exe, for example the release's. --classic-theme runs in a prefix of its own with
# Wine's themes turned off, which shows what Wine's themed drawing costs.
# Without a display it uses a private Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KELVANE_BUILD_DIR:-$root/build}
target=${KELVANE_TARGET:-i686}

"$root/tools/setup.sh"
KELVANE_TARGETS=$target "$root/tools/build.sh"

# Folders are handed to Wine as drive Z: paths.
prefix=$build/wineprefix
args=()
for arg in "$@"; do
  case $arg in
    --classic-theme) prefix=$build/wineprefix-classic; continue ;;
    /*) [ -d "$arg" ] && arg="Z:$arg" ;;
  esac
  args+=("$arg")
done

xvfb_pid=
cleanup() {
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
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
if [ "$prefix" != "$build/wineprefix" ] && [ ! -f "$prefix/.classic-theme" ]; then
  theme_key='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
  "$root/tools/wine-run" "$prefix" reg add "$theme_key" /v ThemeActive /t REG_SZ /d 0 /f >/dev/null
  "$root/tools/wine-run" "$prefix" reg add "$theme_key" /v DllName /t REG_SZ /d "" /f >/dev/null
  # The registry reaches its file when the server ends.
  WINEPREFIX="$prefix" wineserver -w
  touch "$prefix/.classic-theme"
fi
# The benchmark's first start of Kelvane warms the Wine prefix up and is left out of the figures.
"$root/tools/wine-run" "$prefix" "$build/$target/tools/kelvane_ui_benchmark.exe" ${args[@]+"${args[@]}"}
