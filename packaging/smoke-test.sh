#!/usr/bin/env bash
# Starts a Tamarin executable and checks that its main window appears.
#
# usage: smoke-test.sh [PROGRAM] [SCREENSHOT.png]
#
# Two runs: offscreen, the program must still be running after a few
# seconds (it neither crashed nor quit at start-up); then on a virtual X
# display, the main window must be mapped within the time limit. The
# second run saves a screenshot of the display when a path is given.
set -uo pipefail

program=${1:-/usr/bin/tamarin}
screenshot=${2:-}
title='Tamarin [PERL<>POSIX Basic<>POSIX Extended]'
limit=${SMOKE_TIME_LIMIT:-20}

if [ ! -x "$program" ]; then
  echo "FAIL: $program is not an executable"
  exit 1
fi

echo "== offscreen: $program must keep running for 5 s"
QT_QPA_PLATFORM=offscreen timeout 5 "$program"
rc=$?
if [ $rc -ne 124 ]; then
  echo "FAIL: offscreen run ended with exit status $rc before the time limit"
  exit 1
fi
echo "ok: still running after 5 s"

echo "== X display: the window \"$title\" must appear within $limit s"
# Runs on the virtual display: start the program, poll the window tree for
# the main window's title, and require that window to be mapped.
on_display() {
  "$program" &
  pid=$!
  found=""
  deadline=$((SECONDS + limit))
  while [ $SECONDS -lt $deadline ]; do
    if ! kill -0 $pid 2>/dev/null; then
      wait $pid
      echo "FAIL: the program ended with exit status $? before its window appeared"
      return 1
    fi
    id=$(xwininfo -root -tree | grep -F "\"$title\"" | awk '{print $1}' | head -n 1)
    if [ -n "$id" ] && xwininfo -id "$id" | grep -q 'Map State: IsViewable'; then
      found=$id
      break
    fi
    sleep 0.5
  done
  if [ -n "$found" ]; then
    echo "ok: window $found \"$title\" is mapped after $((SECONDS - deadline + limit)) s"
    xwininfo -id "$found" | grep -E 'Width|Height'
    if [ -n "$screenshot" ]; then
      sleep 1  # let the first paint finish
      import -window root "$screenshot" && echo "screenshot: $screenshot"
    fi
  else
    echo "FAIL: no mapped window titled \"$title\" within $limit s; windows present:"
    xwininfo -root -tree | grep -E '^ +0x' || echo "  (none)"
  fi
  kill $pid 2>/dev/null
  wait $pid 2>/dev/null
  [ -n "$found" ]
}
# xvfb-run is a sh script, which does not pass exported bash functions on.
timeout $((limit + 30)) xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
  "$(declare -p program screenshot title limit); $(declare -f on_display); on_display"
