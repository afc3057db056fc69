#!/usr/bin/env bash
# Installs the Debian packages Tamarin needs to build, test, package and
# screenshot itself, and only those that are missing: when everything is
# there it changes nothing and needs neither root nor the network.
#
# usage: install-deps.sh [PACKAGE ...]   (extra packages one script needs)
set -euo pipefail

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
  # the screen reader's view over AT-SPI (tests/atspi): a private D-Bus
  # session, the accessibility bus, its Python client, typed keys
  dbus-daemon dbus-bin at-spi2-core python3-pyatspi python3-gi xdotool
  # the screen reader itself (tests/orca): Orca speaking through
  # speech-dispatcher and espeak-ng, a window manager, gsettings over dconf
  orca speech-dispatcher speech-dispatcher-espeak-ng openbox
  dconf-gsettings-backend gsettings-desktop-schemas
)
PACKAGES+=("$@")

# dpkg's own record, not a probe for files: the second letter "i" means
# unpacked and configured, a blank third one that no error is pending.
installed() {
  [[ "$(dpkg-query --show --showformat='${db:Status-Abbrev}' "$1" 2>/dev/null)" == ?"i " ]]
}

missing=()
for package in "${PACKAGES[@]}"; do
  installed "$package" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps.sh: all ${#PACKAGES[@]} packages are installed"
  exit 0
fi

echo "install-deps.sh: installing ${missing[*]}"
SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps.sh: these packages are missing and installing them needs root:" >&2
    echo "  ${missing[*]}" >&2
    echo "run this script as root, or install sudo" >&2
    exit 1
  fi
  SUDO=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
