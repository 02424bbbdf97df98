#!/usr/bin/env bash
# The fuzzers: builds the libFuzzer targets (clang, ASan and UBSan) and runs each one on its
# committed corpus (tests/fuzz/corpus/<name>, so that an input that once crashed is tried at
# every run) and then on new inputs for a set time, two targets at a time.
#   tools/fuzz.sh [SECONDS]      each target for SECONDS (default 600), then a table of runs
#   tools/fuzz.sh --brief        the corpus and a few seconds each: make test's regression run
#   tools/fuzz.sh --minimise     merges the working corpora back into tests/fuzz/corpus, minimised
# FUZZ_ONLY="a_fuzz b_fuzz" runs only those targets. Inputs found along the way are kept in build/fuzz-work/<name>; crashes in
# build/fuzz-findings/<name>. The exit status is 1 when any target found anything.
set -euo pipefail
source "$(dirname "$0")/layer-check.sh"
cd "$layer_root"

mode=timed
seconds=600
case "${1:-}" in
  --brief) mode=brief; seconds=${FUZZ_BRIEF_SECONDS:-3} ;;
  --minimise) mode=minimise ;;
  "") ;;
  *) seconds=$1 ;;
esac
jobs=${FUZZ_JOBS:-2}

layer_require "fuzz layer" cmake ninja clang clang++
build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCORVANE_FUZZ=ON >/dev/null
cmake --build "$build"

targets=()
for source in tests/fuzz/*_fuzz.cpp; do
  name=$(basename "$source" .cpp)
  if [ -z "${FUZZ_ONLY:-}" ] || [[ " $FUZZ_ONLY " == *" $name "* ]]; then targets+=("$name"); fi
done

if [ "$mode" = minimise ]; then
  for name in "${targets[@]}"; do
    work=build/fuzz-work/$name
    mkdir -p "$work"
    fresh=$(mktemp -d)
    "$build/tests/fuzz/$name" -set_cover_merge=1 "$fresh" "tests/fuzz/corpus/$name" "$work" >/dev/null 2>&1
    rm -f "tests/fuzz/corpus/$name"/*
    for input in "$fresh"/*; do cp "$input" "tests/fuzz/corpus/$name/$(basename "$input" | cut -c1-16)"; done
    rm -rf "$fresh"
    echo "$name: $(ls "tests/fuzz/corpus/$name" | wc -l) inputs kept"
  done
  exit 0
fi

# run_one NAME: one target, its log in build/fuzz-logs/NAME.log.
run_one() {
  local name=$1 work=build/fuzz-work/$1 findings=build/fuzz-findings/$1
  mkdir -p "$work" "$findings" build/fuzz-logs
  # The address sanitizer's own checks stay on; leaks are the fake's business, not the target's.
  ASAN_OPTIONS=detect_leaks=0 "$build/tests/fuzz/$name" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=3072 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$work" "tests/fuzz/corpus/$name" >"build/fuzz-logs/$name.log" 2>&1 || true
}

running=0
for name in "${targets[@]}"; do
  rm -rf "build/fuzz-findings/$name"
  run_one "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then wait -n || true; running=$((running - 1)); fi
done
wait

status=0
printf '%-22s %12s %8s %10s  %s\n' target executions seconds exec/s findings
for name in "${targets[@]}"; do
  log=build/fuzz-logs/$name.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
  found=$(find "build/fuzz-findings/$name" -type f | wc -l)
  rate=$([ -n "$took" ] && [ "$took" -gt 0 ] && echo $(( ${runs:-0} / took )) || echo -)
  printf '%-22s %12s %8s %10s  %s\n' "$name" "${runs:-?}" "${took:-?}" "$rate" "$found"
  if [ "$found" -gt 0 ] || [ -z "$runs" ]; then
    status=1
    echo "  $name: see $log and build/fuzz-findings/$name/" >&2
    grep -m3 -E 'ERROR|SUMMARY' "$log" | sed 's/^/    /' >&2 || true
  fi
done
[ $status -eq 0 ] && echo "fuzz: $mode run, no finding" || echo "fuzz: FINDINGS above" >&2
exit $status
