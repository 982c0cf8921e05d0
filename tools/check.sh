#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks of the sources that need no build:
#   check.sh layers   no layer includes a layer above it, no family of converters includes
#                     another, only the layers allowed Qt (src/gui, tests/gui) include a Qt
#                     header, all as cmake/layers.txt says; no header has a using-directive at
#                     namespace scope
#   check.sh format   every C++ file is as clang-format 14 writes it (.clang-format at the root);
#                     clang-format -i FILE rewrites one
#   check.sh spdx     every source file carries its licence line (tools/spdx.sh adds it)
#   check.sh          all three
set -uo pipefail
cd "$(dirname "$0")/.."
status=0

# Every C++ file of the project (build folders and the golden cases hold none).
cxx_files() { find src tests fuzz bench -type f \( -name '*.cpp' -o -name '*.h' \) | LC_ALL=C sort; }

# What each folder may include, by the first part of the included path ("core/format4/pack.h": core):
# the layers in cmake/layers.txt, which CMake reads too. A layer's folder may include itself and
# the layers its line names; its test folder (tests/<last part of the folder>) the same, with the
# test support; golden, bench, fuzz and the test support any layer; a folder of src in no layer
# nothing. "Qt" on a line lets that layer include Qt headers. The family names only choose the
# message: a family of converters never includes another.
families="person earnings statements"
layers=()                # the layer folders in order: runtime core ... gui cli win zip
declare -A layer_uses=() # a layer's own folder and the layers its line names
while read -r folder uses; do
  [[ -z "$folder" || "$folder" == \#* ]] && continue
  layers+=("$folder")
  layer_uses[$folder]="$folder $uses"
done < cmake/layers.txt
every_layer="${layers[*]}"

# The layer a file belongs to, or "" for a folder any layer may be included from, or "-" for a
# folder of src that is in no layer.
layer_of() {
  local file=$1 folder best=""
  for folder in "${layers[@]}"; do
    case "$file" in
      src/"$folder"/*) [ ${#folder} -gt ${#best} ] && best=$folder ;;
      tests/"${folder##*/}"/*) best=$folder ;;
    esac
  done
  if [ -z "$best" ] && [[ "$file" == src/* ]]; then best=-; fi
  echo "$best"
}

allowed_for() {
  local layer
  layer=$(layer_of "$1")
  case "$layer" in
    -) echo "" ;;
    "") echo "$every_layer" ;;
    *) echo "${layer_uses[$layer]}" ;;
  esac
}

check_layers() {
  local file line target part allowed bad=0
  while IFS= read -r file; do
    if [ "$(layer_of "$file")" = - ]; then
      echo "$file: in a folder of src that is in no layer of cmake/layers.txt"
      bad=1
      continue
    fi
    allowed=" $(allowed_for "$file") "
    while IFS= read -r line; do
      # Qt: <QtWidgets/QLabel>, <QString>, <qglobal.h>.
      if [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<(Qt[A-Za-z]*/[^>]*|Q[A-Za-z0-9_]*|q[a-z0-9_]*\.h)\> ]]; then
        if [[ "$allowed" != *" Qt "* ]]; then
          echo "$file: includes Qt outside the windows: $line"
          bad=1
        fi
      fi
      # A header of the project by its path from src/: "core/format4/pack.h", "gui/texts.h".
      if [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([a-z_]+)/([^\"]*)\" ]]; then
        part=${BASH_REMATCH[1]}
        target=${BASH_REMATCH[2]}
        [[ "$target" == */* && " $every_layer " == *" $part/${target%%/*} "* ]] && part=$part/${target%%/*}
        if [[ "$allowed" != *" $part "* ]]; then
          if [[ " $families " == *" $part "* && " $families " == *" $(cut -d/ -f2 <<< "$file") "* ]]; then
            echo "$file: includes another family of converters: $line"
          else
            echo "$file: includes a layer above its own: $line"
          fi
          bad=1
        fi
      fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include' "$file")
    # A using-directive at namespace scope in a header (clang-format indents none inside a
    # namespace) would reach every file that includes it; inside a function or a .cpp it is fine.
    if [[ "$file" == *.h ]]; then
      while IFS= read -r line; do
        echo "$file: a header opens a namespace to every file that includes it: $line"
        bad=1
      done < <(grep -E '^using[[:space:]]+namespace' "$file")
    fi
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
