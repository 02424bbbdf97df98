#!/usr/bin/env bash
# make dist: the download. Builds Corvane.exe for i686 (the program for every Windows, 95 to 11)
# and for x86-64 in build/win32 and build/win64, then packs them with the help page, the alert
# rules, the notice and the licence into build/dist/Corvane-<version>.zip, and its checksum into
# build/dist/SHA256SUMS. The same commit gives the same bytes, whatever the folder and the time:
# anyone can rebuild a download and compare (doc/dist.md).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

for tool in cmake ninja python3 git i686-w64-mingw32-g++ x86_64-w64-mingw32-g++; do
  command -v "$tool" >/dev/null || { echo "make dist: missing $tool" >&2; exit 1; }
done
# Every time in the archive is the last commit's, not the time of the build.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct) ||
    { echo "make dist: no commit to date the archive by (set SOURCE_DATE_EPOCH)" >&2; exit 1; }
fi
export SOURCE_DATE_EPOCH

# Only the programs: the Wine suite and the benchmark are no part of the download. The options
# are build-windows.sh's, so that neither build makes the other configure again.
for build in win32 win64; do
  case $build in
    win32) toolchain=cmake/toolchain-mingw-i686.cmake ;;
    win64) toolchain=cmake/toolchain-mingw-x86_64.cmake ;;
  esac
  cmake -S . -B "build/$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE="${CORVANE_CROSS_BUILD_TYPE:-MinSizeRel}" >/dev/null
  cmake --build "build/$build" --target Corvane
done
python3 tools/dist.py "$root" build/win32/Corvane.exe build/win64/Corvane.exe build/dist
