#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Kelvane need, when missing.
set -euo pipefail

# fonts-wine holds Wine's own fonts (Marlett draws the caption buttons); Debian's Wine only
# recommends it, and recommendations are not installed here. x11-utils brings xprop, which
# gives the test display its work area.
packages=(
  cmake make
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  googletest
  wine wine64 wine32:i386
  xvfb xauth x11-utils imagemagick zip
  fonts-noto-cjk fonts-dejavu-core fonts-wine
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
