#!/usr/bin/env bash
# Installs every Debian package Tamarin needs to build, test, package and
# screenshot itself. Safe to run again: apt-get skips what is already there.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

PACKAGES=(
  # toolchain; clang and its runtime for libFuzzer, llvm for its symbolizer
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev llvm
  # libraries
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6
  libgl-dev libgtest-dev
  # Boost.Regex 1.81: header-only, so the matcher is built with our own limits
  libboost1.81-dev libboost-regex1.81-dev
  # headless display, screenshots and fonts
  xvfb xauth imagemagick fonts-dejavu-core fonts-dejavu-extra
  # desktop integration and packaging checks
  desktop-file-utils appstream dpkg-dev file
  # icon rendering, and the package smoke test's window check
  librsvg2-bin x11-utils
)

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${PACKAGES[@]}"
