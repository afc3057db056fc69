#!/usr/bin/env bash
# Installs the packages Tamarin needs to build, test, package and screenshot
# itself, and only those that are missing: when everything is there it
# changes nothing and needs neither root nor the network.
#
# The package names follow the system it runs on (/etc/os-release): Debian
# 12 and Debian 13 are tried; Ubuntu 24.04 is named from its archive but
# untried. On any other system it stops and lists what to install.
#
# usage: install-deps.sh [PACKAGE ...]   (extra packages one script needs)
#        install-deps.sh --list          (print the list for this system)
set -euo pipefail

OS_RELEASE=${TAMARIN_OS_RELEASE:-/etc/os-release}
system_id=unknown
system_version=
if [ -r "$OS_RELEASE" ]; then
  # shellcheck disable=SC1090
  system_id=$(. "$OS_RELEASE" && echo "${ID:-unknown}")
  system_version=$(. "$OS_RELEASE" && echo "${VERSION_ID:-}")
fi

# What differs between the releases: clang's sanitizer runtime (libFuzzer)
# is versioned with clang; Boost.Regex 1.81 is Debian 12's own versioned
# package, elsewhere the default Boost (1.83) serves; Qt 6.8 ships the SVG
# icon engine in a package of its own (qt6-svg-plugins), which Tamarin does
# not need, since it draws its pictures with Qt Svg's renderer itself.
case "$system_id:$system_version" in
  debian:12)
    RELEASE_PACKAGES=(libclang-rt-14-dev libboost1.81-dev libboost-regex1.81-dev)
    ;;
  debian:13)
    RELEASE_PACKAGES=(libclang-rt-19-dev libboost-dev libboost-regex-dev)
    ;;
  ubuntu:24.04)
    RELEASE_PACKAGES=(libclang-rt-18-dev libboost-dev libboost-regex-dev)
    ;;
  *)
    RELEASE_PACKAGES=()
    ;;
esac

PACKAGES=(
  # toolchain; clang and its runtime for libFuzzer, llvm for its symbolizer
  build-essential cmake ninja-build pkg-config
  clang llvm
  # libraries (Boost.Regex is header-only, so the matcher is built with our
  # own limits)
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6
  libgl-dev libgtest-dev
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
  dconf-gsettings-backend gsettings-desktop-schemas libglib2.0-bin
  "${RELEASE_PACKAGES[@]}"
)
if [ "${1:-}" = --list ]; then
  printf '%s\n' "${PACKAGES[@]}"
  exit 0
fi
PACKAGES+=("$@")

if [ ${#RELEASE_PACKAGES[@]} -eq 0 ]; then
  cat >&2 <<MESSAGE
install-deps.sh: this system ($system_id $system_version) is not one the
script knows (Debian 12, Debian 13, Ubuntu 24.04). Install these, under
your system's names, and run the script that called this one again with
TAMARIN_SKIP_INSTALL=1:
  ${PACKAGES[*]}
  clang's sanitizer runtime (libFuzzer), Boost.Regex 1.81 or later headers
MESSAGE
  [ "${TAMARIN_SKIP_INSTALL:-0}" = 1 ] && exit 0
  exit 1
fi

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
  echo "install-deps.sh: all ${#PACKAGES[@]} packages for $system_id $system_version are installed"
  exit 0
fi

echo "install-deps.sh: installing for $system_id $system_version: ${missing[*]}"
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
