#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds everything and runs the whole test suite, each build in its
# own folder under build/ (the CMake presets of CMakePresets.json):
#   test.sh           dev (every test), asan (the suite under the sanitizers), tsan (the tests
#                     that convert on several threads, and a batch of every golden case's pack
#                     with four jobs, under ThreadSanitizer), fuzz (each fuzz target for a
#                     bounded time) and windows (the Windows build, tests under wine)
#   test.sh --quick   dev only: the build a change is made in and its whole suite
# TOLVEX_SKIP_ASAN=1, TOLVEX_SKIP_TSAN=1, TOLVEX_SKIP_FUZZ=1 and TOLVEX_SKIP_WINDOWS=1 leave out
# a step;
# TOLVEX_FUZZ_SECONDS is each fuzz target's time (60 seconds).
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  --quick) TOLVEX_SKIP_ASAN=1 TOLVEX_SKIP_TSAN=1 TOLVEX_SKIP_FUZZ=1 TOLVEX_SKIP_WINDOWS=1 ;;
  "") ;;
  *) echo "usage: tools/test.sh [--quick]" >&2; exit 2 ;;
esac
bash tools/install-deps.sh
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$(nproc)}"
cmake --workflow --preset dev

# The whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer.
if [ "${TOLVEX_SKIP_ASAN:-0}" != 1 ]; then
  cmake --workflow --preset asan
fi

# The tests that convert packs on several threads under ThreadSanitizer, then a batch of every
# golden case's pack with four jobs: a race reported ends the program with status 66.
if [ "${TOLVEX_SKIP_TSAN:-0}" != 1 ]; then
  cmake --workflow --preset tsan
  tsan_work=$(mktemp -d)
  bash tools/golden-packs.sh "$tsan_work/packs"
  tsan_status=0
  tsan_cli="$PWD/build/tsan/src/cli/tolvex-cli"
  export TSAN_OPTIONS="halt_on_error=1:suppressions=$PWD/tools/tsan.supp"
  (cd "$tsan_work" && "$tsan_cli" -q batch -j 4 --in packs --out Out_7 2>tsan.txt) || tsan_status=$?
  # 1: some packs of the golden cases are rejected or fail, as they are meant to.
  if [ "$tsan_status" -gt 1 ] || grep -q ThreadSanitizer "$tsan_work/tsan.txt"; then
    cat "$tsan_work/tsan.txt" >&2
    echo "ThreadSanitizer: the batch of the golden cases ended with status $tsan_status" >&2
    exit 1
  fi
  rm -rf "$tsan_work"
fi

# The saved inputs replayed, then each fuzz target for a bounded time from its seed corpus (at
# most ten minutes in all).
if [ "${TOLVEX_SKIP_FUZZ:-0}" != 1 ]; then
  bash tools/fuzz.sh "${TOLVEX_FUZZ_SECONDS:-60}"
fi

# The same core and console program built for 64-bit Windows, its tests run under wine one at
# a time.
if [ "${TOLVEX_SKIP_WINDOWS:-0}" != 1 ]; then
  bash tools/install-deps.sh windows
  CTEST_PARALLEL_LEVEL=1 cmake --workflow --preset windows
fi
