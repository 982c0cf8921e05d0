// SPDX-License-Identifier: MIT
#include "earnings/old_records_converter.h"

#include "blocks/period_blocks.h"
#include "blocks/person_blocks.h"
#include "blocks/work_period_blocks.h"
#include "core/conversion/view.h"
#include "core/format4/information_type.h"
#include "core/format7/frame.h"
#include "core/format7/insurer_blocks.h"
#include "runtime/codepage.h"

namespace tolvex::earnings {

using namespace runtime::literals;
using core::as_number;
using core::is_blank;

// The two forms.
constexpr OldRecordsForm kSzv1Form{
    .person = SZV1,
    .element = "СТАРЫЕ_ИС_СЗВ-1"_w,
    .employer = core::kInsurerWithoutRegistration,
    .additional_tariff = false,
    .currency_always = true,
    .employer_sum = "ВзносыРаботодателя"_w,
    .employee_sum = "ВзносыРаботника"_w,
    .journal_text = " индивидульные сведения СЗВ-1"_w,
    .window_title = "Чтение СЗВ-1 из одной пачки"_w,
};

constexpr OldRecordsForm kSzv3Form{
    .person = SZV3,
    .element = "СТАРЫЕ_ИС_СЗВ-3"_w,
    .employer = core::kInsurerInFull,
    .additional_tariff = true,
    .currency_always = false,
    .employer_sum = "СуммаЗаработкаСначалаГода"_w,
    .employee_sum = "СуммаВзносовСначалаГода"_w,
    .journal_text = " индивидульные сведения СЗВ-3"_w,
    .window_title = "Чтение СЗВ-3 из одной пачки"_w,
};

template <const OldRecordsForm& Form>
core::RunRules OldRecordsConverter<Form>::rules() const {
  core::RunRules r;
  r.counter_line_before_document = true;
  return r;
}

template <const OldRecordsForm& Form>
core::ReadResult OldRecordsConverter<Form>::read_document(core::PackReader& pack) {
  if (runtime::Error rc = pack.read_record(person_); rc != runtime::Error::ok)
    return core::ReadResult::from_code(rc, false);
  number_ = core::document_number(person_["NDOK_PCH"]);
  // The month and period lines that the person line announces; a pack that ends among them
  // leaves the document incomplete, and it is not written.
  months_.clear();
  for (long long i = as_number(person_["KOL_NACH"]); i > 0; --i)
    if (runtime::Error rc = months_.read_month(pack); rc != runtime::Error::ok)
      return core::ReadResult::from_code(rc, true);
  months_.complete();
  periods_.clear();
  for (long long i = as_number(person_["KOL_STAG"]); i > 0; --i)
    if (runtime::Error rc = periods_.read_period(pack); rc != runtime::Error::ok)
      return core::ReadResult::from_code(rc, true);
  return {};
}

template <const OldRecordsForm& Form>
void OldRecordsConverter<Form>::write_document(core::XmlWriter& xml) {
  auto document = xml.block(Form.element);
  xml.write_element("НомерВпачке"_w, number_);
  xml.write_element("ТипСведений"_w, core::information_word(person_["TYP_F"], core::kOldRecordsInformationType));
  write_header(xml);
  {
    auto contributions = xml.block("НачисленныеВзносы"_w);
    xml.write_element(Form.employer_sum, person_["SUM_ZAR"]);
    xml.write_element(Form.employee_sum, person_["SUM_VZN"]);
  }
  write_earnings(xml);
  if (!is_blank(person_["KOL_STAG"]))
    blocks::write_work_periods(xml, person_["KOL_STAG"], periods_, blocks::kOldRecordsWorkPeriods);
}

template <const OldRecordsForm& Form>
void OldRecordsConverter<Form>::write_header(core::XmlWriter& xml) const {
  const auto& p = person_;
  auto block = xml.block("ЗаголовокСтарыхИС"_w);
  xml.write_element("СтраховойНомер"_w, p["STR_N"]);
  blocks::write_name_block(xml, "ФИО"_w, p);
  {
    auto employer = xml.block("Работодатель"_w);
    core::write_insurer(xml, header().ist4, Form.employer);
  }
  // The reporting period is the pack's, not the person line's KW and GOD.
  blocks::write_reporting_period(xml, header().pch["KW"], header().pch["GOD_P"]);
  xml.write_date_element("ДатаЗаполнения"_w, p["DATA_ZAP"]);
  {
    auto tariff = xml.block("ТарифСтраховыхВзносов"_w);
    if constexpr (Form.additional_tariff)
      blocks::write_category_by_code(xml, p["KAT_ZL"], p["DOP_T"]);
    else
      blocks::write_category_by_code(xml, p["KAT_ZL"], {});
  }
  blocks::write_contract(xml, p["DOGV_N"], p["DOGV_D"], p["VID_VYPL"]);
  if (Form.currency_always || !is_blank(p["VALUTA"])) xml.write_element("Валюта"_w, p["VALUTA"]);
}

template <const OldRecordsForm& Form>
void OldRecordsConverter<Form>::write_earnings(core::XmlWriter& xml) const {
  long long announced = as_number(person_["KOL_NACH"]);
  if (announced <= 0) return;
  auto block = xml.block("Заработок"_w);
  // the months plus the total row, as the pack counts them
  xml.write_element("Количество"_w, std::to_string(announced + 1));
  for (std::size_t k = 0; k < months_.size() && k < 12; ++k) {
    const core::RecordOf<NCHM>& m = months_.at(k);
    if (is_blank(m["TYP_Z"])) continue;  // a month without a line
    blocks::write_earnings_row(xml, "МЕСЯЦ"_w, m["MES_NUM"], m["SUM_ZAR"], m["SUM_BOLN"]);
  }
  blocks::write_earnings_row(xml, "ИТОГО"_w, {}, person_["SUM_NACH"], person_["SUM_BOLN"]);
}

template <const OldRecordsForm& Form>
std::vector<core::ViewPage> OldRecordsConverter<Form>::view_pages() const {
  const auto& p = person_;
  core::ViewPage page;
  core::ViewGroup& person = core::add_group(page);
  core::add_number_in_pack(person, "№ в пачке:"_w, number_, header());
  core::add_fields(person, p,
                   {{"стр.№:"_w, "STR_N"},
                    {"Квартал:"_w, "KW"},
                    {"год:"_w, "GOD"},
                    {"тип формы:"_w, "TYP_F"},
                    {"фамилия:"_w, "FIO1"},
                    {"имя:"_w, "FIO2"},
                    {"отчество:"_w, "FIO3"},
                    {"№ дог.:"_w, "DOGV_N"},
                    {"дата договора:"_w, "DOGV_D"},
                    {"выплата:"_w, "VID_VYPL"},
                    {"катег.ЗЛ:"_w, "KAT_ZL"}});
  if constexpr (Form.additional_tariff) person.fields.push_back(core::view_field("доп.т.:"_w, p, "DOP_T"));
  person.fields.push_back(core::view_field("валюта:"_w, p, "VALUTA"));
  // Amounts with two decimals, blank when zero.
  const auto amount = [&](std::string_view prompt, core::FieldOf<Form.person> f) {
    return core::view_value(prompt, shown_amount(p[f]), f.width());
  };
  core::ViewGroup& accrued = core::add_group(page);
  accrued.fields.push_back(amount("Всего начислено:"_w, "SUM_NACH"));
  accrued.fields.push_back(amount("В т.ч. по нетрудоспособности:"_w, "SUM_BOLN"));
  accrued.fields.push_back(core::view_field("За"_w, p, "KOL_NACH", "мес"_w));
  core::ViewGroup& contributions = core::add_group(page, "Начислено взноса с нач.года:"_w, true);
  contributions.fields.push_back(amount("работодателя:"_w, "SUM_ZAR"));
  contributions.fields.push_back(amount("работника:"_w, "SUM_VZN"));
  core::add_fields(core::add_group(page), p, {{"Записей о стаже:"_w, "KOL_STAG"}, {"дата заполнения:"_w, "DATA_ZAP"}});
  page.lists.push_back(month_list(months_));
  page.lists.push_back(old_records_period_list(periods_));
  return {page};
}

template class OldRecordsConverter<kSzv1Form>;
template class OldRecordsConverter<kSzv3Form>;

std::unique_ptr<core::Converter> make_load_szv1(const core::ConverterContext& context) {
  return std::make_unique<OldRecordsConverter<kSzv1Form>>(context);
}

std::unique_ptr<core::Converter> make_load_szv3(const core::ConverterContext& context) {
  return std::make_unique<OldRecordsConverter<kSzv3Form>>(context);
}

}  // namespace tolvex::earnings
