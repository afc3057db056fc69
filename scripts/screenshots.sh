#!/usr/bin/env bash
# Regenerates the pictures in docs/screenshots/ under a virtual X display:
# builds the helper tamarin-screenshots (preset "release", build-release/)
# and lets it grab each window. Windows to picture are listed in tools/screenshots/Screenshots.cpp.
#
# Besides the light pictures of every window it writes the main window in a
# dark desktop theme (main-window-dark.png) and on a screen of twice the
# density (main-window-scale2.png).
#
#   REVIEW_DIR=/tmp/shots bash scripts/screenshots.sh
# also writes every window dark and at scales 1.5 and 2 into
# $REVIEW_DIR/{dark,scale1.5,scale2}/ for looking them over.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

BUILD_DIR=${BUILD_DIR:-build-release}
cmake --preset release -B "$BUILD_DIR"
cmake --build "$BUILD_DIR" --target tamarin-screenshots --parallel "$(nproc)"

# A plain X server, 96 dpi, no desktop theme: the same pictures on every
# machine. The screen is large enough for the main window at scale 2.
shoot() {
  env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE QT_QPA_PLATFORM=xcb \
    xvfb-run --auto-servernum --server-args="-screen 0 2560x1600x24 -dpi 96" \
    "$BUILD_DIR/tools/screenshots/tamarin-screenshots" "$@"
}
scaled() {
  local factor=$1
  shift
  QT_SCALE_FACTOR=$factor QT_ENABLE_HIGHDPI_SCALING=1 shoot "$@"
}

mkdir -p docs/screenshots
shoot docs/screenshots
shoot --dark docs/screenshots main-window-match=main-window-dark \
  matches-window=matches-window-dark matches-window-replace=matches-window-replace-dark
scaled 2 docs/screenshots main-window-match=main-window-scale2
ls -l docs/screenshots

if [ -n "${REVIEW_DIR:-}" ]; then
  shoot --dark "$REVIEW_DIR/dark"
  scaled 1.5 "$REVIEW_DIR/scale1.5"
  scaled 2 "$REVIEW_DIR/scale2"
  ls -l "$REVIEW_DIR"/*
fi
