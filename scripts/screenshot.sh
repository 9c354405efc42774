#!/usr/bin/env bash
# Builds the panel and renders its window to PNG files, to check the layout by eye:
# build/screenshots/panel-startup.png (as it starts) and panel-live.png (every line
# that changes filled with a long text of a running link). Uses the real X11 platform
# under xvfb-run when it is installed, else Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
out=build/screenshots
mkdir -p "$out"
shots=("$out/panel-startup.png" "$out/panel-live.png" "$out/panel-port-reason.png"
       "$out/panel-port-picker.png")
tool=build/tests/gui/panel-screenshot
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$tool" "${shots[@]}"
else
  QT_QPA_PLATFORM=offscreen "$tool" "${shots[@]}"
fi
echo "Screenshots: ${shots[*]}"
