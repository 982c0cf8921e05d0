#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds everything and runs the whole test suite, each build in its
# own folder under build/ (the CMake presets of CMakePresets.json):
#   test.sh           dev (every test), asan (the suite under the sanitizers), fuzz (each fuzz
#                     target for a bounded time) and windows (the Windows build, tests under wine)
#   test.sh --quick   dev only: the build a change is made in and its whole suite
# TOLVEX_SKIP_ASAN=1, TOLVEX_SKIP_FUZZ=1 and TOLVEX_SKIP_WINDOWS=1 leave out a step;
# TOLVEX_FUZZ_SECONDS is each fuzz target's time (60 seconds).
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  --quick) TOLVEX_SKIP_ASAN=1 TOLVEX_SKIP_FUZZ=1 TOLVEX_SKIP_WINDOWS=1 ;;
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
