#!/usr/bin/env bash
# Cross-builds the engine and its GoogleTest suite for 64-bit Windows with
# MinGW-w64 (no Qt; Boost.Regex from the installed Boost's headers, staged and
# used standalone; GoogleTest from Debian's source of it) and runs the suite
# under Wine. Fails when any test fails.
#
# WINDOWS_ENGINE_BUILD_DIR overrides the build directory (build-windows-engine/); the Wine
# prefix is kept in TAMARIN_WINE_PREFIX (default: a folder of the user's
# cache), so only the first run pays for creating it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 googletest

BUILD_DIR=${WINDOWS_ENGINE_BUILD_DIR:-build-windows-engine}
# Seconds each step took, printed at the end.
timings=()
step_started=$SECONDS
took() {
  timings+=("$1 $((SECONDS - step_started)) s")
  step_started=$SECONDS
}
WINE=/usr/lib/wine/wine64
TRIPLET=x86_64-w64-mingw32

bash scripts/stage-regex-headers.sh "$BUILD_DIR/regex-include"
cmake -S . -B "$BUILD_DIR" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DTAMARIN_ENGINE_ONLY=ON -DBUILD_TESTING=ON \
  -DTAMARIN_REGEX_INCLUDE_DIR="$PWD/$BUILD_DIR/regex-include" \
  -DTAMARIN_GTEST_SOURCE_DIR=/usr/src/googletest \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$WINE"
took configure
cmake --build "$BUILD_DIR" --target engine_tests --parallel "$(nproc)"
took build

# Wine: a prefix of our own, no debug chatter, no offer to install Mono or
# Gecko (nothing here needs them), and the MinGW runtime DLLs found on
# WINEPATH (Z: is the root of the Linux file system).
export WINEPREFIX=${TAMARIN_WINE_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/tamarin/wine64}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
# The folders are where the cross compiler itself finds them (its GCC's
# version is in their path: 12 on Debian 12, 14 on Debian 13).
runtime_dirs=()
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  file=$("$TRIPLET-g++-posix" -print-file-name="$dll")
  if [ ! -f "$file" ]; then
    echo "test-windows-engine.sh: the cross compiler finds no MinGW runtime DLL $dll" >&2
    exit 1
  fi
  dir=$(dirname "$file")
  [[ " ${runtime_dirs[*]} " == *" $dir "* ]] || runtime_dirs+=("$dir")
done
WINEPATH=$(printf 'Z:%s;' "${runtime_dirs[@]}" | tr / '\\')
export WINEPATH
mkdir -p "$(dirname "$WINEPREFIX")"
if [ ! -d "$WINEPREFIX" ]; then
  echo "test-windows-engine.sh: creating the Wine prefix $WINEPREFIX"
  "$WINE" wineboot --init
  /usr/lib/wine/wineserver -w
  took "Wine prefix"
fi

# The whole suite as one test (ctest runs it through Wine, the build's
# emulator); its exit status is the suite's. Brief: only failures and the
# totals are printed.
ctest --test-dir "$BUILD_DIR" --verbose --timeout 600 --no-tests=error
took tests
echo "test-windows-engine.sh: ${timings[*]}"
