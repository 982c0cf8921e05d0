#include "earnings/szv4_converter.h"

#include "core/insurer_blocks.h"
#include "core/period_blocks.h"
#include "earnings/work_period_blocks.h"
#include "person/address.h"
#include "person/person_blocks.h"
#include "person/person_document.h"
#include "runtime/codepage.h"

namespace tolvex::earnings {

using namespace runtime::literals;
using core::as_number;
using core::equals;
using core::is_blank;
using person::add_field;
using person::add_group;

std::string_view szv4_information_type(std::string_view typ_svd) {
  if (is_blank(typ_svd) || equals(typ_svd, "ИСХД"_w)) return "ИСХОДНАЯ"_w;
  if (equals(typ_svd, "ПЕНС"_w)) return "ПЕНСИОННАЯ"_w;
  return {};
}

std::string_view szv4_correction_kind(std::string_view korr) {
  if (equals(korr, "КОРР"_w)) return "КОРРЕКТИРУЮЩАЯ"_w;
  if (equals(korr, "ОТМН"_w)) return "ОТМЕНЯЮЩАЯ"_w;
  return {};
}

Szv4Converter::Szv4Converter(const core::ConverterContext& context, Szv4Form form)
    : Converter(context), form_(form), person_(form == Szv4Form::szv41 ? SZV41 : SZV42) {}

std::string_view Szv4Converter::window_title() const {
  return form_ == Szv4Form::szv41 ? "Чтение СЗВ-41 из одной пачки"_w : "Чтение СЗВ-42 из одной пачки"_w;
}

std::string_view Szv4Converter::journal_text() const {
  return form_ == Szv4Form::szv41 ? " индивидульные сведения СЗВ-4-1"_w : " индивидульные сведения СЗВ-4-2"_w;
}

core::RunRules Szv4Converter::rules() const {
  core::RunRules r;
  if (form_ == Szv4Form::szv41) {
    r.counter_line_before_document = true;
    r.run_time_prefix = "Все "_w;
    r.first_time_suffix = " читаем 1 запись"_w;
  }
  return r;
}

core::ReadResult Szv4Converter::read_document(core::PackReader& pack) {
  if (int rc = pack.read_record(person_); rc != 0) return core::ReadResult::from_code(rc, false);
  number_ = person::document_number(person_["NDOK_PCH"]);
  periods_.clear();
  if (form_ == Szv4Form::szv41) {
    // A pack that ends among the announced period lines leaves the document incomplete.
    for (long long i = as_number(person_["KOL_STAG"]); i > 0; --i)
      if (int rc = periods_.read_period(pack); rc != 0) return core::ReadResult::from_code(rc, true);
  }
  return {};
}

void Szv4Converter::write_document(core::XmlWriter& xml) {
  const bool szv41 = form_ == Szv4Form::szv41;
  const std::string_view element = szv41 ? "ИС_СЗВ-4-1"_w : "ИС_СЗВ-4-2"_w;
  const core::Record& p = person_;
  const core::Record& pch = header().pch;

  xml.open(element);
  xml.write_element("НомерВпачке"_w, number_);
  xml.write_element("ВидФормы"_w, szv41 ? "СЗВ-4-1"_w : "СЗВ-4-2"_w);
  xml.write_element("ТипСведений"_w, szv4_information_type(pch["TYP_SVD"]));
  std::string_view correction = szv4_correction_kind(pch["KORR"]);
  if (!correction.empty() || !szv41) xml.write_element("ВидКорректировки"_w, correction);
  xml.write_element("СтраховойНомер"_w, p["STR_N"]);
  xml.open("ФИО"_w);
  person::write_full_name(xml, p["FIO1"], p["FIO2"], p["FIO3"]);
  xml.close("ФИО"_w);
  xml.open("АдресЗЛ"_w);
  person::write_address(xml, p["ADRES_I"]);
  xml.close("АдресЗЛ"_w);
  xml.open("Страхователь"_w);
  core::write_insurer(xml, header().ist4);
  xml.close("Страхователь"_w);
  xml.write_element("РасчетныйПериод"_w, p["GOD_P"]);
  xml.write_date_element("ДатаЗаполнения"_w, p["DATA_ZAP"]);
  xml.open("ТарифСтраховыхВзносов"_w);
  core::write_category_by_prefix(xml, pch["KAT_ZL"], pch["DOP_T"]);
  xml.close("ТарифСтраховыхВзносов"_w);

  const bool sums = szv41 ? !(equals(p["SUM_STR"], "0") && equals(p["SUM_NAK"], "0") && equals(p["SUM_DOP"], "0"))
                          : !(is_blank(p["SUM_STR"]) && is_blank(p["SUM_NAK"]) && is_blank(p["SUM_DOP"]));
  if (sums) {
    xml.open("НачисленоВзносовОсновных"_w);
    core::write_contribution_sums(xml, p["SUM_STR"], p["SUM_NAK"], p["SUM_DOP"]);
    xml.close("НачисленоВзносовОсновных"_w);
  }
  if (!(equals(p["M_BOLN"], "0") && equals(p["D_BOLN"], "0"))) {
    xml.open("БольничныеЛисты"_w);
    write_years_months_days(xml, {}, p["M_BOLN"], p["D_BOLN"]);
    xml.close("БольничныеЛисты"_w);
  }
  if (!(equals(p["M_OTP_BZ"], "0") && equals(p["D_OTP_BZ"], "0"))) {
    xml.open("АдминистративныйОтпуск"_w);
    write_years_months_days(xml, {}, p["M_OTP_BZ"], p["D_OTP_BZ"]);
    xml.close("АдминистративныйОтпуск"_w);
  }
  if (szv41)
    write_work_periods(xml);
  else
    write_single_period(xml);
  xml.xml_depth = 1;
  xml.close(element);
}

void Szv4Converter::write_work_periods(core::XmlWriter& xml) const {
  if (equals(person_["KOL_STAG"], "0")) return;
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
    write_accounting_features(xml, s, FeaturesVariant::szv4);
    xml.close("ОсновнаяСтрока"_w);
    if (!equals(s["KOL_LGOT"], "0")) {
      xml.open("ДополнительныеСтроки"_w);
      xml.write_element("Количество"_w, s["KOL_LGOT"]);
      const long long lines = as_number(s["KOL_LGOT"]);
      for (long long j = 1; j <= lines; ++j)
        if (const PeriodList::Entry* a = periods_.additional(i, j))
          write_accounting_features(xml, a->line, FeaturesVariant::szv4);
      xml.close("ДополнительныеСтроки"_w);
    }
    xml.close("ПериодРаботы"_w);
  }
  xml.close("ВсеПериодыРаботы"_w);
}

void Szv4Converter::write_single_period(core::XmlWriter& xml) const {
  if (is_blank(person_["PERIOD_N"])) return;
  xml.open("ВсеПериодыРаботы"_w);
  xml.write_element("Количество"_w, "1");
  xml.open("ПериодРаботы"_w);
  xml.open("ОсновнаяСтрока"_w);
  xml.write_element("НомерСтроки"_w, "1");
  xml.write_date_element("ДатаНачалаПериода"_w, person_["PERIOD_N"]);
  xml.write_date_element("ДатаКонцаПериода"_w, person_["PERIOD_K"]);
  xml.close("ОсновнаяСтрока"_w);
  xml.close("ПериодРаботы"_w);
  xml.close("ВсеПериодыРаботы"_w);
}

std::vector<core::ViewPage> Szv4Converter::view_pages() const {
  const core::Record& p = person_;
  core::ViewPage page;
  add_field(page, "№ в пачке:"_w, number_);
  add_field(page, "из"_w, header().dokt["KOL_DOK"]);
  add_field(page, "стр.№:"_w, p["STR_N"]);
  add_field(page, "год:"_w, p["GOD_P"]);
  add_field(page, "фамилия:"_w, p["FIO1"]);
  add_field(page, "имя:"_w, p["FIO2"]);
  add_field(page, "отчество:"_w, p["FIO3"]);
  add_field(page, "адрес:"_w, p["ADRES_I"]);
  add_group(page, "Начислено взносов:"_w);
  add_field(page, "страх.:"_w, p["SUM_STR"]);
  add_field(page, "накоп.:"_w, p["SUM_NAK"]);
  add_field(page, "доп.т.:"_w, p["SUM_DOP"]);
  add_group(page, "По временной нетрудоспособности:"_w);
  add_field(page, "мес.:"_w, p["M_BOLN"]);
  add_field(page, "дней:"_w, p["D_BOLN"]);
  add_group(page, "Отпуск без сохранения зарплаты"_w);
  add_field(page, "мес.:"_w, p["M_OTP_BZ"]);
  add_field(page, "дней:"_w, p["D_OTP_BZ"]);
  add_field(page, "дата заполнения:"_w, p["DATA_ZAP"]);
  if (form_ == Szv4Form::szv41) {
    add_field(page, "Записей о стаже:"_w, p["KOL_STAG"]);
    page.lists.push_back(szv4_period_list(periods_));
  } else {
    add_group(page, "Период стажа"_w);
    add_field(page, "начало:"_w, p["PERIOD_N"]);
    add_field(page, "конец:"_w, p["PERIOD_K"]);
  }
  return {page};
}

std::unique_ptr<core::Converter> make_load_szv41(const core::ConverterContext& context) {
  return std::make_unique<Szv4Converter>(context, Szv4Form::szv41);
}

std::unique_ptr<core::Converter> make_load_szv42(const core::ConverterContext& context) {
  return std::make_unique<Szv4Converter>(context, Szv4Form::szv42);
}

}  // namespace tolvex::earnings
