#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Writes the pack of every golden case into a folder, one file per case named after its group
# and case (adv1/rules: adv1_rules.txt), stored as the accounting programs store them (code page
# 866, CR LF):
#   tools/golden-packs.sh FOLDER
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: tools/golden-packs.sh FOLDER" >&2; exit 2; }
golden="$(dirname "$0")/../tests/golden"
mkdir -p "$1"
for dir in "$golden"/*/*/; do
  name=$(basename "$(dirname "$dir")")_$(basename "$dir")
  if [ -f "$dir/pack.bin" ]; then
    cp "$dir/pack.bin" "$1/$name.txt"
  else
    iconv -c -f UTF-8 -t CP866 "$dir/pack.txt" | sed 's/$/\r/' >"$1/$name.txt"
  fi
done
