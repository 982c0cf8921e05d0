#!/usr/bin/env bash
# The console program end to end: options, exit statuses, settings left alone by --out.
set -u
. "$(dirname "$0")/../support/checks.sh"
cli="$1"
work=$(mktemp -d)
# A batch starts the archiver beside the program, which may still be at work in the folder.
trap 'wait_for_program "$(dirname "$cli")/tolvex-zip"; rm -rf "$work"' EXIT
cd "$work"
pack() {  # pack FILE TEXT: UTF-8 text to code page 866 with CR LF
  printf '%s' "$2" | sed 's/$/\r/' | iconv -f UTF-8 -t CP866 > "$1"
}
mkdir -p in
pack in/good.txt 'ЗГЛВ,"П4.10","АРМ",1.0
ИСТ4,ВЗЛ,075-001-000001,7701234567,770101001,"ООО Ромашка"
ПАЧК,12,ВНЕШ,ОПИСЬ,15.07.2010,1
ДОКТ,ЭЦПД,0'
pack in/bad.txt 'не пачка'

"$cli" --help > help.txt 2>&1; check "--help exits 0" 0 $?
grep -q "convert" help.txt; check "--help lists convert" 0 $?
grep -q "^  ИН41  СЗВ-4-1$" help.txt; check "--help lists the document kinds" 0 $?
"$cli" --version > ver.txt 2>&1; check "--version exits 0" 0 $?
grep -q "^tolvex-cli " ver.txt; check "--version names the program" 0 $?
"$cli" --no-such-option > /dev/null 2>&1; check "unknown option exits 2" 2 $?
"$cli" convert > /dev/null 2>&1; check "convert without a pack exits 2" 2 $?

"$cli" convert --out out1 in/good.txt 2> err.txt; check "a good pack exits 0" 0 $?
check "its XML is in --out" 1 "$(ls out1/*.XML 2>/dev/null | wc -l)"
xmllint --noout out1/*.XML; check "the XML is well-formed" 0 $?
grep -q "Процедура не написана: Эта Процедура load_ecpd пока  не написана." err.txt; check "boxes go to stderr in UTF-8" 0 $?
grep -qi "path_out7=.*out1" tolvex.ini; check "--out is not written to the settings" 1 $?
check "journal exists" 1 "$(ls Report/tolvex.log | wc -l)"

"$cli" convert --out out2 in/good.txt in/bad.txt 2> /dev/null; check "a rejected pack exits 1" 1 $?
check "the good pack still converted" 1 "$(ls out2/*.XML 2>/dev/null | wc -l)"

"$cli" -q batch --in in --out out3 2> /dev/null; check "batch with a rejected pack exits 1" 1 $?
check "batch converted the good pack" 1 "$(ls out3/*.XML 2>/dev/null | wc -l)"
iconv -f CP1251 -t UTF-8 Report/tolvex.log | grep -q "^Конец пакета "; check "batch journals its end" 0 $?

rm in/bad.txt
"$cli" -q batch --in in --out out4 2> /dev/null; check "batch of good packs exits 0" 0 $?
"$cli" batch --in no-such-dir > /dev/null 2>&1; check "a missing input folder is a usage error" 2 $?

mkdir -p Report && chmod 000 Report
if [ "$(id -u)" != 0 ]; then
  "$cli" convert in/good.txt > /dev/null 2>&1; check "unopenable journal ends the program" 3 $?
fi
chmod 755 Report
rm -rf Report && touch Report
"$cli" convert in/good.txt 2> end.txt; check "a journal folder that cannot be made exits 3" 3 $?
grep -q "Ошибка создания Файла!" end.txt; check "the end is told" 0 $?

[ "$fail" = 0 ] && echo "all console checks passed"
exit "$fail"
