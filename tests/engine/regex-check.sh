#!/usr/bin/env bash
# The configure-time check of Boost.Regex (cmake/RegexLibrary.cmake) against
# copies of the installed headers, intact and broken as a later release could
# break them: the intact copy must configure, each broken one must stop the
# configure with a message naming what is missing.
#
# usage: regex-check.sh CMAKE SOURCE_DIR WORK_DIR CXX_COMPILER
set -euo pipefail
cmake_command=$1 source_dir=$2 work=$3 compiler=$4
rm -rf "$work"
mkdir -p "$work"

# One case: a staged copy, broken by `break_it` (run inside the copy's boost/
# directory), then configured; `expect` is "ok" or a text the error must hold.
failures=0
check() {
  local name=$1 break_it=$2 expect=$3 version=${4:-}
  local headers="$work/$name/include" log="$work/$name/configure.log"
  bash "$source_dir/scripts/stage-regex-headers.sh" "$headers"
  (cd "$headers/boost" && eval "$break_it")
  local status=0
  "$cmake_command" -S "$source_dir" -B "$work/$name/build" -DCMAKE_CXX_COMPILER="$compiler" \
    -DTAMARIN_ENGINE_ONLY=ON -DBUILD_TESTING=OFF -DTAMARIN_REGEX_INCLUDE_DIR="$headers" \
    ${version:+-DTAMARIN_REGEX_VERSION=$version} >"$log" 2>&1 || status=$?
  # CMake wraps its messages: compare them as one line.
  local message
  message=$(tr -s ' \n' '  ' <"$log")
  if [ "$expect" = ok ] && [ $status -eq 0 ]; then
    echo "PASS $name: configures"
  elif [ "$expect" != ok ] && [ $status -ne 0 ] && [[ "$message" == *"$expect"* ]]; then
    echo "PASS $name: refused, naming \"$expect\""
  else
    echo "FAIL $name: expected ${expect}, configure exited $status:"
    cat "$log"
    failures=$((failures + 1))
  fi
}

check intact true ok
check match_prefix_renamed "sed -i 's/\\bmatch_prefix\\b/match_prefix_at/g' regex/v5/*.hpp" \
  "no longer offers what the engine's work budget specializes"
check append_literal_renamed "sed -i 's/\\bappend_literal\\b/append_char/g' regex/v5/*.hpp" \
  "basic_regex_creator's append_literal"
check max_blocks_unread \
  "sed -i 's/used_block_count = BOOST_REGEX_MAX_BLOCKS;/used_block_count = 1024;/' regex/v5/perl_matcher_common.hpp" \
  "no longer reads the block macro BOOST_REGEX_MAX_BLOCKS"
check blocksize_unread \
  "sed -i 's/BOOST_REGEX_BLOCKSIZE/4096/g' regex/v5/perl_matcher_non_recursive.hpp regex/v5/mem_block_cache.hpp" \
  "no longer reads the block macro BOOST_REGEX_BLOCKSIZE"
check release_1_80 "rm version.hpp" "Boost.Regex 1.80.0 (in $work/release_1_80/include, standalone) is older than 1.81.0" 1.80.0
check release_unnamed "rm version.hpp" "do not say their release"

[ $failures -eq 0 ]
