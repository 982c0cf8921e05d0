// SPDX-License-Identifier: MIT
#include "person/applications.h"

#include "blocks/person_blocks.h"
#include "core/format7/frame.h"
#include "person/person_document.h"
#include "runtime/codepage.h"

namespace tolvex::person {

using namespace runtime::literals;
using core::is_blank;
using core::Record;

namespace {

// The new name of the changed data: FIO1_N, FIO2_N, FIO3_N in ADV2, FIO1, FIO2, FIO3 in ADV3N.
struct NewName {
  std::string_view surname, first_name, patronymic;
};

// ИзменившиесяДанные from a record whose other fields are named alike in ADV2 and ADV3N. The
// АДВ-3 form (`always`) writes the birth place, both addresses and the telephone even when
// blank; the АДВ-2 form leaves them out then.
template <const core::RecordLayout& L>
void write_changed_data(core::XmlWriter& xml, const NewName& name, const core::RecordOf<L>& r, bool always) {
  auto block = xml.block("ИзменившиесяДанные"_w);
  if (!is_blank(name.surname) || !is_blank(name.first_name) || !is_blank(name.patronymic))
    blocks::write_name_block(xml, "ФИО"_w, name.surname, name.first_name, name.patronymic);
  if (!is_blank(r["POL"])) xml.write_element("Пол"_w, r["POL"]);
  blocks::write_birth_date(xml, r, "ДатаРождения"_w);
  bool any_place = !is_blank(r["M_ROGD_TYP"]) || !is_blank(r["NAS_P"]) || !is_blank(r["RAION"]) ||
                   !is_blank(r["REGION"]) || !is_blank(r["STRANA"]);
  if (always || any_place) blocks::write_birth_place(xml, "МестоРождения"_w, r);
  if (!is_blank(r["GRAGD"])) xml.write_element("Гражданство"_w, r["GRAGD"]);
  if (always || !is_blank(r["ADRES"])) blocks::write_address_block(xml, "АдресРегистрации"_w, r["ADRES"]);
  if (always || !is_blank(r["ADRES_F"])) blocks::write_address_block(xml, "АдресФактический"_w, r["ADRES_F"]);
  if (always || !is_blank(r["TELEF"])) xml.write_element("Телефон"_w, r["TELEF"]);
}

// The cancellation marks of the changed data under the group's caption ("Отмена:").
template <const core::RecordLayout& L>
void add_cancel_group(core::ViewPage& p, std::string_view caption, const core::RecordOf<L>& r, bool beside = false) {
  core::add_fields(core::add_group(p, caption, beside), r,
                   {{"признак отмены Отчества"_w, "FIO2_OTM"}, {"признак отмены места рождения"_w, "M_ROGD_OTM"}});
}

}  // namespace

void divide_adv3_line(const Record& line, Record& adv3, Record& adv3n) {
  const std::size_t first = adv3.field_count();
  for (std::size_t i = 0; i < line.field_count(); ++i) {
    if (i < first)
      adv3.set(i, line.field(i));
    else
      adv3n.set(i - first, line.field(i));
  }
}

void write_exchange_application(core::XmlWriter& xml, const core::RecordOf<ADV2>& r, std::string_view number) {
  auto document = xml.block("ЗАЯВЛЕНИЕ_ОБ_ОБМЕНЕ"_w);
  xml.write_element("НомерВпачке"_w, number);
  xml.write_element("СтраховойНомер"_w, r["STR_N"]);
  blocks::write_name_block(xml, "ФИОизСтрахового"_w, r);
  write_changed_data(xml, {r["FIO1_N"], r["FIO2_N"], r["FIO3_N"]}, r, false);
  write_cancel_mark(xml, "ПризнакОтменыОтчества"_w, r["FIO2_OTM"]);
  write_cancel_mark(xml, "ПризнакОтменыМестаРождения"_w, r["M_ROGD_OTM"]);
  blocks::write_identity_document(xml, r);
  xml.write_date_element("ДатаЗаполнения"_w, r["D_ZAP"]);
}

void write_duplicate_application(core::XmlWriter& xml, const core::RecordOf<ADV3>& old, const core::RecordOf<ADV3N>& r,
                                 std::string_view number) {
  auto document = xml.block("ЗАЯВЛЕНИЕ_О_ДУБЛИКАТЕ"_w);
  xml.write_element("НомерВпачке"_w, number);
  xml.write_element("СтраховойНомер"_w, r["STR_N"]);
  if (!is_blank(r["OTM_RBT"])) xml.write_element("ОтметкаОпредставленииСведений"_w, r["OTM_RBT"]);
  blocks::write_name_block(xml, "ФИОизСтрахового"_w, old);
  xml.write_element("ПолИзСтрахового"_w, old["POL"]);
  blocks::write_birth_date(xml, old, "ДатаРожденияИзСтрахового"_w);
  blocks::write_birth_place(xml, "МестоРожденияИзСтрахового"_w, old);
  write_changed_data(xml, {r["FIO1"], r["FIO2"], r["FIO3"]}, r, true);
  write_cancel_mark(xml, "ПризнакОтменыОтчества"_w, r["FIO2_OTM"]);
  write_cancel_mark(xml, "ПризнакОтменыМестаРождения"_w, r["M_ROGD_OTM"]);
  blocks::write_identity_document(xml, r);
  xml.write_date_element("ДатаЗаполнения"_w, old["D_ZAP"]);
}

// --- АДВ-2 ---------------------------------------------------------------------------------

std::string_view Adv2Converter::window_title() const { return "Конвертация обмена АДВ-2  в формат 7  XML"_w; }

std::string_view Adv2Converter::journal_text() const { return " обмен страхового свидетельства АДВ-2"_w; }

core::ReadResult Adv2Converter::read_document(core::PackReader& pack) {
  core::ReadResult r = read_line_document(pack, adv2_);
  if (r.kind == core::ReadResult::document) number_ = core::document_number(adv2_["NDOK_PCH"]);
  return r;
}

void Adv2Converter::write_document(core::XmlWriter& xml) { write_exchange_application(xml, adv2_, number_); }

std::vector<core::ViewPage> Adv2Converter::view_pages() const {
  const auto& r = adv2_;
  core::ViewPage p;
  core::ViewGroup& document = core::add_group(p);
  core::add_number_in_pack(document, "№ документа в пачке"_w, number_, header());
  core::add_fields(document, r, {{"Дата заполнения:"_w, "D_ZAP"}, {"стр.№:"_w, "STR_N"}});
  core::add_fields(core::add_group(p, "По страх.свидетельству:"_w), r,
                   {{"фамилия:"_w, "FIO1"}, {"имя:"_w, "FIO2"}, {"отчество:"_w, "FIO3"}});
  add_cancel_group(p, "Отмена:"_w, r, true);
  core::ViewGroup& changed = core::add_group(p, "Изменившиеся данные:"_w);
  core::add_fields(changed, r, {{"фамилия:"_w, "FIO1_N"}, {"имя:"_w, "FIO2_N"}, {"отчество:"_w, "FIO3_N"}});
  add_birth_fields(changed, r);
  changed.fields.push_back(core::view_field("гражданство:"_w, r, "GRAGD"));
  add_address_fields(changed, r);
  add_identity_document_group(p, r);
  return {p};
}

// --- АДВ-3 ---------------------------------------------------------------------------------

std::string_view Adv3Converter::window_title() const { return "Конвертация обмена АДВ-3  в формат 7  XML"_w; }

std::string_view Adv3Converter::journal_text() const { return " дубликат страхового свидетельства АДВ-3"_w; }

core::ReadResult Adv3Converter::read_document(core::PackReader& pack) {
  core::ReadResult r = read_line_document(pack, line_);
  if (r.kind == core::ReadResult::document) {
    divide_adv3_line(line_, adv3_, adv3n_);
    number_ = core::document_number(adv3_["NDOK_PCH"]);
  }
  return r;
}

void Adv3Converter::write_document(core::XmlWriter& xml) { write_duplicate_application(xml, adv3_, adv3n_, number_); }

std::vector<core::ViewPage> Adv3Converter::view_pages() const {
  const auto& old = adv3_;
  const auto& r = adv3n_;
  core::ViewPage person;
  person.caption = "Анкетные данные"_w;
  core::ViewGroup& document = core::add_group(person);
  core::add_number_in_pack(document, "№ документа в пачке"_w, number_, header());
  document.fields.push_back(core::view_field("Дата заполнения:"_w, old, "D_ZAP"));
  core::ViewGroup& before = core::add_group(person, "Старые данные:"_w);
  core::add_fields(before, old, {{"фамилия:"_w, "FIO1"}, {"имя:"_w, "FIO2"}, {"отчество:"_w, "FIO3"}});
  add_birth_fields(before, old);
  core::ViewGroup& changed = core::add_group(person, "Изменившиеся данные:"_w, true);
  core::add_fields(changed, r, {{"фамилия:"_w, "FIO1"}, {"имя:"_w, "FIO2"}, {"отчество:"_w, "FIO3"}});
  add_birth_fields(changed, r);
  changed.fields.push_back(core::view_field("гражданство:"_w, r, "GRAGD"));
  add_cancel_group(person, "Признак Отмены:"_w, r);
  core::add_fields(core::add_group(person, {}, true), r,
                   {{"стр.№:"_w, "STR_N"}, {"отметка о представлении сведений:"_w, "OTM_RBT"}});

  core::ViewPage documents;
  documents.caption = "Адреса и Документ"_w;
  add_address_fields(core::add_group(documents), r);
  add_identity_document_group(documents, r);
  return {person, documents};
}

std::unique_ptr<core::Converter> make_load_adv2(const core::ConverterContext& context) {
  return std::make_unique<Adv2Converter>(context);
}

std::unique_ptr<core::Converter> make_load_adv3(const core::ConverterContext& context) {
  return std::make_unique<Adv3Converter>(context);
}

}  // namespace tolvex::person
