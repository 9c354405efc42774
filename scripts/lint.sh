#!/usr/bin/env bash
# Checks the tree's style: every C++ file as .clang-format lays it out, and no warning
# from the .clang-tidy checks in the core, the programs and the application. Uses the
# compile commands of build/ (scripts/build.sh makes them).
#   scripts/lint.sh            both
#   scripts/lint.sh --format   the layout only (quick)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "lint: files not laid out as .clang-format says; run clang-format -i on them" >&2
  exit 1
fi
echo "lint: layout as .clang-format says (${#files[@]} files)"
[[ "${1:-}" == "--format" ]] && exit 0

[[ -f build/compile_commands.json ]] || scripts/build.sh
report=$(mktemp)
trap 'rm -f "$report"' EXIT
run-clang-tidy -p build -quiet -j "$(nproc)" \
  "$PWD/(link|state|replies|panel|resources|app|tools)/.*\.cpp$" > "$report" 2>&1 || true
if grep -q "warning:\|error:" "$report"; then
  grep "warning:\|error:" "$report" | sort -u >&2
  echo "lint: clang-tidy found the above" >&2
  exit 1
fi
echo "lint: clang-tidy clean"
