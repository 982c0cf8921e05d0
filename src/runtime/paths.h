// SPDX-License-Identifier: MIT
// File names between the platform and the converter's Windows-1251 text.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tolvex::runtime {

// A path as Windows-1251 text, for the settings, the journal and message boxes. A character
// that 1251 lacks is kept as an escape (codepage.h): ansi_to_path gives the same path back, and
// the journal and the console show it as "?".
std::string path_to_ansi(const std::filesystem::path& path);

// Windows-1251 text (a name made from pack text, a name typed by the operator, a path kept
// with escapes) as a path in the platform's own encoding.
std::filesystem::path ansi_to_path(std::string_view ansi);

// The platform's directory separator as text ("/" here, "\" on Windows).
std::string_view separator();

// A directory as text ending in exactly one separator.
std::string with_separator(std::string_view dir);

}  // namespace tolvex::runtime
