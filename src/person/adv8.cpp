// SPDX-License-Identifier: MIT
#include "person/adv8.h"

#include "blocks/person_blocks.h"
#include "core/format7/frame.h"
#include "person/person_document.h"
#include "runtime/codepage.h"

namespace tolvex::person {

using namespace runtime::literals;

namespace {

// Characters `from` to `from + count - 1` (1-based) of a field; fewer when it is shorter.
std::string_view part(std::string_view field, std::size_t from, std::size_t count) {
  return from - 1 < field.size() ? field.substr(from - 1, count) : std::string_view{};
}

}  // namespace

void write_death_date(core::XmlWriter& xml, std::string_view date) {
  std::string_view day = part(date, 1, 2), month = part(date, 4, 2), year = part(date, 7, 4);
  if (day == "00" || month == "00" || year == "0000")
    blocks::write_special_date(xml, "ДатаСмертиОсобая"_w, day, month, year);
  else
    xml.write_date_element("ДатаСмерти"_w, date);
}

void write_death_notice(core::XmlWriter& xml, const core::RecordOf<ADV8>& r, std::string_view number,
                        std::string_view registry_office) {
  auto document = xml.block("СВЕДЕНИЯ_О_СМЕРТИ"_w);
  xml.write_element("НомерВпачке"_w, number);
  {
    auto office = xml.block("ОрганЗАГС"_w);
    xml.write_element("НаименованиеОрганизации"_w, registry_office);
  }
  blocks::write_name_block(xml, "ФИО"_w, r);
  xml.write_element("Пол"_w, r["POL"]);
  blocks::write_birth_place(xml, "МестоРождения"_w, r);
  blocks::write_birth_date(xml, r, "ДатаРождения"_w);
  write_death_date(xml, r["D_SMERTI"]);
  xml.write_element("НомерЗаписиАкта"_w, r["N_AKTA"]);
  xml.write_date_element("ДатаЗаписиАкта"_w, r["D_AKTA"]);
  blocks::write_identity_document(xml, r);
  blocks::write_address_block(xml, "ПоследнееМестоЖительства"_w, r["ADRES"]);
  xml.write_element("СтраховойНомер"_w, r["STR_N"]);
  xml.write_date_element("ДатаЗаполнения"_w, r["D_ZAP"]);
}

std::string_view Adv8Converter::window_title() const { return "Конвертация справки о смерти АДВ-8  в формат 7  XML"_w; }

std::string_view Adv8Converter::journal_text() const { return " сведения о смерти АДВ-8"_w; }

core::ReadResult Adv8Converter::read_document(core::PackReader& pack) {
  core::ReadResult r = read_line_document(pack, adv8_);
  if (r.kind == core::ReadResult::document) number_ = core::document_number(adv8_["NDOK_PCH"]);
  return r;
}

void Adv8Converter::write_document(core::XmlWriter& xml) {
  write_death_notice(xml, adv8_, number_, header().ist4["NAME"]);
}

std::vector<core::ViewPage> Adv8Converter::view_pages() const {
  const auto& r = adv8_;
  core::ViewPage p;
  core::ViewGroup& document = core::add_group(p);
  core::add_number_in_pack(document, "№ документа в пачке"_w, number_, header());
  document.fields.push_back(core::view_field("Орган ЗАГС"_w, header().ist4, "NAME"));
  core::ViewGroup& person = core::add_group(p);
  core::add_fields(person, r,
                   {{"фамилия:"_w, "FIO1"},
                    {"имя:"_w, "FIO2"},
                    {"отчество:"_w, "FIO3"},
                    {"стр.№:"_w, "STR_N"},
                    {"пол:"_w, "POL"},
                    {"тип даты рожд.:"_w, "D_ROGD_TYP"},
                    {"дата рожд.:"_w, "D_ROGD"},
                    {"день:"_w, "DAY_D_ROGD"},
                    {"месяц:"_w, "MES_D_ROGD"},
                    {"год:"_w, "GOD_D_ROGD"},
                    {"тип м.рожд.: СТАНДАРТНОЕ ОСОБОЕ"_w, "M_ROGD_TYP"},
                    {"нас.п."_w, "NAS_P"},
                    {"район:"_w, "RAION"},
                    {"регион:"_w, "REGION"},
                    {"страна:"_w, "STRANA"}});
  core::add_fields(core::add_group(p), r,
                   {{"дата смерти:"_w, "D_SMERTI"}, {"№ записи акта о смерти:"_w, "N_AKTA"}, {"от"_w, "D_AKTA"}});
  add_identity_document_group(p, r);
  core::add_fields(core::add_group(p), r,
                   {{"адрес посл. места жит-ва:"_w, "ADRES"},
                    {"Где работал:"_w, "ORG_RAB"},
                    {"Дата рег.в ПФР:"_w, "D_REG"},
                    {"Дата заполнения:"_w, "D_ZAP"}});
  return {p};
}

std::unique_ptr<core::Converter> make_load_adv8(const core::ConverterContext& context) {
  return std::make_unique<Adv8Converter>(context);
}

}  // namespace tolvex::person
