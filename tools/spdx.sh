#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The licence line at the top of every source file, in the file's own comment form:
#   spdx.sh          adds "SPDX-License-Identifier: MIT" where it is missing (run it again at
#                    will: a file that has the line is left as it is)
#   spdx.sh --check  lists the files without it and fails when there is any
# Source files: C++, CMake, shell, Python and Windows scripts, the manual pages, the desktop
# entry, and the XML of the desktop metadata, the Qt resources, forms and translations and the
# Windows installer. Test data (packs, expected XML files and
# journals, fuzz inputs, examples) and files that cannot hold a comment (JSON, pictures) are
# covered by LICENSE alone.
set -uo pipefail
cd "$(dirname "$0")/.."
id='SPDX-License-Identifier: MIT'

# Every file of the project, committed or not (build folders are ignored by git).
project_files() {
  if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    git ls-files -co --exclude-standard
  else
    find . -path ./build -prune -o -path ./.git -prune -o -type f -print | sed 's|^\./||'
  fi | LC_ALL=C sort -u
}

# The comment that carries the line in FILE; nothing for a file that is no source.
comment_for() {
  local file=$1
  case "$file" in
    tests/golden/* | examples/* | fuzz/corpus/* | */testdata/* | build/* | build-*/*) return ;;
  esac
  case "$file" in
    *.cpp | *.h | *.rc) echo "// $id" ;;
    CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | *.py | *.ps1 | *.desktop | .ci/run | .clang-format | .gitignore)
      echo "# $id" ;;
    *.bat | *.cmd) echo "@rem $id" ;;
    docs/man/*.[1-8]) echo ".\\\" $id" ;;
    packaging/*.xml | *.qrc | *.ui | *.ts | *.wxs | *.wxi) echo "<!-- $id -->" ;;
  esac
}

# Whether the first line of FILE must stay first: a "#!" line, an XML declaration, a roff
# preprocessor line.
keeps_first_line() {
  local first
  IFS= read -r first < "$1" || return 1
  [[ "$first" == '#!'* || "$first" == '<?xml'* || "$first" == "'\\\""* ]]
}

check=no
case "${1:-}" in
  --check) check=yes ;;
  "") ;;
  *) echo "usage: tools/spdx.sh [--check]" >&2; exit 2 ;;
esac

status=0 added=0 missing=0 count=0
while IFS= read -r file; do
  comment=$(comment_for "$file")
  [ -n "$comment" ] || continue
  [ -f "$file" ] && [ ! -L "$file" ] || continue
  count=$((count + 1))
  head -n 3 "$file" | grep -qF "$id" && continue
  if [ "$check" = yes ]; then
    echo "$file: no \"$id\" line"
    missing=$((missing + 1))
    continue
  fi
  # The new text goes into a file made beside it, then replaces it (its mode kept).
  tmp=$(mktemp "$file.spdx.XXXXXX") || { echo "$file: cannot make a temporary file" >&2; status=1; continue; }
  if keeps_first_line "$file"; then
    { head -n 1 "$file" && printf '%s\n' "$comment" && tail -n +2 "$file"; } > "$tmp"
  else
    { printf '%s\n' "$comment" && cat "$file"; } > "$tmp"
  fi
  if [ $? = 0 ] && chmod --reference="$file" "$tmp" && mv -f -T "$tmp" "$file"; then
    echo "$file: line added"
    added=$((added + 1))
  else
    rm -f "$tmp"
    echo "$file: cannot be rewritten" >&2
    status=1
  fi
done < <(project_files)

if [ "$check" = yes ]; then
  if [ "$missing" = 0 ]; then
    echo "spdx: every one of $count source files has its licence line"
  else
    echo "spdx: $missing of $count source files have no licence line; bash tools/spdx.sh adds it"
    status=1
  fi
else
  echo "spdx: $added of $count source files given their licence line"
fi
exit "$status"
