#!/usr/bin/env bash
# Runs the README's test command on Debian 13 (trixie, Qt 6.8) from this
# machine: in a Debian 13 tree made with debootstrap from the archive this
# machine's own apt sources name, entered with chroot, with a copy of this
# source tree (what git tracks, and new files it does not ignore).
#
# The tree is kept in ~/.cache/tamarin/debian13 (or TAMARIN_DEBIAN13_ROOT)
# and made anew when it is missing or was left half made; the packages the
# suite installs in it and its build directories stay there between runs,
# so a second run only builds what changed.
#
# usage: test-debian13.sh [COMMAND]    (default: bash scripts/test.sh)
# Needs root (or sudo): debootstrap, mount and chroot.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
root=${TAMARIN_DEBIAN13_ROOT:-$HOME/.cache/tamarin/debian13}
command=${1:-bash scripts/test.sh}
suite=trixie

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || { echo "test-debian13.sh: needs root or sudo" >&2; exit 1; }
  SUDO=(sudo)
fi
as_root() { "${SUDO[@]}" "$@"; }

# The Debian archive this machine installs from: the first "URIs:" of a
# deb822 source, or the first "deb" line, that serves Debian's main archive
# (not its security archive). Falls back to Debian's own address.
debian_mirror() {
  local files=(/etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list)
  local uri
  uri=$( { grep -h -s -E '^[[:space:]]*URIs:' "${files[@]}" | sed -E 's/^[[:space:]]*URIs:[[:space:]]*//' | tr ' ' '\n'
           grep -h -s -E '^[[:space:]]*deb[[:space:]]' "${files[@]}" | sed -E 's/^[[:space:]]*deb[[:space:]]+(\[[^]]*\][[:space:]]+)?([^[:space:]]+).*/\2/'
         } | grep -E '/debian/?$' | grep -v -E 'security' | head -n 1 || true)
  echo "${uri:-http://deb.debian.org/debian}"
}

if ! command -v debootstrap >/dev/null 2>&1; then
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -q
  as_root apt-get install -y -q --no-install-recommends debootstrap
fi

# A tree is whole once debootstrap finished and we marked it; anything else
# is made again from the start.
if [ ! -f "$root/.tamarin-debian13-complete" ]; then
  mirror=$(debian_mirror)
  echo "test-debian13.sh: making a Debian 13 tree in $root from $mirror"
  started=$SECONDS
  as_root rm -rf "$root.partial" "$root"
  as_root mkdir -p "$(dirname "$root")"
  as_root debootstrap --variant=minbase "$suite" "$root.partial" "$mirror"
  as_root touch "$root.partial/.tamarin-debian13-complete"
  as_root mv "$root.partial" "$root"
  echo "test-debian13.sh: tree made in $((SECONDS - started)) s"
fi

mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    as_root umount -l "${mounted[i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT
bind() { # kind source target
  as_root mkdir -p "$3"
  if [ "$1" = bind ]; then as_root mount --rbind "$2" "$3"; as_root mount --make-rslave "$3"
  else as_root mount -t "$1" "$2" "$3"; fi
  mounted+=("$3")
}
bind proc proc "$root/proc"
bind sysfs sysfs "$root/sys"
bind bind /dev "$root/dev"
bind tmpfs tmpfs "$root/tmp"
bind tmpfs tmpfs "$root/run"
as_root cp -L /etc/resolv.conf "$root/etc/resolv.conf"

# The source tree as it is now; the build directories inside it are kept.
# The tree comes whole into a staging folder first; only files whose content
# changed replace the old ones (taking the time of now), and files gone are
# removed. A kept build directory then rebuilds exactly what changed: copied
# with their own times, sources older than a build made from another tree
# would not be rebuilt at all.
src=$root/src/tamarin
stage=$root/src/.tamarin-incoming
as_root rm -rf "$stage"
as_root mkdir -p "$src" "$stage"
(cd "$repo" && git ls-files -z --cached --others --exclude-standard \
  | xargs -0 -r sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh \
  | tar --null -T - -c) | as_root tar -x -C "$stage"
as_root bash -c '
  stage=$1 src=$2
  cd "$stage" && find . -type f -print0 | while IFS= read -r -d "" f; do
    cmp -s "$f" "$src/$f" && continue
    mkdir -p "$src/$(dirname "$f")" && rm -f "$src/$f" && cp "$f" "$src/$f"
  done
  cd "$src" && find . -path "./build-*" -prune -o -type f -print0 | while IFS= read -r -d "" f; do
    [ -e "$stage/$f" ] || rm -f "$f"
  done
  rm -rf "$stage"' sh "$stage" "$src"

echo "test-debian13.sh: running '$command' on Debian 13"
started=$SECONDS
as_root chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  bash -c "cd /src/tamarin && $command"
echo "test-debian13.sh: '$command' passed on Debian 13 in $((SECONDS - started)) s"
