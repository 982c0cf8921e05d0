#include "person/person_document.h"

#include "person/address.h"
#include "person/person_blocks.h"
#include "runtime/codepage.h"

namespace tolvex::person {

using namespace runtime::literals;

std::string document_number(std::string_view ndok_pch) { return std::to_string(core::as_number(ndok_pch) + 1); }

core::ReadResult read_line_document(core::PackReader& pack, core::Record& record) {
  return core::ReadResult::from_code(pack.read_record(record), false);
}

void write_name_block(core::XmlWriter& xml, std::string_view element, std::string_view surname,
                      std::string_view first_name, std::string_view patronymic) {
  xml.open(element);
  write_full_name(xml, surname, first_name, patronymic);
  xml.close(element);
}

void write_address_block(core::XmlWriter& xml, std::string_view element, std::string_view address) {
  xml.open(element);
  write_address(xml, address);
  xml.close(element);
}

void write_cancel_mark(core::XmlWriter& xml, std::string_view element, std::string_view mark) {
  if (core::equals(mark, "ОТМН"_w)) xml.write_element(element, "ОТМЕНЕНО"_w);
}

void add_field(core::ViewPage& page, std::string_view prompt, std::string_view value) {
  page.fields.push_back({std::string(prompt), std::string(core::trim_right(value))});
}

void add_group(core::ViewPage& page, std::string_view caption) { page.fields.push_back({std::string(caption), {}}); }

void add_identity_document_fields(core::ViewPage& page, const core::Record& r) {
  struct Prompted {
    std::string_view prompt, field;
  };
  static constexpr Prompted kPrompts[] = {
      {"код уд.л.:"_w, "KOD_UDL"}, {"наименование:"_w, "NAME_UDL"}, {"серия1:"_w, "SER1"},
      {"серия2:"_w, "SER2"},       {"№ уд.л.:"_w, "N_UDL"},         {"дата выдачи"_w, "D_UDL"},
      {"кем выдано:"_w, "KEM_UDL"}};
  add_group(page, "Документ. удостоверяющий личность"_w);
  for (const auto& f : kPrompts) add_field(page, f.prompt, r[f.field]);
}

}  // namespace tolvex::person
