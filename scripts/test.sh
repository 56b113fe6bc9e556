#!/usr/bin/env bash
# Configures, builds and runs every test. Extra arguments go to cmake, e.g.
#   BUILD_DIR=build-asan bash scripts/test.sh -DKZ_SANITIZE=ON
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build" -j"$(nproc)"
# Sanitizer reports end the test that triggers them.
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 900
