#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the console program (the CMake preset "release", in
# build/release/), and converts the bundled example packs:
# examples/packs/*.txt -> examples/run/Out_7/*.XML, journal in examples/run/Report/tolvex.log,
# both folders archived in examples/run/Arh/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset release
cmake --build --preset release -j"$(nproc)" --target tolvex-cli
rm -rf examples/run && mkdir -p examples/run
cd examples/run
# The batch asks nothing: every message box is written to the error stream and answered.
status=0
../../build/release/src/cli/tolvex-cli batch --in ../packs --out Out_7 || status=$?
echo
echo "XML files:  examples/run/Out_7/"
ls -1 Out_7 2>/dev/null || true
echo "Journal:    examples/run/Report/tolvex.log"
echo "Archive:    examples/run/Arh/ (made by tolvex-zip, which the batch waits for)"
exit "$status"
