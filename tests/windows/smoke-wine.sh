#!/usr/bin/env bash
# Smoke test of the Windows build under Wine: unzips the zip that
# scripts/build-windows.sh wrote, starts tamarin.exe on a virtual X display
# with a window manager (openbox: without one, Wine's windows do not take the
# keyboard as they open, and Escape never reaches a dialog), types a pattern
# and an input with real X key events, reads the result back, and opens and
# closes every dialog.
#
# Reading the result back: the result panes and the tree copy what they show
# with Ctrl+C, and Wine hands the Windows clipboard to the X clipboard, where
# xclip reads it. So the check goes through the program's own keys and its
# own drawing of nothing: what the panes hold is compared as text, which a
# font or a scale cannot make flaky, unlike a screenshot compared pixel by
# pixel. Screenshots are still written for a person to look at.
#
# usage: smoke-wine.sh ZIP [SCREENSHOT_DIR]
set -euo pipefail

zip=$(realpath "${1:?usage: smoke-wine.sh ZIP [SCREENSHOT_DIR]}")
shots=${2:-}
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
for tool in "$wine" Xvfb openbox xdotool xclip import unzip; do
  command -v "$tool" >/dev/null || { echo "smoke-wine.sh: $tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko installers: the program needs neither.
export WINEDLLOVERRIDES="mscoree=;mshtml="
pids=()
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
check() {  # check DESCRIPTION EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    echo "ok   $1: $3"
  else
    echo "FAIL $1: expected [$2], got [$3]"
    failures=$((failures + 1))
  fi
}

unzip -q "$zip" -d "$work/unzipped"
exe=$(find "$work/unzipped" -name tamarin.exe -print -quit)
[ -n "$exe" ] || { echo "smoke-wine.sh: no tamarin.exe in $zip" >&2; exit 1; }

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
openbox >/dev/null 2>&1 &
pids+=($!)

echo "smoke-wine.sh: preparing a Wine prefix"
"$wine" wineboot --init >/dev/null 2>&1
"$wineserver" -w

(cd "$(dirname "$exe")" && exec "$wine" tamarin.exe) >"$work/tamarin.log" 2>&1 &
pids+=($!)
program=$!

# The window whose title matches; fails after 60 s. Polled rather than
# `search --sync`, which dies on the X error a window closing meanwhile
# raises (Wine opens and closes several while a program starts).
window() {
  local id
  for _ in $(seq 600); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
gone() {
  for _ in $(seq 100); do
    [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  return 1
}
shoot() {
  [ -n "$shots" ] || return 0
  mkdir -p "$shots"
  import -window root "$shots/$1.png"
  # The window alone, frame included, for the README and the eye.
  local geometry
  geometry=$(xdotool getwindowgeometry --shell "$2")
  eval "$geometry"
  import -window root -crop "$((WIDTH + 2))x$((HEIGHT + 36))+$((X - 1))+$((Y - 34))" +repage \
    "$shots/$1-window.png" 2>/dev/null || true
}
copied() {  # what Ctrl+A, Ctrl+C in the focused control put on the clipboard
  printf '' | xclip -selection clipboard
  xdotool key --delay 100 ctrl+a ctrl+c
  sleep 1
  xclip -o -selection clipboard 2>/dev/null | tr -d '\r' || true
}

main=$(window '^Tamarin \[' || true)
[ -n "$main" ] || { echo "FAIL the main window did not open"; cat "$work/tamarin.log"; exit 1; }
echo "ok   the main window opened"
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
sleep 2

# The pattern editor fills the window's width under the tool bar, the input
# editor under the Search strip; a click there gives it the keyboard.
xdotool mousemove --window "$main" 300 80 click 1
sleep 0.5
xdotool type --delay 120 'b+c'
xdotool mousemove --window "$main" 300 230 click 1
sleep 0.5
xdotool type --delay 120 'aabbbcdd'
sleep 2
shoot main-window "$main"

# From the input editor Tab reaches the pane of the text before the match,
# then the pane of the text after it, then the result tree.
xdotool key Tab
check "text before the match" "aa" "$(copied)"
xdotool key Tab
check "text after the match" "dd" "$(copied)"
xdotool key Tab
check "the match in the result tree" "bbbc" "$(copied)"

# Each dialog by its menu keys, closed with Escape.
dialogs=(
  "alt+s s|^Syntax$"
  "alt+s a|^Syntax$"
  "alt+s c|^Config$"
  "alt+t r|^Syntax Error Test$"
  "alt+t c|^Credit Card Checker$"
  "F1|^About Tamarin$"
)
for entry in "${dialogs[@]}"; do
  keys=${entry%%|*} title=${entry#*|}
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  sleep 0.5
  xdotool key --delay 300 $keys
  dialog=$(window "$title" || true)
  if [ -z "$dialog" ]; then
    check "$keys opens $title" "open" "not open"
    continue
  fi
  sleep 1
  [ "$keys" = F1 ] && shoot about-box "$dialog"
  [ "$keys" = "alt+t c" ] && shoot credit-card-checker "$dialog"
  xdotool key Escape
  if gone "$title"; then check "$keys opens $title, Escape closes it" "closed" "closed"
  else check "$keys opens $title, Escape closes it" "closed" "still open"; fi
done

# Closing the main window ends the program.
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key alt+f x
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program" 2>/dev/null; then check "File > Exit ends the program" "ended" "running"
else check "File > Exit ends the program" "ended" "ended"; fi

if [ "$failures" -ne 0 ]; then
  echo "smoke-wine.sh: $failures check(s) failed"
  exit 1
fi
echo "smoke-wine.sh: all checks passed"
