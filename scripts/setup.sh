#!/usr/bin/env bash
# Installs whatever of the build's Debian packages is missing, and of the PACKAGEs given
# (scripts/package.sh names its tools). Fast when all are there.
#   scripts/setup.sh [PACKAGE...]
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev
  libzip-dev                # the service bundle's archive
  qt6-wayland               # Qt's Wayland platform plugin; nothing builds against it
  libudev-dev               # detected serial adapters
  umockdev libumockdev-dev  # simulated udev devices for their tests
  qt6-charts-dev libqt6opengl6-dev  # the Trends window (Qt6Charts needs Qt6OpenGL)
  clang libclang-rt-14-dev  # libFuzzer and the sanitizer runtimes
  clang-format clang-tidy   # the layout and lint checks (scripts/lint.sh)
  xvfb xauth                # screenshots of the real window
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
