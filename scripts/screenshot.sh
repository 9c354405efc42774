#!/usr/bin/env bash
# Builds the panel and renders its window to PNG files, to check the layout by eye:
# build/screenshots/panel-startup.png (as it starts), panel-live.png (every line that
# changes filled with a long text of a running link), panel-status-bar.png (the status
# bar over a live link), trends-live.png (the Trends window over those minutes of the
# simulated machine) and trends.png and trends-dark.png (the Trends window over half an
# hour with its gaps, on a 1366x768 screen at 125 %, in a light and a dark palette). Uses
# the real X11 platform under xvfb-run when it is installed, else Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
out=build/screenshots
mkdir -p "$out"
shots=("$out/panel-startup.png" "$out/panel-live.png" "$out/panel-port-reason.png"
       "$out/panel-port-picker.png" "$out/panel-status-bar.png" "$out/trends-live.png")
trends="$out/trends.png"
render() {
  if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 ${SCREEN:-1280x1024}x24 -dpi 96" "$@"
  else
    QT_QPA_PLATFORM=offscreen "$@"
  fi
}
render build/tests/gui/panel-screenshot "${shots[@]}"
SCREEN=1366x768 QT_SCALE_FACTOR=1.25 render build/tests/gui/trends-screenshot "$trends" "$out/trends-dark.png"
echo "Screenshots: ${shots[*]} $trends"
