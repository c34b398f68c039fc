#!/usr/bin/env bash
# Configures and builds both targets (i686 and x86_64) into build/<target>.
# Both builds share one Wine prefix, build/wineprefix. KELVANE_TARGETS="i686" builds one target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KELVANE_BUILD_DIR:-$root/build}
jobs=$(nproc)
for target in ${KELVANE_TARGETS:-i686 x86_64}; do
  if [ ! -f "$build/$target/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build/$target" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$target.cmake" \
          -DKELVANE_WINEPREFIX="$build/wineprefix" "$@" >/dev/null
  fi
  cmake --build "$build/$target" -j"$jobs"
done
