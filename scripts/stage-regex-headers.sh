#!/usr/bin/env bash
# Copies the Boost.Regex headers of the installed Boost (Debian 12: 1.81, from
# libboost-regex1.81-dev) and Boost's version.hpp into DIR, for a build that
# uses them in standalone mode (-DTAMARIN_REGEX_INCLUDE_DIR=DIR) without the
# rest of /usr/include, such as a Windows cross build, which must not see the
# build machine's C library headers.
#
# usage: stage-regex-headers.sh DIR [BOOST_INCLUDE_DIR (default /usr/include)]
set -euo pipefail
dest=${1:?usage: stage-regex-headers.sh DIR [BOOST_INCLUDE_DIR]}
from=${2:-/usr/include}

for header in regex.hpp regex_fwd.hpp cregex.hpp version.hpp; do
  if [ ! -f "$from/boost/$header" ]; then
    echo "stage-regex-headers.sh: $from/boost/$header is missing (is Boost.Regex installed?)" >&2
    exit 1
  fi
done
rm -rf "$dest/boost"
mkdir -p "$dest/boost"
cp -a "$from/boost/regex.hpp" "$from/boost/regex_fwd.hpp" "$from/boost/cregex.hpp" \
      "$from/boost/version.hpp" "$from/boost/regex" "$dest/boost/"
