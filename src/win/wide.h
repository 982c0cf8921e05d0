// SPDX-License-Identifier: MIT
// Windows-1251 text of the converter as the wide API takes it, and back, by the runtime's tables.
#pragma once

#include <string>
#include <string_view>

#include "runtime/codepage.h"

namespace tolvex::win {

inline std::wstring w(std::string_view ansi) {
  std::u16string u = runtime::ansi_to_utf16(ansi);
  return std::wstring(u.begin(), u.end());
}
inline std::string ansi(std::wstring_view wide) {
  return runtime::utf16_to_ansi(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

}  // namespace tolvex::win
