#!/usr/bin/env bash
# Installs what is missing, builds Tamarin with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test (engine and widgets,
# the widget tests offscreen), then a short run of the engine's fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

BUILD_DIR=${BUILD_DIR:-build-test}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAMARIN_SANITIZE=ON
cmake --build "$BUILD_DIR" --parallel "$(nproc)"

export QT_QPA_PLATFORM=offscreen
# Leak checking is on; scripts/lsan.supp says what may be suppressed, and why.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 600

# The engine's fuzz target, in a second small build (engine only) with clang
# and libFuzzer: a short run over the committed corpus (scripts/fuzz.sh runs
# it for longer).
FUZZ_BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$FUZZ_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMARIN_FUZZ=ON
cmake --build "$FUZZ_BUILD_DIR" --parallel "$(nproc)"
ctest --test-dir "$FUZZ_BUILD_DIR" --output-on-failure
