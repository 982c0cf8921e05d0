// SPDX-License-Identifier: MIT
// What differs between the platforms the converter runs on, kept here so that nothing above
// the runtime needs to know: the local time, the console's encoding, where the program lives.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace tolvex::runtime {

// Called first thing in every program, before anything is opened. Descriptors 0, 1 and 2 that
// the program was started without (a scheduler or a service may start it so) are opened on the
// null device, so that no file the program opens takes their numbers and receives what is
// written to the standard streams. Then the interruption handlers are installed (see
// temporary_files.h). Ends the program with exit status 3 when the null device cannot be opened.
void start_process();

struct LocalTime {
  int year, month, day, hour, minute, second, millisecond;
};

// The local date and time now.
LocalTime local_time_now();

// A text from data (a pack name, a pack line) as it may be shown in one line of the journal or
// the console: CR, LF and every other control character become "?", so that no data can
// start a line of its own or send the terminal an escape sequence. A character of a file name
// that Windows-1251 lacks (kept as an escape) becomes "?" too.
std::string printable(std::string_view text);

// Writes Windows-1251 text to a console stream in the console's own encoding (UTF-8 on Linux,
// the console code page on Windows).
void write_console(std::FILE* stream, std::string_view ansi);

// A text given on the command line (UTF-8 on Linux, the active code page on Windows) as a
// path's native string.
std::string console_to_utf8(std::string_view text);

// The folder of the running program's own file (from /proc/self/exe on Linux, the module's file
// name on Windows), wherever it was started from; empty when it cannot be told.
std::filesystem::path running_program_folder();

// The two-letter name of the user's interface language on Windows ("ru" on a Russian
// workstation); empty elsewhere, where the locale tells the language.
std::string user_interface_language();

// The archiver the settings name by default, as Windows-1251 text, for the program folder (text
// ending in the separator). On Windows it is the program folder's "pkZipc.exe"; elsewhere it is
// the companion archiver tolvex-zip installed beside the running program, so that archiving
// works out of the box from /usr/bin and from a build tree alike.
std::string default_archiver(std::string_view program_folder);

}  // namespace tolvex::runtime
