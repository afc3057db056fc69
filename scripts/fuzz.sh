#!/usr/bin/env bash
# Fuzzes the engine for a while: bash scripts/fuzz.sh [SECONDS] [FINDINGS_DIR]
#
# Builds the libFuzzer target with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (BUILD_DIR, default build-fuzz/), then runs one
# fuzzing process at a time for SECONDS (default 1800) over the committed
# corpus. It goes on after a finding; each finding (crash-*, timeout-*,
# oom-*) is written to FINDINGS_DIR (default fuzz-findings/) together with
# the inputs that reached new code (corpus/) and the log (fuzz.log).
# Replay a finding with: BUILD_DIR/tests/fuzz/engine_fuzzer FILE
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_TO_RUN=${1:-1800}
FINDINGS=$(realpath -m "${2:-fuzz-findings}")
BUILD_DIR=${BUILD_DIR:-build-fuzz}

bash scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMARIN_FUZZ=ON
cmake --build "$BUILD_DIR" --parallel "$(nproc)"

mkdir -p "$FINDINGS/corpus"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# -fork=1: one fuzzing process at a time, restarted after a finding.
nice -n 10 "$BUILD_DIR/tests/fuzz/engine_fuzzer" \
  -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
  -max_total_time="$SECONDS_TO_RUN" -timeout=30 -rss_limit_mb=2048 -max_len=4096 \
  -dict=tests/fuzz/regex.dict -print_final_stats=1 -artifact_prefix="$FINDINGS/" \
  "$FINDINGS/corpus" tests/fuzz/corpus 2>&1 | tee "$FINDINGS/fuzz.log" || true
findings=$(find "$FINDINGS" -maxdepth 1 -name 'crash-*' -o -maxdepth 1 -name 'timeout-*' -o -maxdepth 1 -name 'oom-*' | wc -l)
echo "fuzz.sh: $findings finding(s) in $FINDINGS"
[ "$findings" -eq 0 ]
