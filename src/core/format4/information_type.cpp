// SPDX-License-Identifier: MIT
#include "core/format4/information_type.h"

#include "core/format4/record.h"
#include "runtime/codepage.h"

namespace tolvex::core {

using namespace runtime::literals;

std::string_view information_word(std::string_view code, const InformationCodes& codes) {
  struct Row {
    bool InformationCodes::*read;
    std::string_view code, word;
  };
  static constexpr Row kWords[] = {
      {&InformationCodes::original, "ИСХД"_w, "ИСХОДНАЯ"_w},
      {&InformationCodes::pension, "ПЕНС"_w, "ПЕНСИОННАЯ"_w},
      {&InformationCodes::correcting, "КОРР"_w, "КОРРЕКТИРУЮЩАЯ"_w},
      {&InformationCodes::cancelling, "ОТМН"_w, "ОТМЕНЯЮЩАЯ"_w},
  };
  if (codes.blank_is_original && is_blank(code)) return "ИСХОДНАЯ"_w;
  for (const auto& row : kWords)
    if (codes.*row.read && equals(code, row.code)) return row.word;
  return {};
}

}  // namespace tolvex::core
