#!/usr/bin/env bash
# Builds Tamarin for 64-bit Windows on Debian 12 and writes
# dist/Tamarin-<version>-windows-x64.zip.
#
# The Qt modules Tamarin uses (Core, Gui, Widgets) are cross-built once from
# Debian's own Qt source, the very release Tamarin is built against on Linux,
# and kept in a cache folder; later runs reuse them and take minutes.
#
# usage: build-windows.sh [--qt-only]
#   TAMARIN_WINDOWS_CACHE  the cache folder (default ~/.cache/tamarin-windows)
#   TAMARIN_WINDOWS_JOBS   parallel compile jobs (default: the number of cores)
#   --qt-only              stop once the cross-built Qt is installed
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cache=${TAMARIN_WINDOWS_CACHE:-$HOME/.cache/tamarin-windows}
jobs=${TAMARIN_WINDOWS_JOBS:-$(nproc)}
target=x86_64-w64-mingw32
qt_prefix=$cache/qt6-$target
# Where Debian keeps the host Qt's CMake packages: the cross build finds the
# host's tools (moc, rcc, uic) through them.
host_cmake_dir=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake
qt_only=false
[ "${1:-}" = --qt-only ] && qt_only=true

say() { printf '\nbuild-windows.sh: %s\n' "$*"; }
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# The cross compilers (the posix-threads variant: std::thread and
# std::mutex need it), Wine for the smoke test, rsvg-convert and
# ImageMagick for the pictures and the icon, zip for the archive.
bash "$repo/scripts/install-deps.sh" \
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
  wine64 librsvg2-bin imagemagick zip dpkg-dev xvfb openbox xdotool

# --- Qt, cross-built once ----------------------------------------------------

# Source packages come from the same archive the system's packages do; the
# line is kept in a file of its own so the system's sources stay as they are.
enable_deb_src() {
  local list=/etc/apt/sources.list.d/tamarin-deb-src.sources
  [ -f "$list" ] && return 0
  say "adding Debian's source archive ($list)"
  as_root tee "$list" >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  as_root apt-get update -q
}

# Debian's qtbase source, its patches applied by dpkg-source.
fetch_qt_source() {
  local src
  src=$(find "$cache/src" -maxdepth 1 -type d -name 'qt6-base-*' 2>/dev/null | head -n 1)
  if [ -n "$src" ]; then
    echo "$src"
    return 0
  fi
  enable_deb_src >&2
  mkdir -p "$cache/src"
  say "fetching Debian's qt6-base source into $cache/src" >&2
  (cd "$cache/src" && apt-get source -q qt6-base >&2)
  find "$cache/src" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1
}

# Only what Tamarin uses: Core, Gui and Widgets with the Windows platform
# plugin. The third-party libraries come bundled, since MinGW has none of its
# own here; wintab (tablet events) is not in Debian's source tarball. The
# host's Qt (/usr) lends its moc, rcc and uic.
write_qt_toolchain() {
  cat >"$1" <<EOF
# Written by build-windows.sh: the posix-threads MinGW compilers for Qt's build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $target-gcc-posix)
set(CMAKE_CXX_COMPILER $target-g++-posix)
set(CMAKE_RC_COMPILER $target-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$target "$qt_prefix")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
}

build_qt() {
  if [ -f "$qt_prefix/.tamarin-complete" ]; then
    say "reusing the cross-built Qt in $qt_prefix"
    return 0
  fi
  local src build
  src=$(fetch_qt_source)
  build=$cache/qtbase-build
  mkdir -p "$build"
  if [ ! -f "$build/build.ninja" ]; then
    write_qt_toolchain "$cache/mingw-w64-toolchain.cmake"
    say "configuring qtbase for $target"
    (cd "$build" && "$src/configure" \
      -prefix "$qt_prefix" -xplatform win32-g++ -qt-host-path /usr \
      -release -shared -nomake examples -nomake tests -nomake benchmarks \
      -no-feature-sql -no-feature-network -no-dbus -no-feature-printsupport \
      -no-opengl -no-feature-vulkan -no-feature-testlib \
      -no-feature-concurrent -no-feature-xml -no-feature-tabletevent \
      -qt-zlib -qt-libpng -qt-freetype -qt-harfbuzz -qt-pcre -no-libjpeg \
      -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$cache/mingw-w64-toolchain.cmake" \
      -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir")
  fi
  say "building qtbase (resumes where a previous run stopped)"
  cmake --build "$build" --parallel "$jobs"
  cmake --install "$build"
  touch "$qt_prefix/.tamarin-complete"
}

start=$(date +%s)
build_qt
say "Qt ready after $(( $(date +%s) - start )) s"
$qt_only && exit 0
