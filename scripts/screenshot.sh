#!/usr/bin/env bash
# Builds the panel and renders its window to PNG files, to check the layout by eye:
# build/screenshots/panel-startup.png (as it starts), panel-live.png (every line that
# changes filled with a long text of a running link), panel-status-bar.png (the status
# bar over a live link), trends-live.png (the Trends window over those minutes of the
# simulated machine), panel-stale.png (the machine silent: readouts dimmed, the status
# bar saying why), compare-settings.png (the Compare dialog over another machine's settings
# file), trends.png and trends-dark.png (the Trends window over half an hour with its gaps,
# on a 1366x768 screen at 125 %, in a light and a dark palette). Then the panel's shots
# and Trends again on a 1366x768 screen at scales 1, 1.25, 1.5 and 2, in
# build/screenshots/1366x768-scale-S/. Uses the real X11 platform under xvfb-run when it is
# installed, else Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
out=build/screenshots
mkdir -p "$out"
names=(panel-startup panel-live panel-port-reason panel-port-picker panel-status-bar
       trends-live panel-stale compare-settings)
shots=()
for name in "${names[@]}"; do shots+=("$out/$name.png"); done
trends="$out/trends.png"
render() {
  local screen=$1
  shift
  if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 ${screen}x24 -dpi 96" "$@"
  else
    QT_QPA_PLATFORM=offscreen "$@"
  fi
}
render 1280x1024 build/tests/gui/panel-screenshot "${shots[@]}"
QT_SCALE_FACTOR=1.25 render 1366x768 build/tests/gui/trends-screenshot "$trends" \
  "$out/trends-dark.png"
for scale in 1 1.25 1.5 2; do
  small="$out/1366x768-scale-$scale"
  mkdir -p "$small"
  small_shots=()
  for name in "${names[@]}"; do small_shots+=("$small/$name.png"); done
  QT_SCALE_FACTOR=$scale render 1366x768 build/tests/gui/panel-screenshot "${small_shots[@]}"
  QT_SCALE_FACTOR=$scale render 1366x768 build/tests/gui/trends-screenshot "$small/trends.png"
done
echo "Screenshots: ${shots[*]} $trends $out/trends-dark.png, and at four scales in $out/1366x768-scale-*/"
