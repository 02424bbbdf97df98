#!/usr/bin/env bash
# make wine-test: the Wine layers this machine can run, decided now, not from a setting.
# - Where the kernel runs Wine's 32-bit loader natively: the full suite on build/win32.
# - Wherever Wine's 64-bit loader runs: the full suite on build/win64.
# - Where 32-bit programs do not run natively: the emulated smoke of build/win32/Corvane.exe.
# Each layer that ran is named in build/layers-ran.txt for make test's summary; in CI a layer
# that cannot run is an error (the layer scripts say why).
set -euo pipefail
source "$(dirname "$0")/../../tools/layer-check.sh"
source "$layer_root/tools/wine-env.sh"
ran=$layer_root/build/layers-ran.txt
mkdir -p "$layer_root/build"

note() { echo "$*" >>"$ran"; }

if wine_env_loader32_runs; then
  bash "$layer_root/tests/wine/run.sh" build/win32 "$@"
  note "Wine: full suite on build/win32/Corvane.exe (i686) under Wine's 32-bit loader"
else
  echo "wine-test: this machine runs no 32-bit Linux program natively: build/win32 gets the" \
    "emulated smoke, not the full suite" >&2
fi
bash "$layer_root/tests/wine/run.sh" build/win64 "$@"
grep -q "^Wine layer on build/win64:" "$layer_root/build/skipped-layers.txt" 2>/dev/null ||
  note "Wine: full suite on build/win64/Corvane.exe (x86-64) under Wine's 64-bit loader"
if ! wine_env_loader32_runs; then
  bash "$layer_root/tests/wine/emulated-smoke.sh" build/win32 build/win64
  grep -q "^emulated smoke" "$layer_root/build/skipped-layers.txt" 2>/dev/null ||
    note "Wine: emulated smoke of build/win32/Corvane.exe (i686) under qemu-i386 and Wine"
fi
