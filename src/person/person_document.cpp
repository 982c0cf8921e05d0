// SPDX-License-Identifier: MIT
#include "person/person_document.h"

#include "runtime/codepage.h"

namespace tolvex::person {

using namespace runtime::literals;

core::ReadResult read_line_document(core::PackReader& pack, core::Record& record) {
  return core::ReadResult::from_code(pack.read_record(record), false);
}

void write_cancel_mark(core::XmlWriter& xml, std::string_view element, std::string_view mark) {
  if (core::equals(mark, "ОТМН"_w)) xml.write_element(element, "ОТМЕНЕНО"_w);
}

}  // namespace tolvex::person
