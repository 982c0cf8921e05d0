#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVEX_BUILD_TESTS=ON
cmake --build build-test -j"$(nproc)"
ctest --test-dir build-test --output-on-failure -j"$(nproc)"

# The whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTOLVEX_SANITIZE=ON -DTOLVEX_BUILD_GUI=OFF
cmake --build build-asan -j"$(nproc)"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"

# Each fuzz target for a bounded time from its seed corpus (at most ten minutes in all).
if [ "${TOLVEX_SKIP_FUZZ:-0}" != 1 ]; then
  bash tools/fuzz.sh "${TOLVEX_FUZZ_SECONDS:-60}"
fi

# The same core and console program built for 64-bit Windows, its tests run under wine.
if [ "${TOLVEX_SKIP_WINDOWS:-0}" != 1 ]; then
  bash tools/install-deps.sh windows
  cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release -DTOLVEX_BUILD_GUI=OFF
  cmake --build build-win -j"$(nproc)"
  WINEDEBUG=-all ctest --test-dir build-win --output-on-failure
fi
