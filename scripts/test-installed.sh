#!/usr/bin/env bash
# Installs the package scripts/package.sh built, as a user would (apt-get install ./….deb),
# runs the programs from /usr/bin: their versions, kelo-batch against brumo-sim (Connect,
# the link live, Save All, the file's bytes, a service bundle through the zip module), and
# the panel on the offscreen platform to its first paint, then polling with Trends opened
# from its module. Then purges the package and checks that nothing of it is left in /usr.
# Needs root, or sudo.
#   scripts/test-installed.sh [--prefix DIR]
# With --prefix, the same checks of `cmake --install build --prefix DIR` instead, as a
# developer installs it; nothing is installed through apt, and DIR is left as it is.
set -euo pipefail
trap 'echo "test-installed: failed at line $LINENO" >&2' ERR
cd "$(dirname "$0")/.."
prefix=/usr
if [[ ${1:-} == --prefix ]]; then
  prefix=$(realpath -m "$2")
  cmake --build build --target kelo-configuration kelo-batch brumo-sim kelo-probe-preload
  cmake --install build --prefix "$prefix" > /dev/null
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
else
  debs=(kelo-configuration_*.deb)
  if [[ ${#debs[@]} -ne 1 || ! -f ${debs[0]} ]]; then
    echo "test-installed: run scripts/package.sh first" >&2
    exit 1
  fi
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get install -y -qq --reinstall "./${debs[0]}"
  # The probe that reports the first paint, from the test build.
  cmake --build build --target kelo-probe-preload
  version=$(dpkg-query -W -f='${Version}' kelo-configuration)
fi
bin=$prefix/bin
# The build tree's modules must not stand in for the installed ones.
unset KELO_MODULE_DIR

work=$(mktemp -d "${TMPDIR:-/tmp}/kelo-installed.XXXXXX")
sim_pid=""
cleanup() {
  [[ -z "$sim_pid" ]] || kill "$sim_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

for program in kelo-configuration kelo-batch brumo-sim; do
  [[ $("$bin/$program" --version) == "$program $version" ]]
done

# The machine of the golden Save All run, so its report must come out byte for byte.
"$bin/brumo-sim" --name FOGGER-ONE --link "$work/brumo" > "$work/sim.out" &
sim_pid=$!
for _ in $(seq 100); do [[ -L "$work/brumo" ]] && break; sleep 0.05; done
printf '[Kelo Config]\nComm Port=1\n[Ports]\nCOM1=%s\n' "$work/brumo" \
  > "$work/kelo-configuration.ini"
printf 'at 0 click 1026\nat 60 savepath %s\nat 60 click 1050\nat 61 bundle %s\nat 62 quit\n' \
  "$work/report.txt" "$work/visit.zip" | XDG_CONFIG_HOME="$work" "$bin/kelo-batch" - > "$work/trace"
grep -q '^[0-9]* text 1071 "STATUS: Link is live' "$work/trace"
[[ $(head -c 4 "$work/visit.zip") == $'PK\x03\x04' ]]
awk '/^=== file machine-report.txt$/ { found = 1; next } found && /^$/ { exit } found' \
  tests/golden/expected/06-save-all.golden | cmp - "$work/report.txt"

XDG_CONFIG_HOME="$work" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen \
  KELO_PROBE_MODE=startup LD_PRELOAD="$PWD/build/bench/libkelo-probe-preload.so" \
  "$bin/kelo-configuration" | tee "$work/probe"
grep -qE '^kelo-probe startup .* paint_ms=[0-9.]+ ' "$work/probe"
# Trends from its module, beside the panel: two windows shown.
XDG_CONFIG_HOME="$work" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen \
  KELO_PROBE_MODE=poll KELO_PROBE_SECONDS=3 KELO_PROBE_PRESS=Trends \
  LD_PRELOAD="$PWD/build/bench/libkelo-probe-preload.so" "$bin/kelo-configuration" \
  | tee "$work/probe"
grep -qE '^kelo-probe poll .* press=pressed windows=2 ' "$work/probe"
kill "$sim_pid"
if [[ $prefix != /usr ]]; then
  echo "test-installed: kelo-configuration $version installed in $prefix and ran"
  exit 0
fi

files=$(dpkg-query -L kelo-configuration)
"${sudo[@]}" apt-get purge -y -qq kelo-configuration
# Shared folders such as /usr/bin stay; the package's files and its own folders go.
left=$(while read -r path; do
  if [[ -e $path && (! -d $path || $path == *kelo*) ]]; then echo "$path"; fi
done <<< "$files")
[[ -z "$left" ]] || { echo "test-installed: left after purge:" "$left" >&2; exit 1; }
echo "test-installed: kelo-configuration $version installed, ran and purged"
