#!/usr/bin/env bash
# Installs the build tree into a scratch prefix and checks what a desktop
# and a software centre will read from it: the files are where the
# GNUInstallDirs layout puts them, the icon bitmaps have their sizes, the
# desktop entry and the AppStream metainfo validate and agree with each
# other and with the installed files.
#
# usage: check-install.sh CMAKE SOURCE_DIR BUILD_DIR STAGE_DIR VERSION APP_ID
set -uo pipefail

cmake=$1 source_dir=$2 build_dir=$3 stage=$4 version=$5 app_id=$6
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$stage"
if ! "$cmake" --install "$build_dir" --prefix "$stage/usr" >"$stage.log" 2>&1; then
  cat "$stage.log"
  echo "FAIL: cmake --install"
  exit 1
fi
prefix=$stage/usr
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
icons=$prefix/share/icons/hicolor

# Layout.
[ -x "$prefix/bin/tamarin" ] || fail "bin/tamarin missing or not executable"
for f in "$desktop" "$metainfo" "$icons/scalable/apps/$app_id.svg"; do
  [ -s "$f" ] || fail "${f#"$stage"/} missing or empty"
done
for size in 16 32 48 64 128 256; do
  png=$icons/${size}x${size}/apps/$app_id.png
  if [ ! -s "$png" ]; then
    fail "${png#"$stage"/} missing"
  elif ! file -b "$png" | grep -q "^PNG image data, $size x $size,"; then
    fail "${png#"$stage"/} is not a ${size}x${size} PNG: $(file -b "$png")"
  fi
done

# Desktop entry: errors, warnings and hints all fail. A hint is what the
# validator says of a second main category, which would list the program
# twice in some menus.
if [ -s "$desktop" ]; then
  out=$(desktop-file-validate "$desktop" 2>&1); rc=$?
  echo "desktop-file-validate (exit $rc):"; echo "${out:-  no findings}"
  [ $rc -eq 0 ] || fail "desktop-file-validate exit $rc"
  if grep -E ': (error|warning|hint):' <<<"$out"; then fail "desktop-file-validate findings"; fi

  key() { sed -n "s/^$1=//p" "$desktop"; }
  [ "$(key Name)" = Tamarin ] || fail "desktop Name is '$(key Name)'"
  [ "$(key Categories)" = "Development;Qt;" ] || fail "desktop Categories is '$(key Categories)'"
  [ -n "$(key Comment)" ] || fail "desktop entry has no Comment"
  exec_bin=$(key Exec | cut -d' ' -f1)
  [ -x "$prefix/bin/$exec_bin" ] || fail "Exec=$exec_bin is not an installed program"
  [ "$(key Icon)" = "$app_id" ] || fail "desktop Icon is '$(key Icon)', the icons are named $app_id"
fi

# AppStream: --strict turns warnings into failures; --no-net because the
# screenshot addresses point at the project's web site, which the build
# must not depend on.
if [ -s "$metainfo" ]; then
  out=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1); rc=$?
  echo "appstreamcli validate --no-net --strict (exit $rc):"; echo "$out"
  [ $rc -eq 0 ] || fail "appstreamcli validate exit $rc"

  # The whole tree: the metainfo's launchable must resolve to the installed
  # desktop entry, and the component must find its icon.
  out=$(appstreamcli validate-tree --no-net --strict "$prefix" 2>&1); rc=$?
  echo "appstreamcli validate-tree --no-net --strict (exit $rc):"; echo "$out"
  [ $rc -eq 0 ] || fail "appstreamcli validate-tree exit $rc"

  grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "metainfo launchable is not $app_id.desktop"
  grep -q "<release version=\"$version\"" "$metainfo" \
    || fail "metainfo has no release $version"
  # Screenshots are served from the repository's docs/screenshots.
  shots=$(sed -n 's|.*<image>https://tamarin.example.org/docs/screenshots/\([^<]*\)</image>.*|\1|p' "$metainfo")
  [ -n "$shots" ] || fail "metainfo has no screenshot under https://tamarin.example.org/docs/screenshots/"
  for shot in $shots; do
    [ -s "$source_dir/docs/screenshots/$shot" ] \
      || fail "metainfo screenshot $shot is not in docs/screenshots/"
  done
fi

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed; the installed tree is left in $stage"
  exit 1
fi
rm -rf "$stage" "$stage.log"
echo "install layout, desktop entry and metainfo: all checks passed"
