#!/usr/bin/env bash
# make run: Corvane under Wine, on $DISPLAY or, where there is none, on a virtual display; a
# screenshot goes to build/screenshot.png after the first sample, and Corvane runs on until it
# is closed or this script is interrupted. The run prefixes (build/wine-run) are kept between runs,
# so that the statistics carry on as they do on a real machine.
set -euo pipefail
source "$(dirname "$0")/layer-check.sh"
source "$layer_root/tools/wine-env.sh"

missing=$(wine_env_missing_tools | tr '\n' ' ')
[ -z "$missing" ] || { echo "make run: missing ${missing% }" >&2; exit 1; }
# The build whose windows Wine paints here: the 32-bit program, the product, where this machine
# runs Wine's 32-bit loader natively; else the same sources built for x86-64, under the 64-bit
# loader. (The 32-bit program runs under the 64-bit loader too, in WoW64 mode, and is tested
# there, but Wine 8.0 paints nothing in its windows: `make run BUILD=build/win32` shows it so.)
build=$(wine_env_painted_build "${1:-}") ||
  { echo "make run: this machine runs neither of Wine's loaders" >&2; exit 1; }
mode=$(wine_env_build_mode "$build") ||
  { echo "make run: ${build#"$layer_root"/} cannot run on this machine" >&2; exit 1; }
loader=$(wine_env_mode_loader "$mode")
wine_env_use_loader "$loader"
corvane=$build/Corvane.exe
drive=$build/tests/wine/corvane-drive.exe
shot=$layer_root/build/screenshot.png
template=$(wine_env_template_path "$loader")
prefix=$layer_root/build/wine-run/prefix-$(basename "$build")

[ -f "$corvane" ] || { echo "make run: $corvane was not built" >&2; exit 1; }
echo "make run: ${build#"$layer_root"/}/Corvane.exe under $(wine_env_loader_name "$mode")"
case $mode in
  64) wine_env_loader32_runs ||
    echo "make run: the x86-64 build, since Wine 8.0 paints nothing in the windows of the 32-bit" \
      "build under its 64-bit loader (WoW64), and its 32-bit loader does not run here" ;;
  wow64) echo "make run: WARNING: under WoW64 Wine 8.0 paints nothing in its windows" >&2 ;;
esac

trap wine_env_cleanup EXIT
trap 'exit 130' INT TERM
if [ -z "${DISPLAY:-}" ]; then
  wine_env_start_xvfb
  virtual=1
else
  virtual=0
fi
wine_env_template_prefix "$template"
if [ ! -f "$prefix/system.reg" ]; then
  wine_env_fresh_prefix "$template" "$prefix"
else
  export WINEPREFIX=$prefix
  wine_env_prefixes+=("$prefix")
fi
if [ $virtual = 0 ]; then
  wine_env_plain_windows
else
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Corvane /f >/dev/null 2>&1
fi

# Wine has no paging file: this prefix gets a 64 MiB one (sparse, it takes no disk space) and
# the paging configuration that names it, so that the window has figures to show.
pagefile=$prefix/drive_c/pagefile.sys
[ -f "$pagefile" ] || truncate -s 64M "$pagefile"
wine reg add 'HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management' \
  /v PagingFiles /t REG_MULTI_SZ /d 'C:\pagefile.sys 64 128' /f >/dev/null 2>&1

# Installed the way a user would: its own folder, where its journal goes too.
mkdir -p "$prefix/drive_c/Corvane"
cp "$corvane" "$prefix/drive_c/Corvane/Corvane.exe"
(cd "$prefix/drive_c/Corvane" && exec wine 'C:\Corvane\Corvane.exe') &
corvane_pid=$!

if wine "$drive" wait-text CorvaneMainWindow 5 "SWAP: " 60000 >/dev/null &&
   wine "$drive" screenshot CorvaneMainWindow "$(wine_env_windows_path "$shot")"; then
  echo "make run: screenshot saved to ${shot#"$layer_root"/}"
else
  echo "make run: no first sample within 60 s; no screenshot" >&2
fi
echo "make run: Corvane runs on display $DISPLAY until it is closed or Ctrl+C"
wait "$corvane_pid" || true
