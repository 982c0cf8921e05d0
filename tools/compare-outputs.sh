#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Compares what two builds of the console program make of the same packs: the bundled example
# packs and a folder holding the pack of every golden case, each converted by `batch` with
# --jobs 1 and --jobs 4, by one `convert` of them all and by a `convert` of each alone. Compared: the XML files (names and bytes), the journal
# with its times masked, the error stream and the exit status.
#   tools/compare-outputs.sh OLD_BUILD NEW_BUILD
# where each build is a build folder (holding src/cli/tolvex-cli) or the program itself.
# Prints one line per run and exits 1 when anything differs.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 2 ] || { echo "usage: tools/compare-outputs.sh OLD_BUILD NEW_BUILD" >&2; exit 2; }

program() {
  if [ -x "$1/src/cli/tolvex-cli" ]; then realpath "$1/src/cli/tolvex-cli"
  elif [ -f "$1" ] && [ -x "$1" ]; then realpath "$1"
  else echo "no tolvex-cli in $1" >&2; exit 2; fi
}
old=$(program "$1")
new=$(program "$2")

work=$(mktemp -d /tmp/tolvex-compare.XXXXXX)
trap 'rm -rf "$work"' EXIT

golden="$work/golden"
bash tools/golden-packs.sh "$golden"

# The journal as UTF-8 with the times of day, the durations and the archive's dated name masked.
masked_journal() {
  iconv -f CP1251 -t UTF-8 "$1" |
    sed -E -e 's/[0-9]{2}:[0-9]{2}:[0-9]{2}/hh:mm:ss/g' -e 's/^(Время) [0-9]+/\1 N/' \
      -e 's/[0-9]{6}_[0-9]{4}/yymmdd_hhmm/g'
}

# One run of one program in a program folder of its own, the same path for both programs so
# that the journals name the same folders: what it made is kept under $3.
run() {
  local cli=$1 kind=$2 keep=$3 input=$4 jobs=$5
  local home="$work/run"
  rm -rf "$home" && mkdir -p "$home" "$keep"
  local status=0
  if [ "$kind" = batch ]; then
    (cd "$home" && "$cli" batch --in "$input" --out Out_7 -j "$jobs" -l >"$keep/stdout" 2>"$keep/stderr") || status=$?
  elif [ "$kind" = each ]; then
    # Each pack alone, its XML in a folder of its own: no pack's file takes another's name.
    for pack in "$input"/*; do
      local name
      name=$(basename "$pack" .txt)
      mkdir -p "$home/Out_7/$name"
      (cd "$home" && "$cli" convert --out "Out_7/$name" -l "$pack" >>"$keep/stdout" 2>>"$keep/stderr") || status=$((status * 10 + $?))
    done
  else
    (cd "$home" && "$cli" convert --out Out_7 -l "$input"/* >"$keep/stdout" 2>"$keep/stderr") || status=$?
  fi
  echo "$status" >"$keep/status"
  mkdir -p "$keep/xml"
  if [ -d "$home/Out_7" ]; then cp -a "$home/Out_7/." "$keep/xml/"; fi
  if [ -f "$home/Report/tolvex.log" ]; then masked_journal "$home/Report/tolvex.log" >"$keep/journal"; else : >"$keep/journal"; fi
  sed -i -E 's/[0-9]{2}:[0-9]{2}:[0-9]{2}/hh:mm:ss/g' "$keep/stderr"
}

differ=0
for input in examples/packs "$golden"; do
  label=examples
  if [ "$input" = "$golden" ]; then label=golden; fi
  for how in "batch 1" "batch 4" "convert 1" "each 1"; do
    set -- $how
    run "$old" "$1" "$work/old" "$(realpath "$input")" "$2"
    run "$new" "$1" "$work/new" "$(realpath "$input")" "$2"
    what="$label $1"
    if [ "$1" = batch ]; then what="$what -j$2"; fi
    files=$(find "$work/new/xml" -type f | wc -l)
    if diff -r "$work/old" "$work/new" >"$work/diff" 2>&1; then
      echo "same:    $what ($files XML files, exit status $(cat "$work/new/status"))"
    else
      echo "DIFFERS: $what"
      head -n 40 "$work/diff" | sed 's/^/    /'
      differ=1
    fi
    rm -rf "$work/old" "$work/new"
  done
done
exit "$differ"
