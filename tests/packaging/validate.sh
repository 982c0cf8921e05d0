#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks a file shipped with the programs with the tool made for it; any complaint fails the
# check. Exits 77 (skipped) when the tool is not installed.
#   validate.sh man PAGE | desktop FILE | metainfo FILE | mime FILE PACK | guide PAGE
set -u
need() { command -v "$1" > /dev/null || { echo "$1 is not installed: skipped"; exit 77; }; }
complaints() { [ -z "$1" ] || { printf '%s\n' "$1"; exit 1; }; }
kind=$1 file=$2
case "$kind" in
  man)
    need man && need groff
    complaints "$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$file" 2>&1 > /dev/null)"
    complaints "$(groff -k -Tutf8 -man -ww -z "$file" 2>&1)"  # UTF-8 text, as in the Russian pages
    ;;
  desktop)
    need desktop-file-validate
    complaints "$(desktop-file-validate "$file" 2>&1)"
    ;;
  metainfo)
    need appstreamcli
    out=$(appstreamcli validate --no-net "$file" 2>&1) || { printf '%s\n' "$out"; exit 1; }
    complaints "$(printf '%s\n' "$out" | grep -E '^[EW]:')"
    ;;
  mime)
    # The definition compiles into a database of its own, and there a pack without a telling name
    # is known by its first bytes while other text is not.
    need update-mime-database
    pack=$3
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/data/mime/packages" "$work/home"
    cp "$file" "$work/data/mime/packages/"
    [ -f /usr/share/mime/packages/freedesktop.org.xml ] && cp /usr/share/mime/packages/freedesktop.org.xml "$work/data/mime/packages/"
    complaints "$(XDG_DATA_DIRS="$work/data" XDG_DATA_HOME="$work/home" update-mime-database "$work/data/mime" 2>&1)"
    [ -f "$work/data/mime/text/x-pfr-pack.xml" ] || { echo "FAIL: text/x-pfr-pack not in the database"; exit 1; }
    if command -v gio > /dev/null; then
      cp "$pack" "$work/pack"
      printf 'not a pack\r\n' > "$work/other"
      for f in pack:text/x-pfr-pack other:text/plain; do
        got=$(XDG_DATA_DIRS="$work/data" XDG_DATA_HOME="$work/home" gio info -a standard::content-type "$work/${f%%:*}" |
          sed -n 's/.*standard::content-type: //p')
        [ "$got" = "${f#*:}" ] || { echo "FAIL: ${f%%:*} is $got, not ${f#*:}"; exit 1; }
      done
    fi
    ;;
  guide)
    # Every link and picture of the page reaches a file beside it, and every #name a place in it.
    dir=$(dirname "$file")
    bad=""
    while IFS= read -r ref; do
      case "$ref" in
        http://* | https://* | mailto:*) continue ;;
        \#*) grep -q "id=\"${ref#\#}\"" "$file" || bad+="no place $ref"$'\n' ;;
        *) [ -f "$dir/${ref%%#*}" ] || bad+="no file $ref"$'\n' ;;
      esac
    done < <(grep -o -E '(href|src)="[^"]*"' "$file" | sed -E 's/^[a-z]+="(.*)"$/\1/')
    complaints "${bad%$'\n'}"
    [ "$(grep -c -E '<img ' "$file")" -gt 0 ] || { echo "FAIL: no picture in $file"; exit 1; }
    ;;
  *)
    echo "unknown kind $kind"
    exit 2
    ;;
esac
echo "ok: $file"
