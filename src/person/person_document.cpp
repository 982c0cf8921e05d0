// SPDX-License-Identifier: MIT
#include "person/person_document.h"

#include "person/address.h"
#include "person/person_blocks.h"
#include "runtime/codepage.h"

namespace tolvex::person {

using namespace runtime::literals;

core::ReadResult read_line_document(core::PackReader& pack, core::Record& record) {
  return core::ReadResult::from_code(pack.read_record(record), false);
}

void write_name_block(core::XmlWriter& xml, std::string_view element, std::string_view surname,
                      std::string_view first_name, std::string_view patronymic) {
  auto block = xml.block(element);
  write_full_name(xml, surname, first_name, patronymic);
}

void write_address_block(core::XmlWriter& xml, std::string_view element, std::string_view address) {
  auto block = xml.block(element);
  write_address(xml, address);
}

void write_cancel_mark(core::XmlWriter& xml, std::string_view element, std::string_view mark) {
  if (core::equals(mark, "ОТМН"_w)) xml.write_element(element, "ОТМЕНЕНО"_w);
}

}  // namespace tolvex::person
