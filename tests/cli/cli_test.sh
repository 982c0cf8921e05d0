#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The console program end to end: options, exit statuses, settings left alone by --out, and
# the files and folders around a conversion (links planted by others, failing writes, pipes,
# names with line breaks, external programs' arguments, syncs and interruptions).
set -u
. "$(dirname "$0")/../support/checks.sh"
cli="$1"
# The console's own texts are English here; the Russian ones are checked below.
unset LC_ALL LC_MESSAGES LANGUAGE
export LANG=C
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
name=PFR-700-Y-2010-ORG-075-001-000001-DCK-00012-DPT-000000-DCK-00000.XML
journal() { iconv -f CP1251 -t UTF-8 Report/tolvex.log; }
leftovers() { find . -type f \( -name '*.tmp' -o -name '*.part' \) | wc -l; }

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

"$cli" -q batch --in in --out out3 2> sum.txt; check "batch with a rejected pack exits 1" 1 $?
check "batch converted the good pack" 1 "$(ls out3/*.XML 2>/dev/null | wc -l)"
check "batch counts each outcome apart" "tolvex-cli: 2 packs: 0 converted, 0 converted with documents left out, 1 not converted, 1 rejected, 0 failed" \
  "$(grep packs: sum.txt)"
check "batch names the packs not converted" 2 "$(grep -c -e 'good.txt: not converted (ЭЦПД' -e 'bad.txt: rejected' sum.txt)"
iconv -f CP1251 -t UTF-8 Report/tolvex.log | grep -q "^Конец пакета "; check "batch journals its end" 0 $?
mkdir -p in2
pack in2/adv1.txt 'ЗГЛВ,"П4.10","АРМ",1.0
ИСТ4,ВЗЛ,075-001-000001,7701234567,770101001,"ООО Ромашка"
ПАЧК,13,ВНЕШ,ОПИСЬ,15.07.2010,1
ДОКТ,АНКТ,1
АНК1,0,15.07.2010,Иванов,Иван'
"$cli" -q convert --out out5 in2/adv1.txt 2> quiet.txt; check "a converted pack is not named" 0 "$(wc -l < quiet.txt)"
"$cli" -q convert --list --out out5 in2/adv1.txt 2> list.txt
check "--list names the converted pack too" 1 "$(grep -c 'adv1.txt: converted$' list.txt)"
# A document beyond KOL_DOK: the announced one converted, the rest told and counted apart.
pack in2/long.txt 'ЗГЛВ,"П4.10","АРМ",1.0
ИСТ4,ВЗЛ,075-001-000001,7701234567,770101001,"ООО Ромашка"
ПАЧК,14,ВНЕШ,ОПИСЬ,15.07.2010,1
ДОКТ,АНКТ,1
АНК1,0,15.07.2010,Иванов,Иван
АНК1,1,15.07.2010,Петров,Петр'
"$cli" -q convert --out out5 in2/long.txt 2> long.txt; check "documents left out exit 1" 1 $?
check "... and are told" 1 "$(grep -c 'long.txt: converted, documents left out' long.txt)"
check "... in the journal" 1 "$(journal | grep -c '^Сконвертировано документов: 1; остальные строки пачки не конвертированы')"
"$cli" -q batch --in in2 --out out5b 2> sum2.txt
check "... counted apart in the batch" "tolvex-cli: 2 packs: 1 converted, 1 converted with documents left out, 0 not converted, 0 rejected, 0 failed" \
  "$(grep packs: sum2.txt)"

# The console's own texts in the user's language: Russian under a Russian locale (the bare
# language where ru_RU.UTF-8 is not installed), English under C; boxes stay as they are.
russian=(env LANG=ru_RU.UTF-8)
locale -a 2> /dev/null | grep -qix 'ru_RU.utf-\?8' || russian=(env LANG=C.UTF-8 LANGUAGE=ru)
"${russian[@]}" "$cli" --help > help_ru.txt 2>&1
check "--help in Russian" 1 "$(grep -c '^  convert  *Перевести названные пачки, каждую в свой файл XML$' help_ru.txt)"
check "--help in English under C" 1 "$(grep -c '^  convert  *Convert the packs named, each into its own XML file$' help.txt)"
"${russian[@]}" "$cli" -q batch --in in --out out3 2> sum_ru.txt
check "the summary in Russian" \
  "tolvex-cli: пачек: 2; сконвертировано: 0, сконвертировано не полностью: 0, не конвертируются: 1, отвергнуто: 1, не записано: 0" \
  "$(grep 'пачек:' sum_ru.txt)"
check "each pack's line in Russian" 1 "$(grep -c 'bad.txt: отвергнута (не пачка 4 формата)$' sum_ru.txt)"
check "the boxes as in every language" 1 "$(grep -c '^Сообщение: Это не файл пачки ПФР' sum_ru.txt)"
"${russian[@]}" "$cli" convert 2> usage_ru.txt; check "a usage error in Russian exits 2" 2 $?
check "and says what is missing in Russian" "tolvex-cli: не названа ни одна пачка" "$(head -1 usage_ru.txt)"
"$cli" convert 2> usage.txt
check "and in English under C" "tolvex-cli: no pack named" "$(head -1 usage.txt)"

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

rm -f Report

# Started without standard descriptors (as a scheduler may start it): no file takes their
# numbers, so no box text lands in an XML file or the journal.
mkdir -p nostd && cp in/good.txt nostd/ && cp in2/adv1.txt nostd/
"$cli" batch -j 1 --in nostd --out out12 0<&- 1>&- 2>&-; check "closed descriptors: exit 0" 0 $?
xmllint --noout out12/*.XML; check "... the XML files are well-formed" 0 $?
check "... and no box text is in any file" 0 "$(grep -rlF -e 'Процедура не написана' -e 'tolvex-cli:' out12 Report | wc -l)"

# One run gives a PFR name once (the later pack is refused and told); a link in the input
# folder is no pack; with the output folder the input folder, no pack is replaced.
mkdir -p twice && cp in/good.txt twice/a.txt && cp in/good.txt twice/b.txt && ln -s "$work/victim" twice/c.txt
"$cli" -q batch --in twice --out out13 -j 2 2> e.txt; check "two packs of one PFR name: exit 1" 1 $?
grep -q "twice/b.txt: failed (its XML file's name was taken by $work/twice/a.txt in this run" e.txt
check "... which pack took whose name is told" 0 $?
check "... the link is counted rejected" 1 "$(grep -c 'twice/c.txt: rejected (a link' e.txt)"
journal | grep -q "^Выходной файл уже записан в этом пакете из пачки $work/twice/a.txt"; check "... and journaled" 0 $?
rm twice/c.txt && cp in/good.txt "twice/$name"
"$cli" -q batch --in twice --out twice 2> /dev/null; check "an XML that would replace another pack: exit 1" 1 $?
cmp -s in/good.txt "twice/$name"; check "... that pack is kept" 0 $?

# Links planted where the program writes: never followed, never removed.
echo "the victim's bytes" > victim
mkdir -p out5 && ln -s "$work/victim" "out5/$name.part" && ln -s "$work/victim" "out5/$name"
rm -f tolvex.ini && ln -s "$work/victim" tolvex.ini.tmp
"$cli" convert --out out5 in/good.txt 2> /dev/null; check "links planted beside the output and the settings: exit 0" 0 $?
check "the file they point at is untouched" "the victim's bytes" "$(cat victim)"
check "the PFR name is a file of its own" regular "$(stat -c %F "out5/$name" | cut -d' ' -f1)"
check "the settings are a file of their own" regular "$(stat -c %F tolvex.ini | cut -d' ' -f1)"
check "the planted links are left alone" 2 "$(find . -name '*.tmp' -type l -o -name '*.part' -type l | wc -l)"
rm -f tolvex.ini.tmp "out5/$name.part"

# Writes that fail (a file-size limit stands in for a full disk; SIGXFSZ ignored, so that the
# write fails instead of ending the program): each is told, and nothing is left half written.
mkdir -p four && for i in 1 2 3 4; do cp in/good.txt four/p$i.txt; done
(trap '' XFSZ; ulimit -f 2; "$cli" convert --out out6 four/*.txt) 2> full.txt; check "a journal that cannot be written exits 3" 3 $?
grep -q "Сообщение: Не могу записать журнал Report/tolvex.log. Ошибка: Нет места на диске (121)" full.txt; check "the journal failure is told as a full disk" 0 $?
check "no temporary file is left" 0 "$(leftovers)"
(trap '' XFSZ; ulimit -f 1; "$cli" convert --out out7 in/good.txt) 2> /dev/null; check "an XML file that cannot be written exits 1" 1 $?
check "no part of it is left" 0 "$(ls out7 | wc -l)"
journal | grep -q "^121 Закрыли в конце $work/out7/$name"; check "its failed close is journaled as a full disk" 0 $?
mv tolvex.ini kept.ini
# (Under a limit of 0 the error stream must be a pipe: a file there could not be written either.)
(trap '' XFSZ; ulimit -f 0; "$cli" convert --out out7 in/good.txt; echo "exit $?") 2>&1 | cat > full.txt
check "settings that cannot be written exit 3" "exit 3" "$(tail -1 full.txt)"
grep -q "Не могу записать файл настроек tolvex.ini" full.txt; check "the settings failure is told" 0 $?
check "no settings file or temporary file is left" "0 0" "$(ls tolvex.ini 2>/dev/null | wc -l) $(leftovers)"
mv kept.ini tolvex.ini

# A settings file that cannot be read is not replaced by defaults.
mv tolvex.ini kept.ini && mkdir tolvex.ini
"$cli" convert in/good.txt 2> e.txt; check "settings that cannot be read exit 3" 3 $?
grep -q "Не могу прочитать файл настроек tolvex.ini. Ошибка: Нет доступа (5)" e.txt; check "the reading failure is told" 0 $?
check "the settings are not replaced" directory "$(stat -c %F tolvex.ini)"
rmdir tolvex.ini && head -c 1100000 /dev/zero | tr '\0' ';' > tolvex.ini && before=$(md5sum < tolvex.ini)
"$cli" convert in/good.txt 2> e.txt; check "settings over 1 MB exit 3" 3 $?
grep -q "Файл настроек tolvex.ini больше 1 Мб" e.txt; check "the size is told" 0 $?
check "the large settings file is kept" "$before" "$(md5sum < tolvex.ini)"
{ printf '\377\376'; printf '[odna_pch]\r\npath_out7=%s/u16out/\r\n' "$work" | iconv -f UTF-8 -t UTF-16LE; } > tolvex.ini
"$cli" -q convert in/good.txt 2> /dev/null; check "settings saved as Notepad's Unicode are followed" 1 "$(ls u16out | wc -l)"
printf '[odna_pch]\r\npath_out7=/a\0b/\r\n' > tolvex.ini && before=$(md5sum < tolvex.ini)
"$cli" convert in/good.txt 2> e.txt; check "settings that cannot be understood exit 3" 3 $?
grep -q "Файл настроек tolvex.ini не м.б. прочитан: в строке 2 не текст" e.txt; check "... are told" 0 $?
check "... and kept" "$before" "$(md5sum < tolvex.ini)"
mv kept.ini tolvex.ini

# The input folder of the settings is missing: told, exit 1, nothing archived.
printf '#!/bin/sh\nprintf "%%s\\n" "$@" > "%s/args.txt"\n' "$work" > record.sh && chmod +x record.sh
cp tolvex.ini kept.ini
printf '[odna_pch]\r\npath_in4=%s/nowhere/\r\npath_Arh_prg=%s/record.sh\r\n' "$work" "$work" > tolvex.ini
"$cli" -q batch --out out8 2> e.txt; check "a missing input folder from the settings exits 1" 1 $?
grep -q "Не могу прочитать входной каталог $work/nowhere/: Путь не найден (3)" e.txt; check "the folder and the reason are told" 0 $?
journal | grep -q "Архивировали"; check "nothing is archived" 1 $?

# Names the program inserts reach the external programs as one argument each.
mkdir -p "in dir" && cp in/good.txt "in dir/x --all y.txt"
printf '[odna_pch]\r\nfl_p4all=1\r\npath_ChPSN=%s/record.sh\r\npar_ChPSN=" -v \"a b\" "\r\n' "$work" > tolvex.ini
"$cli" -q batch --in "in dir" --out out8 2> /dev/null; check "batch with a checker exits 0" 0 $?
check "the checker's arguments" "-v|a b|$work/in dir/x --all y.txt" "$(paste -sd'|' args.txt)"
mv kept.ini tolvex.ini

# The output would take the place of its own pack: refused, the pack kept.
mkdir -p out9 && cp in/good.txt "out9/$name"
"$cli" convert --out out9 "out9/$name" 2> e.txt; check "converting a pack onto itself exits 1" 1 $?
cmp -s in/good.txt "out9/$name"; check "the pack is kept" 0 $?
grep -q "Выходной файл совпадает с входной пачкой" e.txt; check "the refusal is told" 0 $?

# Only regular files are packs: a pipe (with a writer or without) and a device are refused at
# once (the time limit only keeps a fault from hanging the suite).
mkfifo fifo
timeout 60 "$cli" convert fifo /dev/zero 2> e.txt; check "a pipe and a device exit 1" 1 $?
check "both are refused as not regular" 2 "$(grep -c "Не могу открыть пачку Не обычный файл" e.txt)"
exec 3<> fifo
timeout 60 "$cli" convert fifo 2> e.txt; check "a pipe with a writer exits 1" 1 $?
exec 3>&-

# A pack that is gone is told as such; a huge file with no line end (sparse: no disk) is judged
# by its first bytes and rejected at once, not read to its end.
"$cli" convert in/gone.txt 2> e.txt; check "a pack that is gone exits 1" 1 $?
grep -q "gone.txt: failed (the pack could not be opened or read)" e.txt; check "... and is told as unreadable" 0 $?
truncate -s 8G huge.txt
timeout 5 "$cli" convert huge.txt 2> e.txt; check "an 8 GB file with no line end is rejected at once" 1 $?
rm -f huge.txt

# The journal's folder a link to another folder: refused, that folder's journal untouched.
mkdir -p linked/elsewhere && echo "their journal" > linked/elsewhere/tolvex.log && ln -s elsewhere linked/Report
(cd linked && "$cli" convert ../in/good.txt 2> e.txt); check "a journal folder that is a link exits 3" 3 $?
check "the linked folder's journal is untouched" "their journal" "$(cat linked/elsewhere/tolvex.log)"

# Names outside Windows-1251 are used as they are: a program folder and an output folder; only
# the journal shows them with "?"; the settings keep a default under such a folder relative.
mkdir -p "prog_ł" && (cd "prog_ł" && "$cli" -q convert ../in/good.txt 2> /dev/null && "$cli" -q convert --out "DIR_☃" ../in/good.txt)
check "a program folder outside 1251 exits 0" 0 $?
check "the XML is in its own Out_7 and --out" "1 1 0" \
  "$(ls prog_ł/Out_7 | wc -l) $(ls "prog_ł/DIR_☃" | wc -l) $(ls -d 'prog_?' 'DIR_?' 'prog_ł/DIR_?' 2>/dev/null | wc -l)"
grep -q "^path_out7=Out_7/" "prog_ł/tolvex.ini"; check "... and the settings name it relative" 0 $?
iconv -f CP1251 -t UTF-8 "prog_ł/Report/tolvex.log" | grep -q "^0 Создали $work/prog_?/DIR_?/$name"
check "... the journal shows ?" 0 $?

# Started in a folder that was removed: told, exit 3.
mkdir gone && (cd gone && rmdir "$work/gone" && "$cli" batch 2> "$work/e.txt"); check "a removed folder exits 3" 3 $?
grep -q "Текущий каталог удалён или недоступен" e.txt; check "... and is told" 0 $?

# Line breaks and escape sequences in names never reach the journal or the terminal.
forged=$(printf 'x\n0 Закрыли FORGED.txt') && red=$(printf '\033[31mred.txt')
cp in/good.txt "in/$forged" && cp in/good.txt "in/$red"
"$cli" convert --out out10 "in/$forged" 2> e.txt && "$cli" convert --out out10 "in/$red" 2>> e.txt
check "packs with such names convert" 0 $?
check "no forged journal line" 0 "$(journal | grep -c '^0 Закрыли FORGED')"
check "no escape on the error stream" 0 "$(grep -c "$(printf '\033')" e.txt)"
rm -f "in/$forged" "in/$red"

# Several packs at once leave what one at a time leaves: the same files, journal (times aside)
# and messages, over packs of every kind, rejected ones, ones with warnings and many of one PFR
# name (the first takes it, the later are refused); and a journal that fails at some pack ends
# both at the same pack, with the same files published and no temporary file left.
bash "$(dirname "$0")/../../tools/golden-packs.sh" every
mkdir -p many && for i in $(seq -w 1 40); do sed "s/^ПАЧК,12,/ПАЧК,$i,/" <(iconv -f CP866 -t UTF-8 in/good.txt) |
  iconv -f UTF-8 -t CP866 > "many/p$i.txt"; done
run_jobs() {  # run_jobs JOBS FOLDER [ULIMIT]: a batch in a program folder of its own; what it left
  local at="$work/jobs$1-$2"
  rm -rf "$at" && mkdir -p "$at" && (cd "$at" && cp "$work/tolvex.ini" . && (trap '' XFSZ; ulimit -f "${3:-unlimited}"
    "$cli" batch --in "$work/$2" --out Out_7 --jobs "$1" > /dev/null 2> err.txt; echo "exit $?" > status.txt))
  (cd "$at" && cat status.txt && sed "s#$at#AT#g" err.txt && find . -name '*.tmp' && (cd Out_7 && sha256sum *) &&
   iconv -f CP1251 -t UTF-8 Report/tolvex.log | sed -E "s#$at#AT#g; s/[0-9]{2}:[0-9]{2}:[0-9]{2}/T/g" |
     sed -E 's/^Время [0-9]+/Время N/; s/[0-9]{6}_[0-9]{4}/A/g')
}
one_at_a_time=$(run_jobs 1 every)
check "--jobs 4 leaves what --jobs 1 leaves" "$one_at_a_time" "$(run_jobs 4 every)"
check "... the default too" "$one_at_a_time" "$(run_jobs "$(nproc)" every)"
check "... also when the journal fails at a pack" "$(run_jobs 1 many 8)" "$(run_jobs 4 many 8)"
check "... which ends the program at a pack in the middle" "exit 3 yes" \
  "$(head -1 "$work/jobs4-many/status.txt") $(n=$(ls "$work/jobs4-many/Out_7" | wc -l); [ "$n" -gt 1 ] && [ "$n" -lt 40 ] && echo yes)"

# The console waits for the archiver and tells its failure (exit 1): the archive folder a link to
# a folder, a damaged archive, an archive folder that is a file. Packs moved away as soon as the
# batch ends are in the archive.
mkdir -p tosend sent arc/real && cp in/good.txt tosend/ && echo junk > arc/file && ln -s real arc/link
cp tolvex.ini kept.ini
for at in link/ real/ file/; do
  [ "$at" = real/ ] && echo junk > arc/real/arhiv.zip
  printf '[odna_pch]\r\nzip_dt=0\r\nimj_Arh=\r\npath_Arhiv=%s/arc/%s\r\n' "$work" "$at" > tolvex.ini
  "$cli" -q batch --in tosend --out out14 2> e.txt; check "archiving into arc/$at fails: exit 1" 1 $?
  grep -q "archiving into $work/arc/${at}arhiv failed: the archiver ended with exit status 1" e.txt
  check "... told" 0 $?
  check "... journaled" 1 "$(journal | grep -c "^1 Не архивировали $work/arc/${at}arhiv.$")"
done
rm arc/real/arhiv.zip
printf '[odna_pch]\r\nzip_dt=0\r\nimj_Arh=\r\npath_Arhiv=%s/arc/real/\r\n' "$work" > tolvex.ini
"$cli" -q batch --in tosend --out out14 && mv tosend/* sent/; check "a batch archived: exit 0" 0 $?
check "... the packs moved away at once are in the archive" 1 "$(unzip -l arc/real/arhiv.zip | grep -c ' good.txt$')"

# Interruptions (SIGTERM, SIGINT, SIGHUP, SIGQUIT) at random moments of batches of one job and of
# many leave no temporary file; a reader of the error stream that goes away makes the batch end
# with exit 1, its journal whole; a file-size limit is a failed write, told.
mkdir -p flood && for i in $(seq 1 200); do
  sed "s/^ПАЧК,12,/ПАЧК,$i,/" <(iconv -f CP866 -t UTF-8 in/good.txt) | iconv -f UTF-8 -t CP866 > "flood/p$i.txt"; done
killed=0
for k in 1 2 3 4 5 6 7 8; do
  sig=$(echo TERM INT HUP QUIT | cut -d' ' -f$(( (k - 1) % 4 + 1 )))
  (set -m; "$cli" -q batch --in flood --out out15 -j $(( k % 2 ? 1 : 8 )) 2> /dev/null & pid=$!
   sleep "0.$(( RANDOM % 4 ))$(( RANDOM % 10 ))"; kill -"$sig" "$pid" 2> /dev/null; wait "$pid"; echo $? > status.txt)
  [ "$(cat status.txt)" -gt 128 ] && killed=$((killed + 1))
done
wait_for_program "$(dirname "$cli")/tolvex-zip"
check "no temporary file survives an interruption" 0 "$(leftovers)"
[ "$killed" -gt 0 ]; check "... of which some came before the end ($killed of 8)" 0 $?
(set -m; "$cli" -q batch --in flood --out out15 -j 8 2> /dev/null & pid=$!; sleep 0.2; kill -KILL "$pid"; wait "$pid")
echo left > "out15/$name.ab12cd34.tmp" && echo left > tolvex.ini.0a1b2c3d.tmp
wait_for_program "$(dirname "$cli")/tolvex-zip"
"$cli" -q batch --in flood --out out15 2> /dev/null; check "a batch after SIGKILL: exit 0" 0 $?
check "... removes the temporary files nobody owns" 0 "$(leftovers)"
check "... and never archives one" 0 "$(unzip -l arc/real/arhiv.zip | grep -c '\.tmp$')"
"$cli" batch --in flood --out out16 -j 1 2>&1 | head -1 > /dev/null; st=${PIPESTATUS[0]}
check "the error stream's reader gone: exit 1, not SIGPIPE" 1 "$st"
journal | tail -1 | grep -q "^Конец пакета "; check "... the batch went to its end" 0 $?
check "... and left no temporary file" 0 "$(leftovers)"
# The archiver interrupted while it writes leaves no temporary file either.
mkdir -p big && head -c 40000000 /dev/urandom > big/big.bin
(set -m; "$(dirname "$cli")/tolvex-zip" -add bigarc/x 'big/*.*' & pid=$!; sleep 0.3; kill -TERM "$pid"; wait "$pid"
 echo $? > status.txt)
check "tolvex-zip ended by SIGTERM leaves no temporary file" "143 0" "$(cat status.txt) $(ls -A bigarc | grep -c '\.tmp$')"
rm -rf big bigarc
mv kept.ini tolvex.ini
(ulimit -f 2; "$cli" convert --out out17 four/*.txt) 2> e.txt; check "a file-size limit: exit 3, not SIGXFSZ" 3 $?
check "... no temporary file is left" 0 "$(leftovers)"

if strace -o /dev/null true 2> /dev/null; then
  # The settings of a first start are written once; an XML file takes its PFR name only after
  # its bytes are on the disk, and the folder is synced after the rename.
  mv tolvex.ini kept.ini
  strace -f -o trace.txt -e trace=openat,fsync,rename,renameat "$cli" convert --out out11 in/good.txt 2> /dev/null
  check "the defaults are written in one go" 1 "$(grep -cE "rename(at)?\(.*(\"$work/|, \")tolvex.ini\"\)" trace.txt)"
  steps=$(sed -n "/XML\.[a-z0-9]*\.tmp.*O_EXCL/,\$p" trace.txt | grep -oE '^[0-9]+ +(fsync|rename)' | awk '{print $2}' | paste -sd' ')
  check "the XML: synced, renamed, folder synced" "fsync rename fsync" "$steps"
  mv kept.ini tolvex.ini
  # Ended by SIGTERM while the XML is being finished: the unfinished file goes, the earlier stays.
  echo earlier > "out11/$name"
  (strace -f -o /dev/null -e trace=fsync -e inject=fsync:signal=SIGTERM:when=1 "$cli" convert --out out11 in/good.txt
   echo $? > status.txt) 2> /dev/null
  check "SIGTERM ends the program as SIGTERM" 143 "$(cat status.txt)"
  check "the earlier XML stays, nothing else" "earlier|$name" "$(cat "out11/$name")|$(ls out11)"
else
  echo "skip: strace cannot trace here; syncs and interruptions not checked end to end"
fi

[ "$fail" = 0 ] && echo "all console checks passed"
exit "$fail"
