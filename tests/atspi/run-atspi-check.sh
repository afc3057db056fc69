#!/usr/bin/env bash
# Reads Tamarin as a screen reader on a Linux desktop does: out of process,
# over AT-SPI. Starts a virtual display and a private D-Bus session with its
# own accessibility bus, then runs atspi_check.py against the program.
#
# usage: run-atspi-check.sh PATH/TO/tamarin [--speech]
#   --speech  also prints what each step makes a screen reader hear
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "$1")
shift

if [ -z "${TAMARIN_ATSPI_INSIDE:-}" ]; then
  export TAMARIN_ATSPI_INSIDE=1
  exec dbus-run-session -- "$0" "$program" "$@"
fi

cleanup() {
  for pid in ${started:-}; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

# A display of its own: -displayfd names a free one.
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
started="$!"
read -r -t 20 display <&"$fd" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"

# The accessibility bus for this session only; it starts the registry itself.
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
started="$started $!"
for _ in $(seq 50); do
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1 && break
  sleep 0.2
done

# Debian's pyatspi belongs to the system's Python, whatever python3 is first on PATH.
/usr/bin/python3 "$here/atspi_check.py" "$program" "$@"
