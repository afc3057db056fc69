#!/usr/bin/env bash
# Builds the Tamarin Debian package from a Release build, checks it with
# lintian, installs it with apt-get (which pulls in its dependencies), and
# smoke-tests the installed program: it must start and show its main window
# within a time limit.
#
# Run as root or with sudo. BUILD_DIR overrides the build directory.
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

bash scripts/install-deps.sh lintian

BUILD_DIR=${BUILD_DIR:-build-package}
echo "== configure and build (preset package) in $BUILD_DIR"
cmake --preset package -B "$BUILD_DIR"
cmake --build "$BUILD_DIR" --parallel "$(nproc)"

echo "== cpack -G DEB"
rm -f "$BUILD_DIR"/tamarin_*.deb
(cd "$BUILD_DIR" && cpack -G DEB)
debs=("$BUILD_DIR"/tamarin_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "expected exactly one tamarin_*.deb in $BUILD_DIR, found: ${debs[*]}" >&2
  exit 1
fi
deb=$(realpath "${debs[0]}")
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
dpkg-deb --contents "$deb" | awk '{print $6}'

echo "== lintian"
# Errors fail the build; the warnings left are explained in the README.
lintian --fail-on error "$deb"

echo "== install $deb"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get install -y -q --reinstall "$deb"
dpkg-query --show tamarin

echo "== smoke test of the installed program"
bash packaging/smoke-test.sh /usr/bin/tamarin "$BUILD_DIR/smoke-test.png"
echo "package $deb built, installed and started"
