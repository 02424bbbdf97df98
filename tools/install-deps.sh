#!/usr/bin/env bash
# Installs what Corvane's build and tests need on Debian 12; safe to run again.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

pkgs=(
  cmake ninja-build make g++ libgtest-dev clang clang-format locales
  g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 qemu-user-static
  wine wine32:i386 wine64 fonts-wine xvfb xdotool x11-apps imagemagick xauth
  cups-daemon cups-client printer-driver-cups-pdf libcups2:i386 poppler-utils tzdata
)
for p in "${pkgs[@]}"; do have "$p" || need+=("$p"); done
[ ${#need[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=sudo
else
  sudo_cmd=
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo_cmd dpkg --add-architecture i386
fi
echo "install-deps: installing ${need[*]}"
$sudo_cmd apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q --no-install-recommends "${need[@]}"
