#!/usr/bin/env bash
# The native layer: the core built with the sanitizers, and its tests run.
set -euo pipefail
source "$(dirname "$0")/layer-check.sh"
layer_require "native layer" cmake ninja g++
cd "$layer_root"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON
cmake --build build/native
build/native/tests/native/corvane_tests
