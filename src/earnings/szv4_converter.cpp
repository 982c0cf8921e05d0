// SPDX-License-Identifier: MIT
#include "earnings/szv4_converter.h"

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
using core::equals;
using core::is_blank;

// The two forms.
constexpr Szv4Form kSzv41Form{
    .person = SZV41,
    .window_title = "Чтение СЗВ-41 из одной пачки"_w,
    .journal_text = " индивидульные сведения СЗВ-4-1"_w,
    .element = "ИС_СЗВ-4-1"_w,
    .form_name = "СЗВ-4-1"_w,
    .rules = {.counter_line_before_document = true,
              .run_time_prefix = "Все "_w,
              .first_time_suffix = " читаем 1 запись"_w},
    .period_lines = true,
    .correction_always = false,
    .sums_left_out = "0",
};

constexpr Szv4Form kSzv42Form{
    .person = SZV42,
    .window_title = "Чтение СЗВ-42 из одной пачки"_w,
    .journal_text = " индивидульные сведения СЗВ-4-2"_w,
    .element = "ИС_СЗВ-4-2"_w,
    .form_name = "СЗВ-4-2"_w,
    .rules = {},
    .period_lines = false,
    .correction_always = true,
    .sums_left_out = "",
};

namespace {

// The one period of a СЗВ-4-2 person line, number 1, without features or additional lines.
class OnePeriod : public blocks::WorkPeriodSource {
 public:
  OnePeriod(std::string_view start, std::string_view end) : start_(start), end_(end) {}
  std::optional<blocks::WorkPeriod> find_period(long long number) const override {
    if (number != 1) return std::nullopt;
    return blocks::WorkPeriod{"1", start_, end_, "0", std::nullopt};
  }
  std::optional<blocks::AccountingFeatures> find_additional(long long, long long) const override {
    return std::nullopt;
  }

 private:
  std::string_view start_, end_;
};

}  // namespace

template <const Szv4Form& Form>
core::ReadResult Szv4Converter<Form>::read_document(core::PackReader& pack) {
  if (runtime::Error rc = pack.read_record(person_); rc != runtime::Error::ok)
    return core::ReadResult::from_code(rc, false);
  number_ = core::document_number(person_["NDOK_PCH"]);
  periods_.clear();
  if constexpr (Form.period_lines) {
    // A pack that ends among the announced period lines leaves the document incomplete.
    for (long long i = as_number(person_["KOL_STAG"]); i > 0; --i)
      if (runtime::Error rc = periods_.read_period(pack); rc != runtime::Error::ok)
        return core::ReadResult::from_code(rc, true);
  }
  return {};
}

template <const Szv4Form& Form>
void Szv4Converter<Form>::write_document(core::XmlWriter& xml) {
  const auto& p = person_;
  const auto& pch = header().pch;

  auto document = xml.block(Form.element);
  xml.write_element("НомерВпачке"_w, number_);
  xml.write_element("ВидФормы"_w, Form.form_name);
  xml.write_element("ТипСведений"_w, core::information_word(pch["TYP_SVD"], core::kSzv4InformationType));
  std::string_view correction = core::information_word(pch["KORR"], core::kSzv4CorrectionKind);
  if (!correction.empty() || Form.correction_always) xml.write_element("ВидКорректировки"_w, correction);
  xml.write_element("СтраховойНомер"_w, p["STR_N"]);
  blocks::write_name_block(xml, "ФИО"_w, p);
  blocks::write_address_block(xml, "АдресЗЛ"_w, p["ADRES_I"]);
  {
    auto insurer = xml.block("Страхователь"_w);
    core::write_insurer(xml, header().ist4);
  }
  core::write_settlement_period(xml, p["GOD_P"]);
  xml.write_date_element("ДатаЗаполнения"_w, p["DATA_ZAP"]);
  {
    auto tariff = xml.block("ТарифСтраховыхВзносов"_w);
    blocks::write_category_by_prefix(xml, pch["KAT_ZL"], pch["DOP_T"]);
  }
  const std::string_view none = Form.sums_left_out;
  if (!(equals(p["SUM_STR"], none) && equals(p["SUM_NAK"], none) && equals(p["SUM_DOP"], none))) {
    auto sums = xml.block("НачисленоВзносовОсновных"_w);
    core::write_contribution_sums(xml, p["SUM_STR"], p["SUM_NAK"], p["SUM_DOP"]);
  }
  if (!(equals(p["M_BOLN"], "0") && equals(p["D_BOLN"], "0"))) {
    auto sick_leave = xml.block("БольничныеЛисты"_w);
    blocks::write_years_months_days(xml, {}, p["M_BOLN"], p["D_BOLN"]);
  }
  if (!(equals(p["M_OTP_BZ"], "0") && equals(p["D_OTP_BZ"], "0"))) {
    auto unpaid_leave = xml.block("АдминистративныйОтпуск"_w);
    blocks::write_years_months_days(xml, {}, p["M_OTP_BZ"], p["D_OTP_BZ"]);
  }
  if constexpr (Form.period_lines) {
    if (!equals(p["KOL_STAG"], "0")) blocks::write_work_periods(xml, p["KOL_STAG"], periods_, blocks::kSzv4WorkPeriods);
  } else {
    if (!is_blank(p["PERIOD_N"]))
      blocks::write_work_periods(xml, "1", OnePeriod(p["PERIOD_N"], p["PERIOD_K"]), blocks::kSzv4WorkPeriods);
  }
}

template <const Szv4Form& Form>
std::vector<core::ViewPage> Szv4Converter<Form>::view_pages() const {
  const auto& p = person_;
  core::ViewPage page;
  core::ViewGroup& person = core::add_group(page);
  core::add_number_in_pack(person, "№ в пачке:"_w, number_, header());
  core::add_fields(person, p,
                   {{"стр.№:"_w, "STR_N"},
                    {"год:"_w, "GOD_P"},
                    {"фамилия:"_w, "FIO1"},
                    {"имя:"_w, "FIO2"},
                    {"отчество:"_w, "FIO3"},
                    {"адрес:"_w, "ADRES_I"}});
  core::add_fields(core::add_group(page, "Начислено взносов:"_w), p,
                   {{"страх.:"_w, "SUM_STR"}, {"накоп.:"_w, "SUM_NAK"}, {"доп.т.:"_w, "SUM_DOP"}});
  core::add_fields(core::add_group(page, "По временной нетрудоспособности:"_w, true), p,
                   {{"мес.:"_w, "M_BOLN"}, {"дней:"_w, "D_BOLN"}});
  core::add_fields(core::add_group(page, "Отпуск без сохранения зарплаты"_w, true), p,
                   {{"мес.:"_w, "M_OTP_BZ"}, {"дней:"_w, "D_OTP_BZ"}});
  core::ViewGroup& filled = core::add_group(page);
  filled.fields.push_back(core::view_field("дата заполнения:"_w, p, "DATA_ZAP"));
  if constexpr (Form.period_lines) {
    filled.fields.push_back(core::view_field("Записей о стаже:"_w, p, "KOL_STAG"));
    page.lists.push_back(szv4_period_list(periods_));
  } else {
    core::add_fields(core::add_group(page, "Период стажа"_w, true), p,
                     {{"начало:"_w, "PERIOD_N"}, {"конец:"_w, "PERIOD_K"}});
  }
  return {page};
}

template class Szv4Converter<kSzv41Form>;
template class Szv4Converter<kSzv42Form>;

std::unique_ptr<core::Converter> make_load_szv41(const core::ConverterContext& context) {
  return std::make_unique<Szv4Converter<kSzv41Form>>(context);
}

std::unique_ptr<core::Converter> make_load_szv42(const core::ConverterContext& context) {
  return std::make_unique<Szv4Converter<kSzv42Form>>(context);
}

}  // namespace tolvex::earnings
