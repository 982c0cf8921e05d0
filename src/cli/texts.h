// SPDX-License-Identifier: MIT
// The console's own texts (its help, usage errors, summary and per-pack lines) in the user's
// language: written in English here, translated through the catalogue po/<language>.po. On
// Linux the catalogue is a GNU gettext one chosen by the locale (LANG, LC_ALL, LC_MESSAGES,
// LANGUAGE); on Windows it is built into the program and chosen by the user's interface
// language. Message boxes and journal lines are not translated: they are the format's own.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tolvex::cli {

// Chooses the catalogue once, before any text is asked for.
void choose_language();

// The text in the user's language, UTF-8 (as the catalogue and the CLI11 help hold it).
std::string utf8_text(const char* english);

// The text in the user's language as Windows-1251, as the console writes it; "%1".."%9" are
// replaced by the values given, in order.
std::string text(const char* english, std::initializer_list<std::string_view> values = {});

}  // namespace tolvex::cli

// Mark the English texts of the console for translation (xgettext -k_ -kU_ -kN_ finds them):
// _ gives the text for the console (Windows-1251), U_ for CLI11's help (UTF-8), N_ only marks a
// text that is translated later by cli::text.
#define _(english) ::tolvex::cli::text(english)
#define U_(english) ::tolvex::cli::utf8_text(english)
#define N_(english) english
