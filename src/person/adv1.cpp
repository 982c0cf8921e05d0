// SPDX-License-Identifier: MIT
#include "person/adv1.h"

#include "blocks/person_blocks.h"
#include "core/format7/frame.h"
#include "person/person_document.h"
#include "runtime/codepage.h"

namespace tolvex::person {

using namespace runtime::literals;
using core::is_blank;

void write_questionnaire(core::XmlWriter& xml, const core::RecordOf<ANK1>& r, std::string_view number) {
  auto document = xml.block("АНКЕТА_ЗЛ"_w);
  xml.write_element("НомерВпачке"_w, number);
  {
    auto data = xml.block("АнкетныеДанные"_w);
    blocks::write_name_block(xml, "ФИО"_w, r);
    if (!is_blank(r["POL"])) xml.write_element("Пол"_w, r["POL"]);
    blocks::write_birth_date(xml, r, "ДатаРождения"_w);
    blocks::write_birth_place(xml, "МестоРождения"_w, r);
    if (!is_blank(r["GRAGD"])) xml.write_element("Гражданство"_w, r["GRAGD"]);
    if (!is_blank(r["ADRES"])) blocks::write_address_block(xml, "АдресРегистрации"_w, r["ADRES"]);
    if (!is_blank(r["ADRES_F"])) blocks::write_address_block(xml, "АдресФактический"_w, r["ADRES_F"]);
    if (!is_blank(r["TELEF"])) xml.write_element("Телефон"_w, r["TELEF"]);
  }
  blocks::write_identity_document(xml, r);
  xml.write_date_element("ДатаЗаполнения"_w, r["D_ZAP"]);
}

std::string_view Adv1Converter::window_title() const { return "Конвертация анкет АДВ-1  в формат 7  XML"_w; }

std::string_view Adv1Converter::journal_text() const { return " анкета АДВ-1"_w; }

core::ReadResult Adv1Converter::read_document(core::PackReader& pack) {
  core::ReadResult r = read_line_document(pack, ank1_);
  if (r.kind == core::ReadResult::document) number_ = core::document_number(ank1_["NDOK_PCH"]);
  return r;
}

void Adv1Converter::write_document(core::XmlWriter& xml) { write_questionnaire(xml, ank1_, number_); }

std::vector<core::ViewPage> Adv1Converter::view_pages() const {
  const auto& r = ank1_;
  core::ViewPage p;
  core::ViewGroup& document = core::add_group(p);
  document.fields.push_back(core::view_field("тип записи:"_w, r, "TYP_Z"));
  core::add_number_in_pack(document, "№ документа в пачке"_w, number_, header());
  document.fields.push_back(core::view_field("Дата заполнения:"_w, r, "D_ZAP"));
  core::ViewGroup& person = core::add_group(p);
  core::add_fields(person, r, {{"фамилия:"_w, "FIO1"}, {"имя:"_w, "FIO2"}, {"отчество:"_w, "FIO3"}});
  add_birth_fields(person, r);
  person.fields.push_back(core::view_field("гражданство:"_w, r, "GRAGD"));
  add_identity_document_group(p, r);
  add_address_fields(core::add_group(p), r);
  return {p};
}

std::unique_ptr<core::Converter> make_load_adv1(const core::ConverterContext& context) {
  return std::make_unique<Adv1Converter>(context);
}

}  // namespace tolvex::person
