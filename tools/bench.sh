#!/usr/bin/env bash
# make bench: the benchmark program under Wine, on a virtual display of its own and in a fresh
# prefix, measuring both builds in one run, one after the other: the 32-bit product (under Wine's
# 32-bit loader where this machine runs it, else under the 64-bit loader's WoW64 mode, as 64-bit
# Windows runs it) and the x86-64 build. Each build is measured by the benchmark built with it,
# against the floor window built with it. Prints the machine, then one table with both builds
# side by side (also kept in build/bench.txt; each build's own table in build/bench-BUILD.txt).
# CORVANE_BENCH_RUNS (default 7, at least 5) and CORVANE_BENCH_TICKS (default 100000) set the
# number of runs and the ticks of the memory runs.
set -euo pipefail
source "$(dirname "$0")/layer-check.sh"
source "$layer_root/tools/wine-env.sh"

missing=$(wine_env_missing_tools | tr '\n' ' ')
[ -z "$missing" ] || { echo "make bench: missing ${missing% }" >&2; exit 1; }
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=("$layer_root/build/win32" "$layer_root/build/win64")

trap wine_env_cleanup EXIT
trap 'exit 130' INT TERM
wine_env_start_xvfb

# bench_one BUILD: that build's table in build/bench-NAME.txt; its heading on standard error.
declare -A heading
bench_one() {
  local build name mode loader bench template out
  build=$(realpath -m "$1")
  name=$(basename "$build")
  mode=$(wine_env_build_mode "$build") ||
    { echo "make bench: ${build#"$layer_root"/} cannot run on this machine" >&2; return 1; }
  loader=$(wine_env_mode_loader "$mode")
  bench=$build/bench/corvane-bench.exe
  [ -f "$bench" ] || { echo "make bench: $bench was not built" >&2; return 1; }
  wine_env_use_loader "$loader"
  template=$(wine_env_template_path "$loader")
  out=$layer_root/build/bench
  wine_env_template_prefix "$template"
  wine_env_fresh_prefix "$template" "$out/prefix-$name"
  heading[$name]="${build#"$layer_root"/} ($([ "$name" = win64 ] && echo x86-64 || echo i686))"
  heading[$name]+=" under $(wine_env_loader_name "$mode")"
  echo "make bench: measuring ${heading[$name]}" >&2
  # The wineserver is started before the clock runs: the first program of a prefix pays for it.
  wine cmd /c exit >/dev/null 2>&1 || true
  CORVANE_EXE=$(wine_env_windows_path "$build/Corvane.exe") \
    CORVANE_FLOOR_EXE=$(wine_env_windows_path "$build/tests/wine/CorvaneFloor.exe") \
    LC_ALL=fr_FR.UTF-8 timeout --kill-after=10 1800 wine "$bench" | tr -d '\r' \
    >"$layer_root/build/bench-$name.txt"
  WINEPREFIX=$out/prefix-$name wineserver -k >/dev/null 2>&1 || true
}

names=()
for build in "${builds[@]}"; do
  # A build this host cannot run (the 32-bit one, where no 32-bit code runs) is left out of the
  # table, and said so; the others are measured.
  if ! wine_env_build_mode "$build" >/dev/null; then
    echo "make bench: ${build#"$layer_root"/} cannot run on this host: left out of the table" >&2
    continue
  fi
  bench_one "$build"
  names+=("$(basename "$build")")
done
[ ${#names[@]} -gt 0 ] || { echo "make bench: no build runs here" >&2; exit 1; }

# One table: the measures of the first build in their order, each build's figure, what it was
# set against and the ratio side by side, then the target and whether each build met it.
merge_tables() {
  local names=$1
  shift
  awk -F'|' -v names="$names" '
    function trim(s) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s }
    FNR == 1 { file++ }
    /^\|/ && !/^\|-/ {
      what = trim($2)
      if (what == "measure (median of runs)") next
      if (!(what in seen)) { seen[what] = 1; order[++rows] = what }
      value[what, file] = trim($3); against[what, file] = trim($4); ratio[what, file] = trim($5)
      target[what] = trim($6); met[what, file] = trim($7)
    }
    END {
      n = split(names, name, " ")
      line = "| measure (median of runs) |"; rule = "|---|"
      for (f = 1; f <= n; f++) {
        line = line " " name[f] " | against | ratio |"; rule = rule "---:|---|---:|"
      }
      print line " target | met |"; print rule "---|---|"
      for (r = 1; r <= rows; r++) {
        w = order[r]; line = "| " w " |"; m = ""
        for (f = 1; f <= n; f++) {
          line = line " " value[w, f] " | " against[w, f] " | " ratio[w, f] " |"
          m = m (f > 1 ? " / " : "") (met[w, f] == "" ? "-" : met[w, f])
        }
        print line " " target[w] " | " m " |"
      }
    }' "$@"
}

files=()
for name in "${names[@]}"; do files+=("$layer_root/build/bench-$name.txt"); done
{
  echo "Machine: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
    "$(nproc) cores, $(free -g | awk '/^Mem:/ {print $2}') GiB;" \
    "$(uname -sr); $(wine --version); $(date -u +%Y-%m-%d)"
  for name in "${names[@]}"; do echo "Build $name: ${heading[$name]}"; done
  echo "Command: make bench (runs: ${CORVANE_BENCH_RUNS:-7}, memory ticks: ${CORVANE_BENCH_TICKS:-100000})"
  echo
  merge_tables "${names[*]}" "${files[@]}"
} | tee "$layer_root/build/bench.txt"
