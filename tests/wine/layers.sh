#!/usr/bin/env bash
# make wine-test: the Wine layers, decided on this machine now, not from a setting.
# - build/win32, the product: the full suite under Wine's 32-bit loader where the kernel runs it
#   natively; elsewhere the x86-64 suite drives the 32-bit exe under the 64-bit loader's WoW64
#   mode, as 64-bit Windows runs it, every test but those that look at painted pixels.
# - build/win64: the full suite under Wine's 64-bit loader.
# Each layer that ran is named in build/layers-ran.txt for make test's summary; in CI a layer
# that cannot run is an error (tests/wine/run.sh says why).
set -euo pipefail
source "$(dirname "$0")/../../tools/layer-check.sh"
source "$layer_root/tools/wine-env.sh"
ran=$layer_root/build/layers-ran.txt
mkdir -p "$layer_root/build"

note() { echo "$*" >>"$ran"; }
# Whether run.sh noted a skip of the layer on BUILD.
skipped() { grep -q "^Wine layer on $1:" "$layer_root/build/skipped-layers.txt" 2>/dev/null; }

bash "$layer_root/tests/wine/run.sh" build/win64 "$@"
skipped build/win64 ||
  note "Wine: full suite on build/win64/Corvane.exe (x86-64) under $(wine_env_loader_name 64)"

mode=$(wine_env_build_mode build/win32) || mode=
bash "$layer_root/tests/wine/run.sh" build/win32 "$@"
if ! skipped build/win32; then
  case $mode in
    32) note "Wine: full suite on build/win32/Corvane.exe (i686) under $(wine_env_loader_name 32)" ;;
    *) note "Wine: suite on build/win32/Corvane.exe (i686) under $(wine_env_loader_name wow64)," \
      "but for the tests of painted pixels" ;;
  esac
fi
