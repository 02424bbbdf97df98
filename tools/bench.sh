#!/usr/bin/env bash
# make bench: the benchmark program under Wine, on a virtual display of its own and in a fresh
# prefix, measuring the cross-built Corvane.exe. Prints the machine, then the table (also kept
# in build/bench.txt). CORVANE_BENCH_RUNS (default 7, at least 5) and CORVANE_BENCH_TICKS
# (default 100000) set the number of runs and the ticks of the memory runs.
set -euo pipefail
source "$(dirname "$0")/layer-check.sh"
source "$layer_root/tools/wine-env.sh"

missing=$(wine_env_missing_tools | tr '\n' ' ')
[ -z "$missing" ] || { echo "make bench: missing ${missing% }" >&2; exit 1; }
# Measured natively only: the 32-bit build where its loader runs here, else the x86-64 one.
build=$(wine_env_native_build "${1:-}") ||
  { echo "make bench: this machine runs neither of Wine's loaders" >&2; exit 1; }
loader=$(wine_env_build_loader "$build")
wine_env_use_loader "$loader"
bench=$build/bench/corvane-bench.exe
out=$layer_root/build/bench
template=$(wine_env_template_path "$loader")
[ -f "$bench" ] || { echo "make bench: $bench was not built" >&2; exit 1; }

trap wine_env_cleanup EXIT
trap 'exit 130' INT TERM
wine_env_start_xvfb
wine_env_template_prefix "$template"
wine_env_fresh_prefix "$template" "$out/prefix"

CORVANE_EXE=$(wine_env_windows_path "$build/Corvane.exe")
CORVANE_FLOOR_EXE=$(wine_env_windows_path "$build/tests/wine/CorvaneFloor.exe")
export CORVANE_EXE CORVANE_FLOOR_EXE

{
  echo "Machine: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
    "$(nproc) cores, $(free -g | awk '/^Mem:/ {print $2}') GiB;" \
    "$(uname -sr); $(wine --version); $(date -u +%Y-%m-%d)"
  echo "Build: ${build#"$layer_root"/} ($([ "$loader" = 64 ] && echo x86-64 || echo i686))" \
    "under $(wine_env_loader_name)"
  echo "Command: make bench (runs: ${CORVANE_BENCH_RUNS:-7}, memory ticks: ${CORVANE_BENCH_TICKS:-100000})"
  echo
  # The wineserver is started before the clock runs: the first program of a prefix pays for it.
  wine cmd /c exit >/dev/null 2>&1 || true
  env LC_ALL=fr_FR.UTF-8 timeout --kill-after=10 1800 wine "$bench" | tr -d '\r'
} | tee "$layer_root/build/bench.txt"
exit "${PIPESTATUS[0]}"
