#!/usr/bin/env bash
# The format check: every C++ file of the tree as the root .clang-format lays it out
# (clang-format 14). `tools/format-check.sh --fix` formats them in place instead.
set -euo pipefail
source "$(dirname "$0")/layer-check.sh"
cd "$layer_root"

formatter=$(command -v clang-format-14 || command -v clang-format || true)
[ -n "$formatter" ] || layer_unavailable "format check" "missing clang-format"

mapfile -t files < <(git ls-files '*.cpp' '*.h' | grep -v '^tests/fuzz/corpus/')
if [ "${1:-}" = --fix ]; then
  "$formatter" -i "${files[@]}"
  exit 0
fi
unformatted=()
for file in "${files[@]}"; do
  "$formatter" --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  printf '  not formatted: %s\n' "${unformatted[@]}" >&2
  echo "format check: ${#unformatted[@]} of ${#files[@]} files differ from .clang-format;" \
    "tools/format-check.sh --fix formats them" >&2
  exit 1
fi
echo "format check: the ${#files[@]} C++ files follow .clang-format ($("$formatter" --version | grep -o '[0-9][0-9.]*' | head -1))"
