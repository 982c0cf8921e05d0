#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks of the sources that need no build:
#   check.sh layers   no file outside src/app/gui and tests/gui includes a Qt header, no layer
#                     includes a layer above it, and no family of converters includes another
#                     (see "layers" below)
#   check.sh format   every C++ file is as clang-format 14 writes it (.clang-format at the root);
#                     clang-format -i FILE rewrites one
#   check.sh spdx     every source file carries its licence line (tools/spdx.sh adds it)
#   check.sh          all three
set -uo pipefail
cd "$(dirname "$0")/.."
status=0

# Every C++ file of the project (build folders and the golden cases hold none).
cxx_files() { find src tests fuzz bench -type f \( -name '*.cpp' -o -name '*.h' \) | LC_ALL=C sort; }

# What each folder may include, by the first part of the included path ("core/pack.h": core).
# The layers in order: runtime, core, blocks (the blocks the families share), then the three
# families of converters beside each other (person, earnings, statements: each includes the
# shared layers and itself, never another family), app, then app/gui (the Qt windows), win (the Win32
# windows) and cli (the console) beside each other; the archiver (zip) stands on runtime alone. A test folder of a
# layer may include what its layer may, and the test support.
families="person earnings statements"
allowed_for() {
  local below="runtime core blocks $families app"
  case "$1" in
    src/runtime/* | tests/runtime/*) echo "runtime" ;;
    src/core/* | tests/core/*) echo "runtime core" ;;
    src/blocks/* | tests/blocks/*) echo "runtime core blocks" ;;
    src/person/* | tests/person/*) echo "runtime core blocks person" ;;
    src/earnings/* | tests/earnings/*) echo "runtime core blocks earnings" ;;
    src/statements/* | tests/statements/*) echo "runtime core blocks statements" ;;
    src/app/gui/* | tests/gui/*) echo "$below app/gui" ;;
    src/app/* | tests/app/*) echo "$below" ;;
    src/cli/* | tests/cli/*) echo "$below cli" ;;
    src/win/* | tests/win/*) echo "$below win" ;;
    src/zip/* | tests/zip/*) echo "runtime zip" ;;
    *) echo "$below app/gui cli win zip" ;;  # golden, bench, fuzz, the test support: any layer
  esac
}

check_layers() {
  local file line target part bad=0
  while IFS= read -r file; do
    while IFS= read -r line; do
      # Qt: <QtWidgets/QLabel>, <QString>, <qglobal.h>.
      if [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<(Qt[A-Za-z]*/[^>]*|Q[A-Za-z0-9_]*|q[a-z0-9_]*\.h)\> ]]; then
        case "$file" in
          src/app/gui/* | tests/gui/*) ;;
          *) echo "$file: includes Qt outside the windows: $line"; bad=1 ;;
        esac
      fi
      # A header of the project by its path from src/: "core/pack.h".
      if [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([a-z_]+)/([^\"]*)\" ]]; then
        part=${BASH_REMATCH[1]}
        target=${BASH_REMATCH[2]}
        [ "$part" = app ] && [[ "$target" == gui/* ]] && part=app/gui
        if ! [[ " $(allowed_for "$file") " == *" $part "* ]]; then
          if [[ " $families " == *" $part "* && " $families " == *" $(cut -d/ -f2 <<< "$file") "* ]]; then
            echo "$file: includes another family of converters: $line"
          else
            echo "$file: includes a layer above its own: $line"
          fi
          bad=1
        fi
      fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include' "$file")
  done < <(cxx_files)
  if [ "$bad" = 0 ]; then echo "layers: no upward include, no family includes another, Qt only in the windows"; else status=1; fi
}

check_format() {
  local clang_format file flagged=()
  clang_format=$(command -v clang-format-14 || command -v clang-format || true)
  if [ -z "$clang_format" ]; then
    bash tools/install-deps.sh format
    clang_format=$(command -v clang-format-14)
  fi
  while IFS= read -r file; do
    "$clang_format" --dry-run -Werror "$file" > /dev/null 2>&1 || flagged+=("$file")
  done < <(cxx_files)
  if ((${#flagged[@]})); then
    printf '%s: not as clang-format writes it\n' "${flagged[@]}"
    echo "format: ${#flagged[@]} of $(cxx_files | wc -l) files differ ($("$clang_format" --version))"
    echo "        clang-format --dry-run FILE shows where; clang-format -i FILE rewrites it"
    status=1
  else
    echo "format: every C++ file as clang-format writes it"
  fi
}

check_spdx() { bash tools/spdx.sh --check || status=1; }

case "${1:-}" in
  layers) check_layers ;;
  format) check_format ;;
  spdx) check_spdx ;;
  "") check_layers; check_format; check_spdx ;;
  *) echo "usage: tools/check.sh [layers|format|spdx]" >&2; exit 2 ;;
esac
exit "$status"
