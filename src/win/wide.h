// SPDX-License-Identifier: MIT
// Windows-1251 text of the converter as the wide API takes it, and back, by the runtime's tables.
// A file name's character that 1251 lacks is kept in the converter's text as an escape
// (runtime/codepage.h): it is shown as that character, and a name typed or chosen in a window
// keeps it the same way, as the console does; other typed text has no escapes ("?").
#pragma once

#include <string>
#include <string_view>

#include "runtime/codepage.h"
#include "win/system.h"

namespace tolvex::win {

inline std::wstring w(std::string_view ansi) {
  if (!runtime::has_escape(ansi)) {
    std::u16string u = runtime::ansi_to_utf16(ansi);
    return std::wstring(u.begin(), u.end());
  }
  std::string utf8 = runtime::ansi_to_utf8(ansi);
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}
inline std::string ansi(std::wstring_view wide) {
  return runtime::utf16_to_ansi(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}
// A path or file name typed in a window, a character 1251 lacks kept as an escape.
inline std::string ansi_name(std::wstring_view wide) {
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
  return runtime::name_to_ansi(utf8);
}

}  // namespace tolvex::win
