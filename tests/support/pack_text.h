// Packs for tests, written as UTF-8 text: stored in code page 866 with CR LF line ends, as the
// accounting programs store them.
#pragma once

#include <string>
#include <string_view>

#include "runtime/codepage.h"

namespace tolvex::fakes {

// UTF-8 lines separated by LF -> the bytes of a pack file.
inline std::string pack_bytes(std::string_view utf8) {
  std::string out;
  for (char c : runtime::ansi_to_oem(runtime::utf8_to_ansi(utf8))) {
    if (c == '\n') {
      out += "\r\n";
      continue;
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace tolvex::fakes
