// SPDX-License-Identifier: MIT
#include "statements/adv10_converter.h"

#include <algorithm>

#include "blocks/period_blocks.h"
#include "core/conversion/view.h"
#include "core/format7/frame.h"
#include "core/format7/insurer_blocks.h"
#include "statements/statement_blocks.h"

namespace tolvex::statements {

using namespace runtime::literals;

using core::as_number;
using core::is_blank;
using Month = core::RecordOf<MES10>;

std::string_view Adv10Converter::window_title() const { return "Конвертация  АДВ-10 в формат 7 XML"_w; }
std::string_view Adv10Converter::journal_text() const { return " сводная ведомость АДВ-10"_w; }

core::RunRules Adv10Converter::rules() const {
  core::RunRules r;
  r.counter_line_before_document = true;
  r.next_counter_plain = true;
  r.next_caption = "Следущая"_w;
  return r;
}

core::ReadResult Adv10Converter::read_document(core::PackReader& pack) {
  if (runtime::Error rc = pack.read_record(adv10_); rc != runtime::Error::ok)
    return core::ReadResult::from_code(rc, false);
  number_.clear();

  // The month lines; their record type is not checked. A month is held as two digits by its
  // numeric value ("3" -> "03", blank or not a number -> "00").
  mes10_.clear();
  const long long count = as_number(adv10_["KOL_MES"]);
  for (long long i = 0; i < count; ++i) {
    Month month;
    if (runtime::Error rc = pack.read_record(month); rc != runtime::Error::ok)
      return core::ReadResult::from_code(rc, true);
    month.set("N_MES", core::zero_padded(as_number(month["N_MES"]), 2));
    mes10_.push_back(std::move(month));
  }

  // Months 1 to 12 that have no line get a filler entry (blank record type), then the table
  // is put in month order; lines of the same month keep their pack order.
  for (int m = 1; m <= 12; ++m) {
    const std::string mm = core::zero_padded(m, 2);
    bool present = std::any_of(mes10_.begin(), mes10_.end(), [&](const Month& r) { return r["N_MES"] == mm; });
    if (!present) {
      Month filler;
      filler.set("N_MES", mm);
      mes10_.push_back(std::move(filler));
    }
  }
  std::stable_sort(mes10_.begin(), mes10_.end(),
                   [](const Month& a, const Month& b) { return a["N_MES"] < b["N_MES"]; });
  return {};
}

// One ЗаработокДоходПоКатегорииЗЛ row: a month row from a MES10 entry, or the total row from
// the document's sums when `month` is null.
void Adv10Converter::write_row(core::XmlWriter& xml, const Month* month) const {
  // The row's sums: the month's, or for the total row the document's.
  const std::string_view earnings = month ? (*month)["SUM_ZAR"] : adv10_["SUM_ZAR"];
  const std::string_view sick_pay = month ? (*month)["SUM_BOLN"] : adv10_["SUM_BOLN"];
  const std::string_view charged = month ? (*month)["SUM_VZN"] : adv10_["SUM_VZNOS"];
  const std::string_view paid = month ? (*month)["SUM_UPL"] : adv10_["SUM_UPL"];
  auto block = xml.block("ЗаработокДоходПоКатегорииЗЛ"_w);
  xml.write_element("ТипСтроки"_w, month ? "МЕСЯЦ"_w : "ИТОГО"_w);
  if (month) xml.write_element("Месяц"_w, (*month)["N_MES"]);
  if (!is_blank(earnings)) xml.write_element("ПоКатегорииЗаработок"_w, earnings);
  if (!is_blank(sick_pay)) xml.write_element("ПоКатегорииПоБольничным"_w, sick_pay);
  if (month && as_number((*month)["KOL_RAB"]) > 0)
    xml.write_element("СредняяЧисленностьРаботников"_w, (*month)["KOL_RAB"]);
  if (month && !is_blank((*month)["REGRES"])) xml.write_element("ПризнакТарифа"_w, (*month)["REGRES"]);
  if (!is_blank(charged)) xml.write_element("НачисленоВзносов"_w, charged);
  if (!is_blank(paid)) xml.write_element("ПеречисленоВзносов"_w, paid);
}

void Adv10Converter::write_document(core::XmlWriter& xml) {
  number_ = core::document_number(adv10_["NDOK_PCH"]);
  auto document = xml.block("СВОДНАЯ_ВЕДОМОСТЬ"_w);
  xml.write_element("НомерВпачке"_w, number_);
  {
    auto insurer = xml.block("Страхователь"_w);
    core::write_insurer(xml, header().ist4, core::kInsurerWithoutRegistration);
  }
  blocks::write_reporting_period(xml, adv10_["KW"], adv10_["GOD"]);
  xml.write_date_element("ДатаЗаполнения"_w, adv10_["D_ZAP"]);
  xml.write_element("ЧислоПачек"_w, adv10_["KOL_PCH"]);
  xml.write_element("ЧислоЗастрахованныхЛиц"_w, adv10_["KOL_ZL"]);
  xml.write_element("ЗадолженностьПоВзносам"_w, adv10_["DOLG"]);
  xml.write_element("КодКатегории"_w, adv10_["KAT_PL"]);

  auto rows = xml.block("ВесьЗаработокДоходПоКатегорииЗЛ"_w);
  xml.write_element("Количество"_w, std::to_string(as_number(adv10_["KOL_MES"]) + 1));
  // Every month line read yields its row in month order, fillers are skipped, so no line is
  // lost when the months are not 01 to KOL_MES.
  for (const Month& month : mes10_)
    if (!is_blank(month["TYP_Z"])) write_row(xml, &month);
  write_row(xml, nullptr);
}

std::vector<core::ViewPage> Adv10Converter::view_pages() const {
  const auto& a = adv10_;
  core::ViewPage page;
  core::ViewGroup& statement = core::add_group(page);
  core::add_number_in_pack(statement, "№ в пачке:"_w, number_, header());
  core::add_fields(statement, a,
                   {{"Дата заполнения:"_w, "D_ZAP"},
                    {"Пачек индивидуальных сведений:"_w, "KOL_PCH"},
                    {"Застрахованных лиц:"_w, "KOL_ZL"},
                    {"Код категории:"_w, "KAT_PL"},
                    {"Валюта:"_w, "VALUT"},
                    {"Задолженность на конец периода:"_w, "DOLG"}});
  core::add_fields(core::add_group(page, "Отчетный период"_w), a, {{"квартал:"_w, "KW"}, {"год:"_w, "GOD"}});
  core::add_fields(core::add_group(page, "Итого за период"_w, true), a,
                   {{"заработок:"_w, "SUM_ZAR"},
                    {"больничные и пособия:"_w, "SUM_BOLN"},
                    {"начислено взносов:"_w, "SUM_VZNOS"},
                    {"перечислено взносов:"_w, "SUM_UPL"}});
  core::ViewList list{
      std::string("Помесячно, месяцев: "_w) + std::string(a.value("KOL_MES")),
      core::view_texts({"тип"_w, "мес"_w, "ср.кол."_w, "доход"_w, "больн."_w, "р"_w, "начисл."_w, "уплач."_w}),
      {}};
  for (const Month& m : mes10_)
    list.rows.push_back(
        core::view_row(m, {"TYP_Z", "N_MES", "KOL_RAB", "SUM_ZAR", "SUM_BOLN", "REGRES", "SUM_VZN", "SUM_UPL"}));
  page.lists.push_back(std::move(list));
  return {page};
}

std::unique_ptr<core::Converter> make_load_adv10(const core::ConverterContext& ctx) {
  return std::make_unique<Adv10Converter>(ctx);
}

}  // namespace tolvex::statements
