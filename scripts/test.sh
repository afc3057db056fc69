#!/usr/bin/env bash
# Installs what is missing, builds Tamarin with AddressSanitizer and
# UndefinedBehaviorSanitizer (preset "test", build-test/), runs every test
# (engine and widgets, the widget tests offscreen), then a short run of the
# engine's fuzz target, and the engine's tests built for Windows and run under
# Wine. BUILD_DIR overrides the build directory.
#
# TAMARIN_TEST_RELEASE=1 is the quicker variant that CI runs on the second
# Debian release (scripts/test-debian13.sh): every test of the suite on a
# Release build without the sanitizers (preset "test-release",
# build-test-release/), without the fuzz run and the Windows build, which
# the first release's run covers.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

release=${TAMARIN_TEST_RELEASE:-0}
preset=test
[ "$release" = 1 ] && preset=test-release
BUILD_DIR=${BUILD_DIR:-build-$preset}
cmake --preset "$preset" -B "$BUILD_DIR"
cmake --build "$BUILD_DIR" --parallel "$(nproc)"

# The tests carry their own environment (offscreen, sanitizer options); the
# same here covers the engine's tests, which ctest discovers one by one.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 600 --no-tests=error
[ "$release" = 1 ] && exit 0

# The engine's fuzz target, in a second small build (engine only) with clang
# and libFuzzer: a short run over the committed corpus (scripts/fuzz.sh runs
# it for longer).
FUZZ_BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$FUZZ_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMARIN_FUZZ=ON
cmake --build "$FUZZ_BUILD_DIR" --parallel "$(nproc)"
ctest --test-dir "$FUZZ_BUILD_DIR" --output-on-failure

# The engine's GoogleTest suite cross-built for Windows (MinGW-w64) and run
# under Wine.
bash scripts/test-windows-engine.sh
