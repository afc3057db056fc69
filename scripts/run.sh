#!/usr/bin/env bash
# Installs what is missing, builds Tamarin in Release (preset "release",
# build-release/) and starts it. Showing the window needs a graphical
# session, X11 ($DISPLAY) or Wayland ($WAYLAND_DISPLAY); without one the
# script still builds and then says why it cannot start the program.
# BUILD_DIR overrides the build directory.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

BUILD_DIR=${BUILD_DIR:-build-release}
cmake --preset release -B "$BUILD_DIR"
cmake --build "$BUILD_DIR" --target tamarin --parallel "$(nproc)"
program=$BUILD_DIR/app/tamarin

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MESSAGE
run.sh: Tamarin is built ($program), but it cannot show its window here:
there is no display (DISPLAY and WAYLAND_DISPLAY are both empty).
Tamarin is a desktop program. Start it from a graphical session, over
'ssh -X', or on a virtual display with 'xvfb-run bash scripts/run.sh'.
MESSAGE
  exit 1
fi
exec "$program"
