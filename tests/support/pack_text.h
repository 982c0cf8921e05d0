// SPDX-License-Identifier: MIT
// Texts of tests: packs written as UTF-8 text and stored in code page 866 with CR LF line ends,
// as the accounting programs store them; the header of a pack the tests share; and what the
// program wrote (Windows-1251) read back as UTF-8.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "files.h"
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

// The first three lines of a pack (UTF-8), and the name of its XML file.
inline const std::string kHeader =
    "ЗГЛВ,\"П4.10\",\"АРМ-Бухгалтер\",1.0\n"
    "ИСТ4,ВЗЛ,075-001-000001,7701234567,770101001,\"ООО Ромашка\"\n"
    "ПАЧК,12,ВНЕШ,ОПИСЬ,15.07.2010,1\n";
inline const std::string kOutName = "PFR-700-Y-2010-ORG-075-001-000001-DCK-00012-DPT-000000-DCK-00000.XML";

// A Windows-1251 text the program wrote (its journal, a program's arguments) as UTF-8 without
// CR, the folder `dir` written as <DIR> and paths as they read on Linux.
inline std::string readable_text(const std::string& ansi, const std::filesystem::path& dir) {
  std::string out;
  for (char c : runtime::ansi_to_utf8(ansi))
    if (c != '\r') out.push_back(c);
  const std::string d = dir.string();
  for (std::size_t at = 0; (at = out.find(d, at)) != std::string::npos;) out.replace(at, d.size(), "<DIR>");
  return slashes(out);
}

}  // namespace tolvex::fakes
