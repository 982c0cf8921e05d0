#!/bin/sh
# SPDX-License-Identifier: MIT
# The Windows desktop program, checked from Linux:
#   windows_test.sh pe TOLVEX_EXE CLI_EXE   GUI subsystem, and only system DLLs imported
#   windows_test.sh windows TOLVEX_EXE WINE LINUX_CLI PACKS
#                                           the windows under wine on Xvfb at 1366x768: the main
#                                           window inside the screen, a batch over PACKS leaving
#                                           the XML files and journal of the Linux console's, the
#                                           settings window writing a setting, a second copy told
#                                           the journal is taken; `tolvex.exe PACK`: Alt+O twice
#                                           writes the XML the Linux console's `convert` writes
#   windows_test.sh msi BUILD_DIR           the installer and the portable zip hold both programs
set -eu
fail() { echo "FAIL: $*" >&2; exit 1; }

case "$1" in
pe)
  for exe in "$2" "$3"; do
    x86_64-w64-mingw32-objdump -p "$exe" >"${TMPDIR:-/tmp}/pe.$$" || fail "objdump $exe"
    dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' "${TMPDIR:-/tmp}/pe.$$" | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' ')
    rm -f "${TMPDIR:-/tmp}/pe.$$"
    for dll in $dlls; do
      case "$dll" in
        kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | comdlg32.dll | shell32.dll | ole32.dll | msvcrt.dll | \
          advapi32.dll | ws2_32.dll | api-ms-win-*) ;;
        *) fail "$exe imports $dll, which Windows does not have" ;;
      esac
    done
  done
  x86_64-w64-mingw32-objdump -p "$2" | grep -q 'Subsystem.*(Windows GUI)' || fail "tolvex.exe is not a GUI program"
  x86_64-w64-mingw32-objdump -p "$3" | grep -q 'Subsystem.*(Windows CUI)' || fail "tolvex-cli.exe is not a console program"
  ;;

windows)
  # A screen of its own, unless TOLVEX_TEST_DISPLAY names one (1366x768) to use.
  if [ -n "${TOLVEX_TEST_DISPLAY:-}" ]; then
    export DISPLAY=$TOLVEX_TEST_DISPLAY
  elif [ -z "${TOLVEX_IN_XVFB:-}" ]; then
    TOLVEX_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1366x768x24" sh "$0" "$@"
  fi
  step() { echo "-- $*" >&2; }
  exe=$2 wine=$3 linux_cli=$4 packs=$5
  [ -x "$linux_cli" ] || fail "no Linux console program $linux_cli to compare with (build the dev preset first)"
  dir=$(mktemp -d)
  trap 'rm -rf "$dir"' EXIT
  cp "$exe" "$dir/tolvex.exe"
  cd "$dir"
  mkdir In_4 linux
  cp "$packs"/* In_4/
  cp -r "$packs" linux/In_4
  inside() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1366 ] && [ $((Y + HEIGHT)) -le 768 ] ||
      fail "$2 ${WIDTH}x${HEIGHT}+${X}+${Y} outside the 1366x768 screen"
  }
  # Alt+O in the window $1 (wine takes keys in a window once it has been clicked).
  alt_o() { xdotool windowfocus --sync "$1" mousemove --window "$1" 4 4 click 1 sleep 0.3 key alt+o; }
  # The window named $1, visible, within $2 seconds.
  window() {
    i=0
    while [ $i -lt "$2" ]; do
      id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
      [ -n "$id" ] && { echo "$id"; return 0; }
      sleep 1
      i=$((i + 1))
    done
    return 1
  }
  # Window $1 gone within $2 tenths of a second.
  gone() {
    i=0
    while xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1"; do
      [ $i -lt "$2" ] || return 1
      sleep 0.1
      i=$((i + 1))
    done
  }
  # Does "$@" (a click or keys) until the window named $1 shows, three times at most: on a busy
  # machine wine may give a click or a key to no window. Prints the window.
  opens() {
    name=$1
    shift
    for _ in 1 2 3; do
      "$@"
      window "$name" 10 && return 0
    done
    return 1
  }
  # Answers box $1 with Enter, again if the key went astray.
  answer() {
    for _ in 1 2 3; do
      xdotool windowfocus --sync "$1" key Return 2>/dev/null || true
      gone "$1" 100 && return 0
    done
    return 1
  }
  inside_screen() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1366 ] && [ $((Y + HEIGHT)) -le 768 ] ||
      fail "$2 ${WIDTH}x${HEIGHT}+${X}+${Y} outside the 1366x768 screen"
  }
  step start
  "$wine" tolvex.exe >/dev/null 2>&1 &
  program=$!
  splash=$(window "Информация" 60) || fail "no information window"
  xdotool mousemove --window "$splash" 20 20 click 1
  main=$(window "Конвертация пачек ПФР 4 формата" 30) || fail "no main window"
  inside_screen "$main" "main window"
  main_width=$WIDTH main_height=$HEIGHT

  step second copy
  # A second copy: the journal is taken by the first.
  "$wine" tolvex.exe >/dev/null 2>&1 &
  second=$!
  box=$(window "Сообщение" 30) || fail "the second copy did not say that the journal is taken"
  answer "$box" || fail "the second copy's box did not close"
  wait "$second" || fail "the second copy did not end cleanly after its box"

  step batch
  # The batch window over the example packs by Alt+O: each box of a kind not converted answered,
  # then the summary; the same XML files and journal as the Linux console's batch over them.
  batch=$(opens "Пакетная обработка пачек 4 формата ПФР" \
    xdotool mousemove --window "$main" $((main_width / 2)) 83 click 1) || fail "no batch window"
  inside_screen "$batch" "batch window"
  alt_o "$batch"
  summary="" boxes=0
  while [ -z "$summary" ]; do
    [ $boxes -lt 20 ] || fail "the batch asked more than the kinds not converted"
    box=$(window "^(ПРЕДУПРЕЖДЕНИЕ !!!|Процедура не написана|Сообщение)\$" 120) || fail "the batch did not end"
    [ "$(xdotool getwindowname "$box")" = "Сообщение" ] && summary=$box
    answer "$box" || fail "a box of the batch did not close"
    boxes=$((boxes + 1))
  done
  gone "$batch" 100 || fail "the batch window did not close after its summary"
  grep -aq '^\[all_pch\]' tolvex.ini || fail "the batch window's position not kept"
  (cd linux && "$linux_cli" -q batch >/dev/null 2>&1) || fail "the Linux console's batch failed"
  [ "$(cd Out_7 && sha256sum ./*)" = "$(cd linux/Out_7 && sha256sum ./*)" ] ||
    fail "the batch's XML files differ from the Linux console's: $(ls Out_7 | tr '\n' ' ')"
  # The journals line by line, but for the folders and the clock.
  journal() {
    iconv -f CP1251 -t UTF-8 "$1" | tr -d '\r' | sed -E "s|\\\\|/|g; s|$2/||g; s/[0-9]{2}:[0-9]{2}:[0-9]{2}/T/g;
      s/^Время [0-9]+/Время/; s/[0-9]{6}_[0-9]{4}\$/A/"
  }
  journal Report/tolvex.log "Z:$dir" >journal.win
  journal linux/Report/tolvex.log "$dir/linux" >journal.linux
  diff journal.linux journal.win >&2 || fail "the batch's journal differs from the Linux console's"

  step settings
  # Settings: the input folder typed in, left by Esc, written.
  settings=$(opens "Настройки" xdotool mousemove --window "$main" $((main_width / 2)) 133 click 1) ||
    fail "no settings window"
  # Under wine a window takes keys once it has been clicked: its margin, as alt_o does.
  xdotool windowfocus --sync "$settings" mousemove --window "$settings" 4 4 click 1 sleep 0.3 key Tab End shift+Home
  xdotool type "C:\\packs\\"
  xdotool key Escape
  i=0
  until grep -aq '^path_in4=C:\\packs\\' tolvex.ini; do
    [ $i -lt 20 ] || fail "the settings window did not write path_in4: $(grep -a path_in4 tolvex.ini)"
    sleep 0.5
    i=$((i + 1))
  done

  step exit
  # Exit: the main window keeps its place. The settings window goes first; a click that wine
  # gives to no window (a busy machine) is given again.
  gone "$settings" 100 || fail "the settings window did not close on Esc"
  i=0
  while xdotool search --onlyvisible --name "Конвертация пачек ПФР 4 формата" >/dev/null 2>&1; do
    [ $i -lt 20 ] || fail "the main window did not close"
    if [ $((i % 5)) -eq 0 ]; then
      xdotool windowfocus --sync "$main" mousemove --window "$main" $((main_width - 40)) $((main_height - 30)) click 1
    fi
    sleep 1
    i=$((i + 1))
  done
  wait "$program" || fail "tolvex.exe ended with $?"
  grep -aq '^\[Main\]' tolvex.ini || fail "the main window's position not kept"
  grep -aq 'Журнал' Report/tolvex.log 2>/dev/null || iconv -f cp1251 -t utf-8 Report/tolvex.log | grep -q 'Журнал' ||
    fail "no journal"

  step one pack
  # `tolvex.exe PACK`: the one-pack window with the pack; Alt+O, then Alt+O in the converter
  # window, write the XML the Linux console writes for the pack.
  mkdir one console
  cp "$packs/adv1-01.txt" console/pack.txt
  cp "$packs/adv1-01.txt" one/pack.txt
  (cd console && "$linux_cli" convert pack.txt >/dev/null 2>&1) || fail "the Linux console did not convert the pack"
  cd one
  "$wine" ../tolvex.exe pack.txt >/dev/null 2>&1 &
  program=$!
  splash=$(window "Информация" 60) || fail "no information window"
  xdotool mousemove --window "$splash" 20 20 click 1
  one=$(window "Конвертация одной пачки" 30) || fail "no one-pack window"
  inside "$one" "the one-pack window"
  converter=$(opens "в формат 7" alt_o "$one") || fail "no converter window after Alt+O"
  inside "$converter" "the converter window"
  i=0
  alt_o "$converter"
  # The rest converted, the file closed and named.
  while ! iconv -f cp1251 -t utf-8 Report/tolvex.log 2>/dev/null | grep -q 'Закрыли в конце'; do
    [ $i -lt 60 ] || fail "no XML after Alt+O in the converter window"
    # Alt+O again if it went astray and the converter window still waits.
    if [ $((i % 10)) -eq 9 ] && xdotool search --onlyvisible --name "в формат 7" >/dev/null 2>&1; then
      alt_o "$converter"
    fi
    sleep 1
    i=$((i + 1))
  done
  xml=$(ls Out_7/PFR-*.XML)
  cmp "$xml" ../console/Out_7/"$(basename "$xml")" || fail "the XML differs from the console's"
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  ;;

msi)
  build=$2
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  msi="$build/tolvex-$version-x64.msi"
  [ -f "$msi" ] || fail "no $msi"
  files=$(msiinfo export "$msi" File | cut -f3)
  for f in tolvex.exe tolvex-cli.exe README.md LICENSE.txt tolvex.txt index.html one_pack.png batch-summary.png; do
    echo "$files" | grep -qx "$f" || fail "$f not in the installer"
  done
  msiinfo export "$msi" Shortcut | grep -q 'PROGRAMFOLDER' || fail "the shortcut does not start in the program folder"
  msiinfo export "$msi" Component | grep -q '^ProgramFolder.*	20	' || fail "the program folder is not kept at uninstall"
  zip="$build/tolvex-$version-x64.zip"
  for f in tolvex.exe tolvex-cli.exe README.md guide/index.html screenshots/one_pack.png \
    screenshots/windows/batch.png screenshots/windows/one-pack.png; do
    unzip -l "$zip" | grep -q "/$f\$" || fail "$f not in the portable zip"
  done
  ;;
*)
  fail "usage"
  ;;
esac
echo ok
