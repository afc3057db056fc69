#!/usr/bin/env bash
# Regenerates the pictures in docs/screenshots/ under a virtual X display:
# builds the helper tamarin-screenshots (Release, build-screenshots/) and lets
# it grab each window. Windows to picture are listed in app/Screenshots.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."

command -v xvfb-run >/dev/null 2>&1 || bash scripts/install-deps.sh

BUILD_DIR=${BUILD_DIR:-build-screenshots}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTAMARIN_BUILD_TESTS=OFF -DTAMARIN_BUILD_BENCH=OFF
cmake --build "$BUILD_DIR" --target tamarin-screenshots --parallel "$(nproc)"

mkdir -p docs/screenshots
# A plain X server, 96 dpi, no desktop theme: the same pictures on every machine.
env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
  xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -dpi 96" \
  "$BUILD_DIR/app/tamarin-screenshots" docs/screenshots
ls -l docs/screenshots
