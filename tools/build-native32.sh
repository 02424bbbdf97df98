#!/usr/bin/env bash
# The native layer in 32 bits: the core and its tests built a second time as an i386 Linux
# program (g++ -m32, static, UBSan trapping), so that sizes, counts and offsets meet a 32-bit
# size_t and pointer on every host, as they do in the product. Run natively where this host runs
# 32-bit code, under qemu-i386-static where it does not; the way is decided now and printed.
# Arguments go to the test program (e.g. --gtest_filter='History*'). CORVANE_NATIVE32_WAY=qemu
# runs it under the emulator even here, to try that way on a host that runs 32-bit code.
set -euo pipefail
source "$(dirname "$0")/layer-check.sh"
source "$layer_root/tools/wine-env.sh"
cd "$layer_root"

layer="native layer in 32 bits"
gtest_source=/usr/src/googletest
layer_require "$layer" cmake ninja g++
[ -f "$gtest_source/CMakeLists.txt" ] ||
  layer_unavailable "$layer" "no GoogleTest sources in $gtest_source (libgtest-dev)"
# g++ links an i386 program only with the multilib packages.
if ! echo 'int main() { return 0; }' | g++ -m32 -static -x c++ -o /dev/null - 2>/dev/null; then
  layer_unavailable "$layer" "g++ -m32 -static links nothing (g++-multilib)"
fi

# How the i386 program runs here: "native", "qemu" (the emulator called on it), or "binfmt"
# (the kernel hands i386 programs to qemu itself: an entry left by an earlier set-up).
if [ "${CORVANE_NATIVE32_WAY:-}" = qemu ]; then
  way=qemu
elif wine_env_cpu_runs_32bit; then
  if wine_env_i386_emulated; then way=binfmt; else way=native; fi
else
  way=qemu
fi
if [ $way = qemu ]; then
  command -v qemu-i386-static >/dev/null 2>&1 ||
    layer_unavailable "$layer" "this host runs no 32-bit code, and qemu-i386-static" \
      "(qemu-user-static) is missing"
fi

build=build/native32
start=$SECONDS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-linux-i386.cmake -DCORVANE_SANITIZE_TRAP=ON \
  -DCORVANE_GTEST_SOURCE="$gtest_source" >/dev/null
cmake --build "$build"
built=$((SECONDS - start))

tests=$build/tests/native/corvane_tests
case $way in
  native) how="natively" run=("$tests") ;;
  binfmt) how="under qemu-i386 (binfmt_misc)" run=("$tests") ;;
  qemu) how="under $(command -v qemu-i386-static)" run=(qemu-i386-static "$tests") ;;
esac
echo "native layer in 32 bits: $tests (i386) runs $how"
start=$SECONDS
"${run[@]}" "$@"
ran=$((SECONDS - start))
echo "native layer in 32 bits: built in ${built} s, ran $how in ${ran} s"
mkdir -p build
echo "native: the core's tests in 32 bits (i386, static, UBSan trapping) $how" >>build/layers-ran.txt
