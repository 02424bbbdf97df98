#!/usr/bin/env bash
# emulated-smoke.sh [BUILD32 BUILD64 [GTEST-ARGS...]]: the real 32-bit Corvane.exe on a machine whose kernel runs
# no 32-bit Linux program, under qemu's user-mode emulation: i386 ELF programs are handed to
# qemu-i386-static through binfmt_misc for this run only (the registration is removed at the
# end, even on failure). One test of the x86-64 Wine suite drives it: every emulated process
# start costs about a minute, so the smoke is kept to one start of the program. Arguments after
# the builds pick other tests of the suite to run on the 32-bit program by hand, for instance
# --gtest_filter='Wine/WindowsVersionTest.*' (about a minute a test).
set -euo pipefail
source "$(dirname "$0")/../../tools/layer-check.sh"
source "$layer_root/tools/wine-env.sh"

build32=$(realpath -m "${1:-$layer_root/build/win32}")
build64=$(realpath -m "${2:-$layer_root/build/win64}")
shift 2 2>/dev/null || shift $#
tests=("$@")
[ ${#tests[@]} -gt 0 ] || tests=(--gtest_also_run_disabled_tests --gtest_filter='EmulatedSmoke.*')
out=$layer_root/build/wine-tests/emulated
layer="emulated smoke of ${build32#"$layer_root"/}/Corvane.exe"
binfmt=/proc/sys/fs/binfmt_misc
entry=corvane-i386
qemu=/usr/bin/qemu-i386-static

missing=$(wine_env_missing_tools | tr '\n' ' ')
[ -z "$missing" ] || layer_unavailable "$layer" "missing ${missing% }"
[ -x "$qemu" ] || layer_unavailable "$layer" "missing $qemu (qemu-user-static)"
[ -x "$wine_env_loader32" ] || layer_unavailable "$layer" "missing $wine_env_loader32 (wine32)"
wine_env_loader64_runs || layer_unavailable "$layer" "Wine's 64-bit loader does not run here"
suite=$build64/tests/wine/corvane_wine_tests.exe
corvane=$build32/Corvane.exe
[ -f "$suite" ] && [ -f "$corvane" ] ||
  layer_unavailable "$layer" "needs $corvane and $suite built"
bash "$layer_root/tests/wine/check-pe.sh" i386 "$corvane"

if [ ! -e "$binfmt/register" ]; then
  mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
    layer_unavailable "$layer" "cannot mount binfmt_misc (needs root)"
fi
[ -w "$binfmt/register" ] || layer_unavailable "$layer" "cannot register with binfmt_misc (needs root)"

unregister() {
  if [ -e "$binfmt/$entry" ]; then echo -1 >"$binfmt/$entry" || true; fi
}
cleanup() {
  wine_env_cleanup
  unregister
}
unregister  # left by a run that was killed
trap cleanup EXIT
trap 'exit 130' INT TERM
# i386 ELF executables (e_machine 3), static or dynamic; F: qemu is opened now, so it is found
# from any mount namespace.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
echo ":$entry:M::$magic:$mask:$qemu:FOC" >"$binfmt/register" ||
  layer_unavailable "$layer" "binfmt_misc refused the i386 registration"
echo "$layer: i386 programs run under $qemu for this run" >&2

wine_env_use_loader 64
wine_env_start_xvfb
# A 64-bit prefix whose 32-bit half (syswow64) is made under emulation: about two minutes, once.
template=$layer_root/build/wine-prefix-template-wow64
wine_env_template_prefix "$template"
wine_env_fresh_prefix "$template" "$out/prefix"
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.failed

export CORVANE_EXE CORVANE_FLOOR_EXE CORVANE_SHOTS
CORVANE_EXE=$(wine_env_windows_path "$corvane")
CORVANE_FLOOR_EXE=$(wine_env_windows_path "$build64/tests/wine/CorvaneFloor.exe")
CORVANE_SHOTS=$(wine_env_windows_path "$out")
status=0
env LC_ALL=fr_FR.UTF-8 TZ=Europe/Paris timeout --kill-after=10 1800 wine "$suite" "${tests[@]}" ||
  status=$?
if [ $status -eq 124 ] || [ $status -eq 137 ]; then
  echo "ERROR: the emulated smoke did not finish within 30 minutes" >&2
fi
[ $status -eq 0 ] && echo "$layer: passed under qemu-i386 and $(wine_env_loader_name)"
exit $status
