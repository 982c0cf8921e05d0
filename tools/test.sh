#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVEX_BUILD_TESTS=ON
cmake --build build-test -j"$(nproc)"
ctest --test-dir build-test --output-on-failure -j"$(nproc)"

# The same core and console program built for 64-bit Windows, its tests run under wine.
if [ "${TOLVEX_SKIP_WINDOWS:-0}" != 1 ]; then
  bash tools/install-deps.sh windows
  cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release -DTOLVEX_BUILD_GUI=OFF
  cmake --build build-win -j"$(nproc)"
  WINEDEBUG=-all ctest --test-dir build-win --output-on-failure
fi
