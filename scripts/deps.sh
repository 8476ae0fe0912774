#!/usr/bin/env bash
# Installs the Debian packages the build, the tools and the tests need.
# Run as root it installs what is missing; otherwise it names what to install.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  libpng-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libx11-dev libxext-dev libxinerama-dev xvfb xdotool
  libdbus-1-dev dbus-daemon at-spi2-core python3-pyatspi
  libsndfile1-dev sox libcairo2-dev
  lsp-plugins-vst
)

source "$(dirname "$0")/debian-packages.sh"
ensure_debian_packages "${packages[@]}"
