#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installed into a fresh prefix, the programs archive out of the box: a batch over the example
# packs with the default settings leaves in Arh/ one zip archive holding every pack and every XML
# file made, by the tolvex-zip installed beside tolvex-cli. Then tolvex-zip's own command line.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -u
. "$(dirname "$0")/../support/checks.sh"
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/usr" > "$work/install.log" 2>&1; check "cmake --install" 0 $?
prefix=$work/usr
installed=(bin/tolvex-cli bin/tolvex-zip share/man/man1/tolvex-cli.1.gz share/man/man1/tolvex-zip.1.gz
  share/man/ru/man1/tolvex-cli.1.gz share/man/ru/man1/tolvex-zip.1.gz share/doc/tolvex/guide/index.html
  share/locale/ru/LC_MESSAGES/tolvex-cli.mo)
[ -e "$prefix/bin/tolvex" ] && installed+=(share/man/man1/tolvex.1.gz share/man/ru/man1/tolvex.1.gz share/applications/io.github.tolvex.Tolvex.desktop
  share/metainfo/io.github.tolvex.Tolvex.metainfo.xml share/mime/packages/tolvex.xml)
for f in "${installed[@]}"; do check "installs $f" yes "$([ -e "$prefix/$f" ] && echo yes)"; done
# The installed console speaks Russian under a Russian locale.
russian=(env LANG=ru_RU.UTF-8)
locale -a 2> /dev/null | grep -qix 'ru_RU.utf-\?8' || russian=(env LANG=C.UTF-8 LANGUAGE=ru)
check "tolvex-cli --help in Russian" 1 "$("${russian[@]}" "$prefix/bin/tolvex-cli" --help | grep -c 'Перевести названные')"
# man -L ru finds the Russian pages beside the English ones.
if command -v man > /dev/null; then
  for page in tolvex-cli tolvex-zip; do
    shown=$(MANPATH="$prefix/share/man" LC_ALL=C.UTF-8 MANWIDTH=80 man -L ru -E UTF-8 "$page" 2> /dev/null)
    check "man -L ru $page is Russian" yes "$(grep -q '^ОПИСАНИЕ' <<< "$shown" && echo yes)"
    shown=$(MANPATH="$prefix/share/man" LC_ALL=C.UTF-8 MANWIDTH=80 man -L C -E UTF-8 "$page" 2> /dev/null)
    check "man -L C $page is English" yes "$(grep -q '^DESCRIPTION' <<< "$shown" && echo yes)"
  done
fi
bash "$(dirname "$0")/validate.sh" guide "$prefix/share/doc/tolvex/guide/index.html" > /dev/null
check "the installed guide's links and pictures resolve" 0 $?

# A batch in an empty program folder, as a new user runs it.
mkdir "$work/pfr" && cd "$work/pfr" || exit 1
"$prefix/bin/tolvex-cli" -q batch --in "$source/examples/packs" --out Out_7 2> batch.txt; check "the batch" 0 $?
check "the default archiver is the installed tolvex-zip" "path_Arh_prg=$prefix/bin/tolvex-zip" \
  "$(grep -a '^path_Arh_prg=' tolvex.ini | tr -d '\r')"
wait_for_program "$prefix/bin/tolvex-zip" || fail=1
archives=(Arh/*.zip)
check "one archive in Arh/" 1 "${#archives[@]}"
unzip -tq "${archives[0]}" > /dev/null; check "unzip -t passes" 0 $?
expected=$( (ls "$source/examples/packs"; ls Out_7) | sort)
check "fourteen packs" 14 "$(ls "$source/examples/packs" | wc -l)"
check "XML files made" yes "$(ls Out_7 | grep -q '\.XML$' && echo yes)"
check "the archive holds every pack and every XML file" "$expected" "$(unzip -Z1 "${archives[0]}" | sort)"

# tolvex-zip's command line.
zip=$prefix/bin/tolvex-zip
"$zip" --version > out.txt; check "--version" "0 tolvex-zip" "$? $(cut -d' ' -f1 out.txt)"
"$zip" --help | grep -q -- '-add ARCHIVE FILE'; check "--help shows the usage" 0 $?
"$zip" > /dev/null 2>&1; check "no arguments is a usage error" 2 $?
"$zip" -add Arh/x > /dev/null 2>&1; check "no file is a usage error" 2 $?
cp "${archives[0]}" before.zip
"$zip" -add "${archives[0]}" Out_7/*.XML missing.txt 2> err.txt; check "a missing file fails" 1 $?
check "and says which" "tolvex-zip: not archived: missing.txt: No such file or directory" "$(cat err.txt)"
check "the other files are added (already there: the same members)" "$(unzip -Z1 before.zip | sort)" \
  "$(unzip -Z1 "${archives[0]}" | sort)"
touch plain
"$zip" -add plain/Arh/x batch.txt 2> err.txt; check "an archive folder that cannot be made fails" 1 $?
grep -q "cannot make the folder plain/Arh" err.txt; check "and says so" 0 $?

[ "$fail" = 0 ] && echo "all installation checks passed"
exit "$fail"
