#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a bounded time from its seed corpus in fuzz/corpus/. A crash leaves its
# input in build-fuzz/findings/<target>/: copy it into fuzz/corpus/<target>/ once fixed, and the
# replay tests keep it as a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
bash tools/install-deps.sh fuzz
CC=clang-16 CXX=clang++-16 cmake -S . -B build-fuzz -DTOLVEX_FUZZ=ON -DTOLVEX_BUILD_GUI=OFF \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1
targets=(line_reader split address conversion)
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/%/_fuzz}"
status=0
for t in "${targets[@]}"; do
  work="build-fuzz/findings/$t"
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
