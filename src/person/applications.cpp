#include "person/applications.h"

#include "core/frame.h"
#include "person/person_blocks.h"
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
    write_name_block(xml, "ФИО"_w, name.surname, name.first_name, name.patronymic);
  if (!is_blank(r["POL"])) xml.write_element("Пол"_w, r["POL"]);
  write_birth_date(xml, r, "ДатаРождения"_w);
  bool any_place = !is_blank(r["M_ROGD_TYP"]) || !is_blank(r["NAS_P"]) || !is_blank(r["RAION"]) ||
                   !is_blank(r["REGION"]) || !is_blank(r["STRANA"]);
  if (always || any_place) write_birth_place(xml, "МестоРождения"_w, r);
  if (!is_blank(r["GRAGD"])) xml.write_element("Гражданство"_w, r["GRAGD"]);
  if (always || !is_blank(r["ADRES"])) write_address_block(xml, "АдресРегистрации"_w, r["ADRES"]);
  if (always || !is_blank(r["ADRES_F"])) write_address_block(xml, "АдресФактический"_w, r["ADRES_F"]);
  if (always || !is_blank(r["TELEF"])) xml.write_element("Телефон"_w, r["TELEF"]);
}

// The window fields shared by the changed data of both applications.
template <const core::RecordLayout& L>
void add_changed_fields(core::ViewPage& p, const core::RecordOf<L>& r) {
  add_field(p, "пол:"_w, r["POL"]);
  add_field(p, "тип даты рожд.:"_w, r["D_ROGD_TYP"]);
  add_field(p, "дата рожд.:"_w, r["D_ROGD"]);
  add_field(p, "день:"_w, r["DAY_D_ROGD"]);
  add_field(p, "месяц:"_w, r["MES_D_ROGD"]);
  add_field(p, "год:"_w, r["GOD_D_ROGD"]);
  add_field(p, "тип м.рожд.:"_w, r["M_ROGD_TYP"]);
  add_field(p, "нас.п."_w, r["NAS_P"]);
  add_field(p, "район:"_w, r["RAION"]);
  add_field(p, "регион:"_w, r["REGION"]);
  add_field(p, "страна:"_w, r["STRANA"]);
}

template <const core::RecordLayout& L>
void add_identity_fields(core::ViewPage& p, const core::RecordOf<L>& r) {
  add_identity_document_fields(p, r);
}

template <const core::RecordLayout& L>
void add_cancel_fields(core::ViewPage& p, std::string_view group, const core::RecordOf<L>& r) {
  add_group(p, group);
  add_field(p, "признак отмены Отчества"_w, r["FIO2_OTM"]);
  add_field(p, "признак отмены места рождения"_w, r["M_ROGD_OTM"]);
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
  write_name_block(xml, "ФИОизСтрахового"_w, r);
  write_changed_data(xml, {r["FIO1_N"], r["FIO2_N"], r["FIO3_N"]}, r, false);
  write_cancel_mark(xml, "ПризнакОтменыОтчества"_w, r["FIO2_OTM"]);
  write_cancel_mark(xml, "ПризнакОтменыМестаРождения"_w, r["M_ROGD_OTM"]);
  write_identity_document(xml, r);
  xml.write_date_element("ДатаЗаполнения"_w, r["D_ZAP"]);
}

void write_duplicate_application(core::XmlWriter& xml, const core::RecordOf<ADV3>& old, const core::RecordOf<ADV3N>& r,
                                 std::string_view number) {
  auto document = xml.block("ЗАЯВЛЕНИЕ_О_ДУБЛИКАТЕ"_w);
  xml.write_element("НомерВпачке"_w, number);
  xml.write_element("СтраховойНомер"_w, r["STR_N"]);
  if (!is_blank(r["OTM_RBT"])) xml.write_element("ОтметкаОпредставленииСведений"_w, r["OTM_RBT"]);
  write_name_block(xml, "ФИОизСтрахового"_w, old);
  xml.write_element("ПолИзСтрахового"_w, old["POL"]);
  write_birth_date(xml, old, "ДатаРожденияИзСтрахового"_w);
  write_birth_place(xml, "МестоРожденияИзСтрахового"_w, old);
  write_changed_data(xml, {r["FIO1"], r["FIO2"], r["FIO3"]}, r, true);
  write_cancel_mark(xml, "ПризнакОтменыОтчества"_w, r["FIO2_OTM"]);
  write_cancel_mark(xml, "ПризнакОтменыМестаРождения"_w, r["M_ROGD_OTM"]);
  write_identity_document(xml, r);
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
  add_field(p, "№ документа в пачке"_w, number_);
  add_field(p, "из"_w, header().dokt["KOL_DOK"]);
  add_field(p, "Дата заполнения:"_w, r["D_ZAP"]);
  add_field(p, "стр.№:"_w, r["STR_N"]);
  add_group(p, "По страх.свидетельству:"_w);
  add_field(p, "фамилия:"_w, r["FIO1"]);
  add_field(p, "имя:"_w, r["FIO2"]);
  add_field(p, "отчество:"_w, r["FIO3"]);
  add_group(p, "Изменившиеся данные:"_w);
  add_field(p, "фамилия:"_w, r["FIO1_N"]);
  add_field(p, "имя:"_w, r["FIO2_N"]);
  add_field(p, "отчество:"_w, r["FIO3_N"]);
  add_changed_fields(p, r);
  add_field(p, "гражданство:"_w, r["GRAGD"]);
  add_field(p, "адрес:"_w, r["ADRES"]);
  add_field(p, "факт.адрес:"_w, r["ADRES_F"]);
  add_field(p, "телеф.:"_w, r["TELEF"]);
  add_cancel_fields(p, "Отмена:"_w, r);
  add_identity_fields(p, r);
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
  add_field(person, "№ документа в пачке"_w, number_);
  add_field(person, "из"_w, header().dokt["KOL_DOK"]);
  add_field(person, "Дата заполнения:"_w, old["D_ZAP"]);
  add_group(person, "Старые данные:"_w);
  add_field(person, "фамилия:"_w, old["FIO1"]);
  add_field(person, "имя:"_w, old["FIO2"]);
  add_field(person, "отчество:"_w, old["FIO3"]);
  add_changed_fields(person, old);
  add_group(person, "Изменившиеся данные:"_w);
  add_field(person, "фамилия:"_w, r["FIO1"]);
  add_field(person, "имя:"_w, r["FIO2"]);
  add_field(person, "отчество:"_w, r["FIO3"]);
  add_changed_fields(person, r);
  add_field(person, "гражданство:"_w, r["GRAGD"]);
  add_cancel_fields(person, "Признак Отмены:"_w, r);
  add_field(person, "стр.№:"_w, r["STR_N"]);
  add_field(person, "отметка о представлении сведений:"_w, r["OTM_RBT"]);

  core::ViewPage documents;
  documents.caption = "Адреса и Документ"_w;
  add_field(documents, "адрес:"_w, r["ADRES"]);
  add_field(documents, "факт.адрес:"_w, r["ADRES_F"]);
  add_field(documents, "телеф.:"_w, r["TELEF"]);
  add_identity_fields(documents, r);
  return {person, documents};
}

std::unique_ptr<core::Converter> make_load_adv2(const core::ConverterContext& context) {
  return std::make_unique<Adv2Converter>(context);
}

std::unique_ptr<core::Converter> make_load_adv3(const core::ConverterContext& context) {
  return std::make_unique<Adv3Converter>(context);
}

}  // namespace tolvex::person
