#!/usr/bin/env bash
# The cross builds, with MinGW-w64, of the same sources: build/win32 (i686, the product for
# every 32-bit Windows) and build/win64 (x86-64, the native build for 64-bit Windows, and the one
# Wine's 64-bit loader runs). Each holds Corvane.exe, the floor program, the opener, the driver,
# the Wine suite and the benchmark. Arguments pick the builds (win32, win64); default both.
set -euo pipefail
source "$(dirname "$0")/layer-check.sh"
cd "$layer_root"

builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(win32 win64)
for build in "${builds[@]}"; do
  case $build in
    win32) triplet=i686-w64-mingw32 toolchain=cmake/toolchain-mingw-i686.cmake ;;
    win64) triplet=x86_64-w64-mingw32 toolchain=cmake/toolchain-mingw-x86_64.cmake ;;
    *) echo "build-windows: unknown build $build (win32 or win64)" >&2; exit 2 ;;
  esac
  # A missing compiler ends the script in CI, and skips this build (loudly) elsewhere.
  ( layer_require "cross build $build (and with it its Wine layer)" cmake ninja \
      "$triplet-g++" "$triplet-windres"
    cmake -S . -B "build/$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE="${CORVANE_CROSS_BUILD_TYPE:-MinSizeRel}"
    cmake --build "build/$build"
  )
done
