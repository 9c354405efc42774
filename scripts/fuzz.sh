#!/usr/bin/env bash
# Builds the fuzzers with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-fuzz/ and runs each for SECONDS (default 30): the reply fuzzer, then the
# operator fuzzer, whose corpus starts from the golden scripts. Any crash, leak, sanitizer
# report or broken invariant fails the run; its input is kept in build-fuzz/artifacts/.
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
cmake --build build-fuzz --target reply_fuzzer operator_fuzzer kelo-zip -j2
mkdir -p build-fuzz/corpus build-fuzz/operator-corpus build-fuzz/artifacts
cp tests/golden/scripts/*.script tests/fuzz/operator-seeds/*.script build-fuzz/operator-corpus/
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TZ=UTC
# Service bundles go through the zip module, as the programs' do.
export KELO_MODULE_DIR="$PWD/build-fuzz/modules"
run() {
  local fuzzer=$1 corpus=$2
  shift 2
  build-fuzz/tests/fuzz/"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix=build-fuzz/artifacts/"$fuzzer"- -print_final_stats=1 "$@" "$corpus"
}
# Up to 100 replies per input keeps each run short; the corpora carry over between runs.
run reply_fuzzer build-fuzz/corpus -max_len=1200
run operator_fuzzer build-fuzz/operator-corpus -max_len=4096 -dict=tests/fuzz/operator.dict
