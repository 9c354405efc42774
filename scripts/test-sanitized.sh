#!/usr/bin/env bash
# Builds the core and its tests with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-sanitized/ and runs them; any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [[ ! -f build-sanitized/CMakeCache.txt ]]; then
  cmake -S . -B build-sanitized -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELO_WERROR=ON \
    -DKELO_CORE_ONLY=ON -DKELO_SANITIZE=ON
fi
cmake --build build-sanitized
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-sanitized --output-on-failure --timeout 300 -j2
