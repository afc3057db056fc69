#!/usr/bin/env bash
# Builds Tamarin for 64-bit Windows on Debian 12 or 13 and writes
# dist/Tamarin-<version>-windows-x64.zip, with the Qt of the release it runs
# on (Debian 12: 6.4; Debian 13: 6.8, whose announcements reach Windows
# screen readers as UI Automation notifications).
#
# The Qt modules Tamarin uses (Core, Gui, Widgets) are cross-built once from
# Debian's own Qt source, the very release Tamarin is built against on Linux,
# and kept in a cache folder; later runs reuse them and take minutes.
#
# usage: build-windows.sh [--qt-only]
#   TAMARIN_WINDOWS_CACHE  the cache folder (default ~/.cache/tamarin-windows)
#   TAMARIN_WINDOWS_JOBS   parallel compile jobs (default: the number of cores)
#   --qt-only              stop once the cross-built Qt is installed
# Tamarin itself is built in build-windows/; the folder that is zipped is
# build-windows/<zip name without .zip>/. tests/windows/smoke-wine.sh runs
# the zip's program under Wine.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cache=${TAMARIN_WINDOWS_CACHE:-$HOME/.cache/tamarin-windows}
jobs=${TAMARIN_WINDOWS_JOBS:-$(nproc)}
target=x86_64-w64-mingw32
qt_prefix=$cache/qt6-$target
qt_only=false
[ "${1:-}" = --qt-only ] && qt_only=true

say() { printf '\nbuild-windows.sh: %s\n' "$*"; }
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# The cross compilers (the posix-threads variant: std::thread and
# std::mutex need it), rsvg-convert and ImageMagick for the pictures and the
# icon, zip for the archive; Wine, Xvfb, openbox, xdotool, xclip and unzip
# for the smoke test (tests/windows/smoke-wine.sh).
bash "$repo/scripts/install-deps.sh" \
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
  wine64 librsvg2-bin imagemagick zip unzip dpkg-dev xvfb openbox xdotool xclip

# Where Debian keeps the host Qt's CMake packages: the cross builds find the
# host's tools (moc, rcc, uic) through them.
host_cmake_dir=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake

# --- Qt, cross-built once ----------------------------------------------------

# Source packages come from the same archive the system's packages do; the
# line is kept in a file of its own so the system's sources stay as they are.
enable_deb_src() {
  local list=/etc/apt/sources.list.d/tamarin-deb-src.sources codename
  [ -f "$list" ] && return 0
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  say "adding Debian's source archive for $codename ($list)"
  as_root tee "$list" >/dev/null <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: $codename-security
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

# The native look: the Vista style up to Qt 6.6; from 6.7 on the modern
# Windows style, which holds the Vista and Windows 11 looks.
windows_style_plugin() {
  if [ -d "$1/src/plugins/styles/modernwindows" ]; then echo QModernWindowsStylePlugin
  else echo QWindowsVistaStylePlugin; fi
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
      -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" -DQT_GENERATE_SBOM=OFF)
  fi
  # Qt 6.8 writes a bill of materials at install by default, which checks
  # every file of a whole installation; ours installs parts (older Qt
  # ignores the variable).
  cmake -DQT_GENERATE_SBOM=OFF "$build" >/dev/null
  # Only the libraries and plugins Tamarin ships, not every plugin Qt offers
  # for Windows (the Direct2D, minimal and offscreen platforms, the GIF and
  # ICO readers): a tenth less to compile. Then each directory's own install
  # rules, leaving out those of the parts not built (Qt 6.8's example icons
  # among them).
  say "building qtbase (resumes where a previous run stopped)"
  cmake --build "$build" --parallel "$jobs" --target Widgets EntryPointImplementation \
    QWindowsIntegrationPlugin "$(windows_style_plugin "$src")"
  local not_built='/(config\.tests|direct2d|minimal|offscreen|gif|ico|fbconvenience|devicediscovery|assets)(/|$)'
  local rules
  find "$build" -name cmake_install.cmake -printf '%h\n' | sort | while IFS= read -r rules; do
    [[ "${rules#"$build"}/" =~ $not_built ]] && continue
    cmake -DCMAKE_INSTALL_LOCAL_ONLY=ON -P "$rules/cmake_install.cmake" >/dev/null
  done
  touch "$qt_prefix/.tamarin-complete"
}

# --- Tamarin -----------------------------------------------------------------

build=$repo/build-windows

# Release, without tests, benchmarks and the screenshot tool. Boost.Regex is
# used in standalone mode from a copy of the installed headers, so the build
# machine's /usr/include (glibc's headers) never enters the Windows build.
build_tamarin() {
  say "cross-building Tamarin in $build"
  bash "$repo/scripts/stage-regex-headers.sh" "$build/regex-headers"
  local launcher=()
  if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$repo" -B "$build" -G Ninja "${launcher[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DTAMARIN_BUILD_BENCH=OFF -DTAMARIN_BUILD_SCREENSHOTS=OFF \
    -DTAMARIN_REGEX_INCLUDE_DIR="$build/regex-headers" \
    -DCMAKE_FIND_ROOT_PATH="$qt_prefix" -DQt6_DIR="$qt_prefix/lib/cmake/Qt6" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir"
  cmake --build "$build" --target tamarin --parallel "$jobs"
}

cmake_cache_value() {
  sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"
}

# The DLLs a PE file imports, by name.
imported_dlls() {
  "$target-objdump" -p "$1" | sed -n 's/^\s*DLL Name: //p'
}

# The program, the Qt DLLs and plugins it loads, the MinGW runtime, and the
# licences of all that is shipped. The plugins: the Windows platform (without
# it Qt cannot open a window) and the Windows Vista style (the native look).
# PNG, the pictures' format, is built into Qt Gui, so no image plugin is
# needed.
deploy() {
  local folder=$1 qt_src=$2 dll
  rm -rf "$folder"
  mkdir -p "$folder/platforms" "$folder/styles" "$folder/licences"
  # Qt has Windows programs written to the top of the build tree.
  cp "$(find "$build" -maxdepth 2 -name tamarin.exe -print -quit)" "$folder/"
  for dll in Qt6Core Qt6Gui Qt6Widgets; do
    cp "$qt_prefix/bin/$dll.dll" "$folder/"
  done
  cp "$qt_prefix/plugins/platforms/qwindows.dll" "$folder/platforms/"
  cp "$qt_prefix"/plugins/styles/q*windows*style.dll "$folder/styles/"
  for dll in libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll; do
    cp "$("$target-g++-posix" -print-file-name="$dll")" "$folder/"
  done

  # Every DLL imported is shipped or is part of Windows itself.
  local file missing=0
  while IFS= read -r file; do
    while IFS= read -r dll; do
      [ -e "$folder/$dll" ] && continue
      [[ "${dll,,}" == api-ms-win-* ]] && continue  # Windows' API sets
      [ -e "$(find "$folder" -maxdepth 1 -iname "$dll" -print -quit)" ] && continue
      [ -n "$(find /usr/share/wine /usr/lib/x86_64-linux-gnu/wine -iname "$dll" -print -quit 2>/dev/null)" ] \
        && continue  # a Windows system DLL (Wine has its own)
      echo "build-windows.sh: $file imports $dll, which is not shipped" >&2
      missing=1
    done < <(imported_dlls "$file")
  done < <(find "$folder" -name '*.exe' -o -name '*.dll')
  [ "$missing" -eq 0 ] || exit 1

  "$target-strip" --strip-unneeded "$folder/tamarin.exe" $(find "$folder" -name '*.dll')

  local licences=$folder/licences
  cp "$repo/LICENSE" "$licences/Tamarin.txt"
  cp "$qt_src/LICENSES/LGPL-3.0-only.txt" "$licences/Qt-LGPL-3.0.txt"
  cp "$qt_src/LICENSES/GPL-3.0-only.txt" "$licences/GPL-3.0.txt"
  # Debian's record of Qt's copyright holders and of the libraries bundled in
  # it (FreeType, HarfBuzz, PCRE2, zlib, libpng, double-conversion, md4c).
  cp "$qt_src/debian/copyright" "$licences/Qt-copyright.txt"
  # The Boost Software Licence, as Debian's Boost records it.
  # (its stand-alone "License: BSL-1.0" paragraph, which ends at a blank line)
  awk 'on && /^$/ { exit }
       on { sub(/^ /, ""); if ($0 == ".") $0 = ""; print }
       /^License: BSL-1.0$/ { getline first; if (first ~ /Boost Software License/) { on = 1; sub(/^ /, "", first); print first } }' \
    "$(ls /usr/share/doc/libboost-regex1.*-dev/copyright | head -n 1)" >"$licences/Boost-BSL-1.0.txt"
  [ -s "$licences/Boost-BSL-1.0.txt" ] || { echo "build-windows.sh: no Boost licence found" >&2; exit 1; }
  # libgcc and libstdc++ (GPL 3 with the GCC Runtime Library Exception) and
  # winpthreads (MIT and BSD), as Debian's MinGW packages record them.
  cp /usr/share/doc/gcc-mingw-w64-base/copyright "$licences/MinGW-GCC-runtime.txt"
  cp /usr/share/doc/mingw-w64-common/copyright "$licences/MinGW-w64-winpthreads.txt"
  cat >"$folder/README.txt" <<EOF
$(cmake_cache_value CMAKE_PROJECT_NAME) $(cmake_cache_value CMAKE_PROJECT_VERSION) for 64-bit Windows

Start tamarin.exe. Keep the files of this folder together: the program loads
the DLLs beside it and those in platforms\ and styles\.
Licences: licences\ (Qt under the LGPL 3, Boost, the MinGW runtime).
EOF
  sed -i 's/$/\r/' "$folder/README.txt"
}

start=$(date +%s)
build_qt
say "Qt ready after $(( $(date +%s) - start )) s"
$qt_only && exit 0

build_tamarin
version=$(cmake_cache_value CMAKE_PROJECT_VERSION)
name=Tamarin-$version-windows-x64
deploy "$build/$name" "$(fetch_qt_source)"
mkdir -p "$repo/dist"
rm -f "$repo/dist/$name.zip"
(cd "$build" && zip -q -r -9 "$repo/dist/$name.zip" "$name")
say "wrote dist/$name.zip ($(du -k "$repo/dist/$name.zip" | cut -f1) KB) after $(( $(date +%s) - start )) s"
