#!/usr/bin/env bash
# The release command: installs what is missing, builds optimized and stripped programs for both
# targets without the tests (build/release-i686, build/release-x86_64) and packs each with the README
# into build/release/Kelvane-<version>-win32.zip and Kelvane-<version>-win64.zip.
# The debug builds of build.sh and test.sh (build/i686, build/x86_64) are left as they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KELVANE_BUILD_DIR:-$root/build}
out=$build/release
# Each program must stay a small download.
limit=$((1024 * 1024))

"$root/tools/setup.sh"

# Every function and object in its own section, so that the linker drops what nothing uses;
# -s strips the symbols.
compile_flags="-O2 -DNDEBUG -ffunction-sections -fdata-sections"
link_flags="-Wl,--gc-sections -s"

programs=(app/Kelvane.exe)
targets=(Kelvane)
# The console program, in trees that have it.
if [ -f "$root/cli/CMakeLists.txt" ]; then
  programs+=(cli/kelvane-lookup.exe)
  targets+=(kelvane-lookup)
fi

mkdir -p "$out"
status=0
for target in i686 x86_64; do
  dir=$build/release-$target
  cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$target.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DKELVANE_TESTS=OFF \
        -DCMAKE_C_FLAGS_RELEASE="$compile_flags" -DCMAKE_CXX_FLAGS_RELEASE="$compile_flags" \
        -DCMAKE_EXE_LINKER_FLAGS_RELEASE="$link_flags" >/dev/null
  cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"

  # The version that the build wrote for the code and the resources, from project() only.
  version=$(sed -n 's/^#define KELVANE_VERSION "\(.*\)"$/\1/p' "$dir/app/KelvaneVersion.h")
  [ -n "$version" ] || { echo "No version in $dir/app/KelvaneVersion.h" >&2; exit 1; }
  case $target in i686) bits=32 ;; x86_64) bits=64 ;; esac
  zip_file=$out/Kelvane-$version-win$bits.zip

  files=()
  for program in "${programs[@]}"; do
    size=$(stat -c %s "$dir/$program")
    printf '%-8s %-22s %9d bytes\n' "$target" "$(basename "$program")" "$size"
    if [ "$size" -gt "$limit" ]; then
      echo "$dir/$program is larger than $limit bytes" >&2
      status=1
    fi
    files+=("$dir/$program")
  done
  rm -f "$zip_file"
  # -j: the files at the top of the archive; -X: no Unix owners and times beyond the DOS ones.
  zip -q -j -X "$zip_file" "${files[@]}" "$root/README.md"
  printf '%-8s %-22s %9d bytes\n' "$target" "$(basename "$zip_file")" "$(stat -c %s "$zip_file")"
done
exit $status
