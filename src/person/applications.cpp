#include "person/applications.h"

#include "person/person_blocks.h"
#include "person/person_document.h"
#include "runtime/codepage.h"

namespace tolvex::person {

using namespace runtime::literals;
using core::is_blank;
using core::Record;

namespace {

// The fields of the changed data, named alike in ADV2 (with FIO*_N for the new name) and ADV3N.
struct ChangedData {
  std::string_view surname, first_name, patronymic;
  const Record& r;  // the other fields, by their common names
};

// ИзменившиесяДанные. The АДВ-3 form (`always`) writes the birth place, both addresses and the
// telephone even when blank; the АДВ-2 form leaves them out then.
void write_changed_data(core::XmlWriter& xml, const ChangedData& d, bool always) {
  const Record& r = d.r;
  xml.open("ИзменившиесяДанные"_w);
  if (!is_blank(d.surname) || !is_blank(d.first_name) || !is_blank(d.patronymic))
    write_name_block(xml, "ФИО"_w, d.surname, d.first_name, d.patronymic);
  if (!is_blank(r["POL"])) xml.write_element("Пол"_w, r["POL"]);
  write_birth_date(xml, r["D_ROGD_TYP"], r["D_ROGD"], r["DAY_D_ROGD"], r["MES_D_ROGD"], r["GOD_D_ROGD"],
                   "ДатаРождения"_w);
  bool any_place = !is_blank(r["M_ROGD_TYP"]) || !is_blank(r["NAS_P"]) || !is_blank(r["RAION"]) ||
                   !is_blank(r["REGION"]) || !is_blank(r["STRANA"]);
  if (always || any_place)
    write_birth_place(xml, "МестоРождения"_w, r["M_ROGD_TYP"], r["NAS_P"], r["RAION"], r["REGION"], r["STRANA"]);
  if (!is_blank(r["GRAGD"])) xml.write_element("Гражданство"_w, r["GRAGD"]);
  if (always || !is_blank(r["ADRES"])) write_address_block(xml, "АдресРегистрации"_w, r["ADRES"]);
  if (always || !is_blank(r["ADRES_F"])) write_address_block(xml, "АдресФактический"_w, r["ADRES_F"]);
  if (always || !is_blank(r["TELEF"])) xml.write_element("Телефон"_w, r["TELEF"]);
  xml.close("ИзменившиесяДанные"_w);
}

void write_identity_of(core::XmlWriter& xml, const Record& r) {
  write_identity_document(xml, r["KOD_UDL"], r["NAME_UDL"], r["SER1"], r["SER2"], r["N_UDL"], r["D_UDL"],
                          r["KEM_UDL"]);
}

// The window fields shared by the changed data of both applications.
void add_changed_fields(core::ViewPage& p, const Record& r) {
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

void add_identity_fields(core::ViewPage& p, const Record& r) {
  add_identity_document_fields(p, r);
}

void add_cancel_fields(core::ViewPage& p, std::string_view group, const Record& r) {
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

void write_exchange_application(core::XmlWriter& xml, const Record& r, std::string_view number) {
  xml.open("ЗАЯВЛЕНИЕ_ОБ_ОБМЕНЕ"_w);
  xml.write_element("НомерВпачке"_w, number);
  xml.write_element("СтраховойНомер"_w, r["STR_N"]);
  write_name_block(xml, "ФИОизСтрахового"_w, r["FIO1"], r["FIO2"], r["FIO3"]);
  write_changed_data(xml, {r["FIO1_N"], r["FIO2_N"], r["FIO3_N"], r}, false);
  write_cancel_mark(xml, "ПризнакОтменыОтчества"_w, r["FIO2_OTM"]);
  write_cancel_mark(xml, "ПризнакОтменыМестаРождения"_w, r["M_ROGD_OTM"]);
  write_identity_of(xml, r);
  xml.write_date_element("ДатаЗаполнения"_w, r["D_ZAP"]);
  xml.close("ЗАЯВЛЕНИЕ_ОБ_ОБМЕНЕ"_w);
}

void write_duplicate_application(core::XmlWriter& xml, const Record& old, const Record& r, std::string_view number) {
  xml.open("ЗАЯВЛЕНИЕ_О_ДУБЛИКАТЕ"_w);
  xml.write_element("НомерВпачке"_w, number);
  xml.write_element("СтраховойНомер"_w, r["STR_N"]);
  if (!is_blank(r["OTM_RBT"])) xml.write_element("ОтметкаОпредставленииСведений"_w, r["OTM_RBT"]);
  write_name_block(xml, "ФИОизСтрахового"_w, old["FIO1"], old["FIO2"], old["FIO3"]);
  xml.write_element("ПолИзСтрахового"_w, old["POL"]);
  write_birth_date(xml, old["D_ROGD_TYP"], old["D_ROGD"], old["DAY_D_ROGD"], old["MES_D_ROGD"], old["GOD_D_ROGD"],
                   "ДатаРожденияИзСтрахового"_w);
  write_birth_place(xml, "МестоРожденияИзСтрахового"_w, old["M_ROGD_TYP"], old["NAS_P"], old["RAION"],
                    old["REGION"], old["STRANA"]);
  write_changed_data(xml, {r["FIO1"], r["FIO2"], r["FIO3"], r}, true);
  write_cancel_mark(xml, "ПризнакОтменыОтчества"_w, r["FIO2_OTM"]);
  write_cancel_mark(xml, "ПризнакОтменыМестаРождения"_w, r["M_ROGD_OTM"]);
  write_identity_of(xml, r);
  xml.write_date_element("ДатаЗаполнения"_w, old["D_ZAP"]);
  xml.close("ЗАЯВЛЕНИЕ_О_ДУБЛИКАТЕ"_w);
}

// --- АДВ-2 ---------------------------------------------------------------------------------

std::string_view Adv2Converter::window_title() const { return "Конвертация обмена АДВ-2  в формат 7  XML"_w; }

std::string_view Adv2Converter::journal_text() const { return " обмен страхового свидетельства АДВ-2"_w; }

core::ReadResult Adv2Converter::read_document(core::PackReader& pack) {
  core::ReadResult r = read_line_document(pack, adv2_);
  if (r.kind == core::ReadResult::document) number_ = document_number(adv2_["NDOK_PCH"]);
  return r;
}

void Adv2Converter::write_document(core::XmlWriter& xml) { write_exchange_application(xml, adv2_, number_); }

std::vector<core::ViewPage> Adv2Converter::view_pages() const {
  const Record& r = adv2_;
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
    number_ = document_number(adv3_["NDOK_PCH"]);
  }
  return r;
}

void Adv3Converter::write_document(core::XmlWriter& xml) { write_duplicate_application(xml, adv3_, adv3n_, number_); }

std::vector<core::ViewPage> Adv3Converter::view_pages() const {
  const Record& old = adv3_;
  const Record& r = adv3n_;
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
