#!/usr/bin/env bash
# Installs what is missing, then configures build/ (once) and builds everything in it, or
# only the TARGETs given.
#   scripts/build.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [[ ! -f build/CMakeCache.txt ]]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELO_WERROR=ON
fi
cmake --build build ${1:+--target "$@"}
