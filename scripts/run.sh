#!/usr/bin/env bash
# Builds everything and starts the panel on this desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "run.sh: no display: neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
  echo "The panel is a desktop window; start this from a desktop session." >&2
  exit 1
fi
scripts/build.sh
exec build/app/kelo-configuration
