#!/usr/bin/env bash
# The cross build: Corvane.exe, the floor program and the Wine test programs, with MinGW-w64.
set -euo pipefail
source "$(dirname "$0")/layer-check.sh"
layer_require "cross build (and with it the Wine layer)" cmake ninja i686-w64-mingw32-g++ \
  i686-w64-mingw32-windres
cd "$layer_root"
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw.cmake \
  -DCMAKE_BUILD_TYPE="${CORVANE_CROSS_BUILD_TYPE:-MinSizeRel}"
cmake --build build/win32
