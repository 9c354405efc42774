#!/usr/bin/env bash
# Builds everything and starts the panel on this desktop, talking to a simulated Brumo
# machine: brumo-sim on a pseudo-terminal, which port number 1 selects through a
# private profile (your own profile is not touched). Press Connect to see it live.
# Closing the panel stops the simulator.
#
#   scripts/run.sh            the demo, against the simulated machine
#   scripts/run.sh --real     the panel alone, with your own profile and real adapters
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "run.sh: no display: neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
  echo "The panel is a desktop window; start this from a desktop session." >&2
  exit 1
fi
scripts/build.sh

if [[ "${1:-}" == "--real" ]]; then
  exec build/app/kelo-configuration
fi

demo=$(mktemp -d "${TMPDIR:-/tmp}/kelo-demo.XXXXXX")
sim_pid=""
cleanup() {
  if [[ -n "$sim_pid" ]]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -rf "$demo"
}
trap cleanup EXIT INT TERM

build/tools/brumo-sim/brumo-sim --link "$demo/brumo" > "$demo/sim.out" &
sim_pid=$!
for _ in $(seq 100); do
  [[ -s "$demo/sim.out" ]] && break
  kill -0 "$sim_pid" 2>/dev/null || { echo "run.sh: brumo-sim did not start" >&2; exit 1; }
  sleep 0.05
done
[[ -L "$demo/brumo" ]] || { echo "run.sh: brumo-sim gave no device" >&2; exit 1; }

cat > "$demo/kelo-configuration.ini" <<INI
[Kelo Config]
Comm Port=1

[Ports]
COM1=$demo/brumo
INI
echo "Simulated machine on $(head -n 1 "$demo/sim.out") (port 1). Press Connect in the panel."
XDG_CONFIG_HOME="$demo" build/app/kelo-configuration
