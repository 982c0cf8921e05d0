#include "earnings/old_records_converter.h"

#include "core/insurer_blocks.h"
#include "core/period_blocks.h"
#include "earnings/work_period_blocks.h"
#include "person/person_blocks.h"
#include "person/person_document.h"
#include "runtime/codepage.h"

namespace tolvex::earnings {

using namespace runtime::literals;
using core::as_number;
using core::is_blank;
using person::add_field;

const OldRecordsForm& szv1_form() {
  static constexpr OldRecordsForm form{
      &SZV1,
      "СТАРЫЕ_ИС_СЗВ-1"_w,
      true,
      false,
      true,
      "ВзносыРаботодателя"_w,
      "ВзносыРаботника"_w,
      " индивидульные сведения СЗВ-1"_w,
      "Чтение СЗВ-1 из одной пачки"_w,
  };
  return form;
}

const OldRecordsForm& szv3_form() {
  static constexpr OldRecordsForm form{
      &SZV3,
      "СТАРЫЕ_ИС_СЗВ-3"_w,
      false,
      true,
      false,
      "СуммаЗаработкаСначалаГода"_w,
      "СуммаВзносовСначалаГода"_w,
      " индивидульные сведения СЗВ-3"_w,
      "Чтение СЗВ-3 из одной пачки"_w,
  };
  return form;
}

std::string_view old_records_information_type(std::string_view form_type) {
  struct Row {
    std::string_view code, type;
  };
  static constexpr Row kTypes[] = {
      {"ИСХД"_w, "ИСХОДНАЯ"_w},
      {"ПЕНС"_w, "ПЕНСИОННАЯ"_w},
      {"КОРР"_w, "КОРРЕКТИРУЮЩАЯ"_w},
      {"ОТМН"_w, "ОТМЕНЯЮЩАЯ"_w},
  };
  for (const auto& r : kTypes)
    if (core::equals(form_type, r.code)) return r.type;
  return {};
}

OldRecordsConverter::OldRecordsConverter(const core::ConverterContext& context, const OldRecordsForm& form)
    : Converter(context), form_(form), person_(*form.person) {}

core::RunRules OldRecordsConverter::rules() const {
  core::RunRules r;
  r.counter_line_before_document = true;
  return r;
}

core::ReadResult OldRecordsConverter::read_document(core::PackReader& pack) {
  if (int rc = pack.read_record(person_); rc != 0) return core::ReadResult::from_code(rc, false);
  number_ = person::document_number(person_["NDOK_PCH"]);
  // The month and period lines that the person line announces; a pack that ends among them
  // leaves the document incomplete, and it is not written.
  months_.clear();
  for (long long i = as_number(person_["KOL_NACH"]); i > 0; --i)
    if (int rc = months_.read_month(pack); rc != 0) return core::ReadResult::from_code(rc, true);
  months_.complete();
  periods_.clear();
  for (long long i = as_number(person_["KOL_STAG"]); i > 0; --i)
    if (int rc = periods_.read_period(pack); rc != 0) return core::ReadResult::from_code(rc, true);
  return {};
}

void OldRecordsConverter::write_document(core::XmlWriter& xml) {
  xml.open(form_.element);
  xml.write_element("НомерВпачке"_w, number_);
  xml.write_element("ТипСведений"_w, old_records_information_type(person_["TYP_F"]));
  write_header(xml);
  xml.open("НачисленныеВзносы"_w);
  xml.write_element(form_.employer_sum, person_["SUM_ZAR"]);
  xml.write_element(form_.employee_sum, person_["SUM_VZN"]);
  xml.close("НачисленныеВзносы"_w);
  write_earnings(xml);
  write_work_periods(xml);
  xml.xml_depth = 1;
  xml.close(form_.element);
}

void OldRecordsConverter::write_employer(core::XmlWriter& xml) const {
  const core::Record& ist4 = header().ist4;
  xml.open("Работодатель"_w);
  if (form_.own_employer_block) {
    core::write_tax_number(xml, ist4["INN"], ist4["KPP"]);
    xml.write_element("НаименованиеОрганизации"_w, ist4["NAME"]);
    if (!is_blank(ist4["SNAME"])) xml.write_element("НаименованиеКраткое"_w, ist4["SNAME"]);
    xml.write_element("РегистрационныйНомер"_w, ist4["REGN"]);
    if (!is_blank(ist4["PODR_KOD"])) core::write_department(xml, ist4["PODR_NAME"], ist4["PODR_KOD"]);
  } else {
    core::write_insurer(xml, ist4);
  }
  xml.close("Работодатель"_w);
}

void OldRecordsConverter::write_header(core::XmlWriter& xml) const {
  const core::Record& p = person_;
  xml.open("ЗаголовокСтарыхИС"_w);
  xml.write_element("СтраховойНомер"_w, p["STR_N"]);
  xml.open("ФИО"_w);
  person::write_full_name(xml, p["FIO1"], p["FIO2"], p["FIO3"]);
  xml.close("ФИО"_w);
  write_employer(xml);
  // The reporting period is the pack's, not the person line's KW and GOD.
  core::write_reporting_period(xml, header().pch["KW"], header().pch["GOD_P"]);
  xml.write_date_element("ДатаЗаполнения"_w, p["DATA_ZAP"]);
  xml.open("ТарифСтраховыхВзносов"_w);
  write_category_by_code(xml, p["KAT_ZL"], form_.additional_tariff ? p["DOP_T"] : std::string_view{});
  xml.close("ТарифСтраховыхВзносов"_w);
  write_contract(xml, p["DOGV_N"], p["DOGV_D"], p["VID_VYPL"]);
  if (form_.currency_always || !is_blank(p["VALUTA"])) xml.write_element("Валюта"_w, p["VALUTA"]);
  xml.close("ЗаголовокСтарыхИС"_w);
}

void OldRecordsConverter::write_earnings(core::XmlWriter& xml) const {
  long long announced = as_number(person_["KOL_NACH"]);
  if (announced <= 0) return;
  xml.open("Заработок"_w);
  // the months plus the total row, as the pack counts them
  xml.write_element("Количество"_w, std::to_string(announced + 1));
  for (std::size_t k = 0; k < months_.size() && k < 12; ++k) {
    const core::Record& m = months_.at(k);
    if (is_blank(m["TYP_Z"])) continue;  // a month without a line
    write_earnings_row(xml, "МЕСЯЦ"_w, m["MES_NUM"], m["SUM_ZAR"], m["SUM_BOLN"]);
  }
  write_earnings_row(xml, "ИТОГО"_w, {}, person_["SUM_NACH"], person_["SUM_BOLN"]);
  xml.close("Заработок"_w);
}

void OldRecordsConverter::write_work_periods(core::XmlWriter& xml) const {
  if (is_blank(person_["KOL_STAG"])) return;
  xml.open("ВсеПериодыРаботы"_w);
  xml.write_element("Количество"_w, person_["KOL_STAG"]);
  const long long count = as_number(person_["KOL_STAG"]);
  for (long long i = 1; i <= count; ++i) {
    const PeriodList::Entry* e = periods_.period(i);
    if (e == nullptr) continue;  // no period line has this number
    const core::Record& s = e->period;
    xml.open("ПериодРаботы"_w);
    xml.open("ОсновнаяСтрока"_w);
    xml.write_element("НомерСтроки"_w, s["N_PERIOD"]);
    xml.write_date_element("ДатаНачалаПериода"_w, s["PERIOD_N"]);
    xml.write_date_element("ДатаКонцаПериода"_w, s["PERIOD_K"]);
    write_accounting_features(xml, s);
    xml.close("ОсновнаяСтрока"_w);
    const long long lines = as_number(s["KOL_LGOT"]);
    if (lines >= 1) {
      xml.open("ДополнительныеСтроки"_w);
      xml.write_element("Количество"_w, s["KOL_LGOT"]);
      for (long long j = 1; j <= lines; ++j)
        if (const PeriodList::Entry* a = periods_.additional(i, j)) write_accounting_features(xml, a->line);
      xml.close("ДополнительныеСтроки"_w);
    }
    xml.close("ПериодРаботы"_w);
  }
  xml.close("ВсеПериодыРаботы"_w);
}

std::vector<core::ViewPage> OldRecordsConverter::view_pages() const {
  const core::Record& p = person_;
  core::ViewPage page;
  add_field(page, "№ в пачке:"_w, number_);
  add_field(page, "из"_w, header().dokt["KOL_DOK"]);
  add_field(page, "стр.№:"_w, p["STR_N"]);
  add_field(page, "Квартал:"_w, p["KW"]);
  add_field(page, "год:"_w, p["GOD"]);
  add_field(page, "фамилия:"_w, p["FIO1"]);
  add_field(page, "имя:"_w, p["FIO2"]);
  add_field(page, "отчество:"_w, p["FIO3"]);
  add_field(page, "тип формы:"_w, p["TYP_F"]);
  add_field(page, "№ дог.:"_w, p["DOGV_N"]);
  add_field(page, "дата договора:"_w, p["DOGV_D"]);
  add_field(page, "выплата:"_w, p["VID_VYPL"]);
  add_field(page, "катег.ЗЛ:"_w, p["KAT_ZL"]);
  if (form_.additional_tariff) add_field(page, "доп.т.:"_w, p["DOP_T"]);
  add_field(page, "валюта:"_w, p["VALUTA"]);
  add_field(page, "Всего начислено:"_w, shown_amount(p["SUM_NACH"]));
  add_field(page, "Начислено взноса с нач.года:"_w, shown_amount(p["SUM_ZAR"]));
  add_field(page, {}, shown_amount(p["SUM_VZN"]));
  add_field(page, "В т.ч. по нетрудоспособности:"_w, shown_amount(p["SUM_BOLN"]));
  add_field(page, "За"_w, p["KOL_NACH"]);
  person::add_group(page, "мес"_w);
  add_field(page, "Записей о стаже:"_w, p["KOL_STAG"]);
  add_field(page, "дата заполнения:"_w, p["DATA_ZAP"]);
  page.lists.push_back(month_list(months_));
  page.lists.push_back(old_records_period_list(periods_));
  return {page};
}

std::unique_ptr<core::Converter> make_load_szv1(const core::ConverterContext& context) {
  return std::make_unique<OldRecordsConverter>(context, szv1_form());
}

std::unique_ptr<core::Converter> make_load_szv3(const core::ConverterContext& context) {
  return std::make_unique<OldRecordsConverter>(context, szv3_form());
}

}  // namespace tolvex::earnings
