#!/usr/bin/env bash
# Builds the reply fuzzer with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ and runs it for SECONDS (default 30).
# Any crash, leak or sanitizer report fails the run; its input is kept in
# build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 SECONDS" >&2
  exit 2
fi
scripts/setup.sh
if [[ ! -f build-fuzz/CMakeCache.txt ]]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELO_WERROR=ON -DKELO_CORE_ONLY=ON -DKELO_FUZZ=ON
fi
cmake --build build-fuzz --target reply_fuzzer -j2
mkdir -p build-fuzz/corpus build-fuzz/artifacts
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TZ=UTC
# Up to 100 replies per input keeps each run short; the corpus carries over between runs.
build-fuzz/tests/fuzz/reply_fuzzer -max_total_time="$seconds" -max_len=1200 -timeout=10 \
  -rss_limit_mb=2048 -artifact_prefix=build-fuzz/artifacts/ -print_final_stats=1 \
  build-fuzz/corpus
