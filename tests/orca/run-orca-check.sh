#!/usr/bin/env bash
# Listens to Tamarin with the Orca screen reader: a virtual display with a
# window manager, a private D-Bus session and home (dconf, Orca's settings,
# speech-dispatcher's socket), the screen reader switched on in gsettings,
# and speech-dispatcher speaking through espeak-ng into ALSA's null device.
# orca_check.py then starts Orca and the program and reads what Orca says.
#
# usage: run-orca-check.sh PATH/TO/tamarin [--transcript FILE]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "$1")
shift

if [ -z "${TAMARIN_ORCA_INSIDE:-}" ]; then
  home=$(mktemp -d "${TMPDIR:-/tmp}/tamarin-orca.XXXXXX")
  trap 'rm -rf "$home"' EXIT
  mkdir -m 700 "$home/runtime"
  # Nothing of the caller's desktop: settings, caches and sockets live here.
  # The services the session's buses start (dconf, the accessibility bus
  # and its registry) write where the bus daemons write, and one that
  # outlives the session would hold our output open, so ctest would wait for
  # it until the test's time runs out: the session writes into a file that
  # is shown as it grows, and whatever still runs with our private runtime
  # folder afterwards is stopped.
  env -u DBUS_SESSION_BUS_ADDRESS -u AT_SPI_BUS_ADDRESS -u DISPLAY -u WAYLAND_DISPLAY \
    -u XDG_SESSION_TYPE -u QT_QPA_PLATFORM -u QT_ACCESSIBILITY -u QT_LINUX_ACCESSIBILITY_ALWAYS_ON \
    HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime" \
    GSETTINGS_BACKEND=dconf TAMARIN_ORCA_INSIDE=1 \
    dbus-run-session -- "$0" "$program" "$@" >"$home/session.log" 2>&1 &
  session=$!
  tail -n +1 -f --pid="$session" "$home/session.log"
  status=0
  wait "$session" || status=$?
  for process in /proc/[0-9]*; do
    if grep -qzx "XDG_RUNTIME_DIR=$home/runtime" "$process/environ" 2>/dev/null; then
      echo "run-orca-check.sh: stopping what the session left running: $(tr '\0' ' ' <"$process/cmdline")"
      kill "${process#/proc/}" 2>/dev/null || true
    fi
  done
  exit "$status"
fi

# Stops what was started, the last first (the window manager before its display);
# what has not ended 5 s after being asked is killed, so no stuck speech
# server keeps the test waiting.
ended() { # pid: gone, or a zombie waiting to be reaped
  local state
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1)
  [ -z "$state" ] || [ "$state" = Z ]
}
cleanup() {
  local pid
  for pid in $(echo "${started:-}" | tr ' ' '\n' | tac); do
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do ended "$pid" && break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}
trap cleanup EXIT

# Speech goes nowhere: espeak-ng still speaks, into ALSA's null device.
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
{
  grep -v -E '^[[:space:]]*(AudioOutputMethod|AudioALSADevice|DefaultModule)' /etc/speech-dispatcher/speechd.conf \
    | sed 's|^Include "clients/\*.conf"|Include "/etc/speech-dispatcher/clients/*.conf"|; s|^Include "modules/\*.conf"|Include "/etc/speech-dispatcher/modules/*.conf"|'
  echo 'AudioOutputMethod "alsa"'
  echo 'AudioALSADevice "null"'
  echo 'DefaultModule espeak-ng'
} >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"

# A display of its own (-displayfd names a free one) and a window manager,
# without which no window is activated and Orca says nothing.
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
started="$!"
read -r -t 20 display <&"$fd" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"
openbox >/dev/null 2>&1 &
started="$started $!"

# The screen reader on: the accessibility bus tells Qt, whose bridge then starts.
gsettings set org.gnome.desktop.a11y.applications screen-reader-enabled true

# Speech started before Orca: Orca would start it itself, but gives up its
# own start-up when that takes longer than 10 seconds, as on a busy machine.
speech-dispatcher --run-single --timeout 0 >/dev/null 2>&1 &
started="$started $!"
for _ in $(seq 150); do
  [ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] && break
  sleep 0.2
done
[ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] || { echo "speech-dispatcher did not start" >&2; exit 1; }

# Debian's pyatspi belongs to the system's Python, whatever python3 is first on PATH.
/usr/bin/python3 "$here/orca_check.py" "$program" "$@"
