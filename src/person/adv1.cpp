#include "person/adv1.h"

#include "core/frame.h"
#include "person/person_blocks.h"
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
    write_name_block(xml, "ФИО"_w, r);
    if (!is_blank(r["POL"])) xml.write_element("Пол"_w, r["POL"]);
    write_birth_date(xml, r, "ДатаРождения"_w);
    write_birth_place(xml, "МестоРождения"_w, r);
    if (!is_blank(r["GRAGD"])) xml.write_element("Гражданство"_w, r["GRAGD"]);
    if (!is_blank(r["ADRES"])) write_address_block(xml, "АдресРегистрации"_w, r["ADRES"]);
    if (!is_blank(r["ADRES_F"])) write_address_block(xml, "АдресФактический"_w, r["ADRES_F"]);
    if (!is_blank(r["TELEF"])) xml.write_element("Телефон"_w, r["TELEF"]);
  }
  write_identity_document(xml, r);
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
  add_field(p, "тип зписи"_w, r["TYP_Z"]);
  add_field(p, "№ документа в пачке"_w, number_);
  add_field(p, "из"_w, header().dokt["KOL_DOK"]);
  add_field(p, "Дата заполнения:"_w, r["D_ZAP"]);
  add_field(p, "пол:"_w, r["POL"]);
  add_field(p, "дата рожд.:"_w, r["D_ROGD"]);
  add_field(p, "фамилия:"_w, r["FIO1"]);
  add_field(p, "имя:"_w, r["FIO2"]);
  add_field(p, "отчество:"_w, r["FIO3"]);
  add_field(p, "тип даты рожд.:"_w, r["D_ROGD_TYP"]);
  add_field(p, "день:"_w, r["DAY_D_ROGD"]);
  add_field(p, "месяц:"_w, r["MES_D_ROGD"]);
  add_field(p, "год:"_w, r["GOD_D_ROGD"]);
  add_field(p, "гражданство:"_w, r["GRAGD"]);
  add_field(p, "тип м.рожд.:"_w, r["M_ROGD_TYP"]);
  add_field(p, "нас.п."_w, r["NAS_P"]);
  add_field(p, "район:"_w, r["RAION"]);
  add_field(p, "регион:"_w, r["REGION"]);
  add_field(p, "страна:"_w, r["STRANA"]);
  add_identity_document_fields(p, r);
  add_field(p, "адрес:"_w, r["ADRES"]);
  add_field(p, "факт.адрес:"_w, r["ADRES_F"]);
  add_field(p, "телеф.:"_w, r["TELEF"]);
  return {p};
}

std::unique_ptr<core::Converter> make_load_adv1(const core::ConverterContext& context) {
  return std::make_unique<Adv1Converter>(context);
}

}  // namespace tolvex::person
