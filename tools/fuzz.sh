#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer;
# the CMake preset "fuzz", in build/fuzz/), replays their saved inputs, and runs each target for
# a bounded time from its seed corpus in fuzz/corpus/. A crash leaves its input in
# build/fuzz/findings/<target>/: copy it into fuzz/corpus/<target>/ once fixed, and the replay
# tests keep it as a regression test.
#   fuzz.sh [SECONDS]   seconds per target, 60 by default
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
bash tools/install-deps.sh fuzz
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$(nproc)}"
cmake --workflow --preset fuzz
# The targets are listed once, in fuzz/CMakeLists.txt, which writes them here.
IFS=';' read -ra targets < build/fuzz/fuzz/targets.txt
status=0
for t in "${targets[@]}"; do
  work="build/fuzz/findings/$t"
  rm -rf "$work" && mkdir -p "$work/corpus"
  cp fuzz/corpus/"$t"/* "$work/corpus/"
  echo "== fuzzing $t for ${seconds}s"
  if ! (cd "$work" && "../../fuzz/${t}_fuzz" -max_total_time="$seconds" -print_final_stats=1 corpus > log.txt 2>&1); then
    echo "!! $t found a failure; input and log in $work"
    tail -40 "$work/log.txt"
    status=1
  else
    grep -E "^Done|stat::number_of_executed_units" "$work/log.txt" || true
  fi
done
exit "$status"
