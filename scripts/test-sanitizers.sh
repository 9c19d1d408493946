#!/usr/bin/env bash
# The native test suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# (build/asan). Any report fails the run: UBSan does not recover, ASan stops at
# the first error and checks for leaks at exit.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== native tests under ASan and UBSan"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON >/dev/null
cmake --build build/asan -j2 --target quillon_core_tests
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir build/asan --output-on-failure -j2
