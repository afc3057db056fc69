#!/usr/bin/env bash
# Installs what is missing, builds Tamarin in Release (build-release/) and
# starts it. Needs a graphical session: X11 ($DISPLAY) or Wayland
# ($WAYLAND_DISPLAY).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display found (DISPLAY and WAYLAND_DISPLAY are empty)." >&2
  echo "Tamarin is a desktop program: run this from a graphical session," >&2
  echo "or over 'ssh -X', or under 'xvfb-run bash scripts/run.sh'." >&2
  exit 1
fi

# Install packages only when something the build needs is missing.
missing=0
for tool in cmake ninja g++; do
  command -v "$tool" >/dev/null 2>&1 || missing=1
done
for header in /usr/include/boost/regex.hpp /usr/lib/*/cmake/Qt6Widgets /usr/lib/*/cmake/Qt6Svg; do
  compgen -G "$header" >/dev/null || missing=1
done
if [ "$missing" -ne 0 ]; then
  bash scripts/install-deps.sh
fi

BUILD_DIR=${BUILD_DIR:-build-release}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTAMARIN_BUILD_TESTS=OFF -DTAMARIN_BUILD_BENCH=OFF
cmake --build "$BUILD_DIR" --target tamarin --parallel "$(nproc)"
exec "$BUILD_DIR/app/tamarin"
