#!/usr/bin/env bash
# Installs what is missing, builds Tamarin with AddressSanitizer and
# UndefinedBehaviorSanitizer (preset "test", build-test/), and runs every
# test (engine and widgets, the widget tests offscreen). BUILD_DIR overrides
# the build directory.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

BUILD_DIR=${BUILD_DIR:-build-test}
cmake --preset test -B "$BUILD_DIR"
cmake --build "$BUILD_DIR" --parallel "$(nproc)"

# The tests carry their own environment (offscreen, sanitizer options), so
# ctest needs nothing more; as the "test" test preset, but in BUILD_DIR.
ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 600 --no-tests=error
