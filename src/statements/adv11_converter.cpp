// SPDX-License-Identifier: MIT
#include "statements/adv11_converter.h"

#include "blocks/period_blocks.h"
#include "core/conversion/view.h"
#include "core/format7/frame.h"
#include "core/format7/insurer_blocks.h"
#include "statements/statement_blocks.h"

namespace tolvex::statements {

using namespace runtime::literals;

using core::as_number;
using core::equals;
using core::is_blank;

std::string_view Adv11Converter::window_title() const { return "Конвертация  АДВ-11 в формат 7 XML"_w; }
std::string_view Adv11Converter::journal_text() const { return " ведомость уплаты АДВ-11"_w; }

core::RunRules Adv11Converter::rules() const {
  core::RunRules r;
  r.single_document = true;
  return r;
}

namespace {

// Reads `count` lines of one layout into `list`; the code of the read that failed, or ok.
template <const core::RecordLayout& L>
runtime::Error read_lines(core::PackReader& pack, std::string_view count, std::vector<core::RecordOf<L>>& list) {
  list.clear();
  for (long long i = 0, n = as_number(count); i < n; ++i) {
    core::RecordOf<L> entry;
    if (runtime::Error rc = pack.read_record(entry); rc != runtime::Error::ok) return rc;
    list.push_back(std::move(entry));
  }
  return runtime::Error::ok;
}

// One СуммаЗаПериод row: ДЕТАЛЬНАЯ with its year (when not blank) or ИТОГО without one.
void write_sum_row(core::XmlWriter& xml, std::string_view row_type, std::string_view year, std::string_view insurance,
                   std::string_view funded, std::string_view additional) {
  auto block = xml.block("СуммаЗаПериод"_w);
  xml.write_element("ТипСтроки"_w, row_type);
  if (!is_blank(year)) core::write_settlement_period(xml, year);
  xml.line("<СтраховыеВзносы>"_w);
  core::write_contribution_sums(xml, insurance, funded, additional);
  xml.line("</СтраховыеВзносы>"_w);
}

struct PeriodBlock {
  std::string_view element;    // ЗадолженностьНаНачало ...
  std::string_view count;      // the count field
  std::string_view totals[3];  // the statement's three totals
  bool blank_count_empty;      // a blank count gives an empty Количество (debt at the start only)
};

// The rows of the lines (DOLG, UPL or OST: the year, then the three sums), then the total row.
template <const core::RecordLayout& L>
void write_period_block(core::XmlWriter& xml, const PeriodBlock& b, const std::vector<core::RecordOf<L>>& list) {
  auto block = xml.block(b.element);
  if (b.blank_count_empty && is_blank(b.count))
    xml.write_element("Количество"_w, "");
  else
    xml.write_element("Количество"_w, std::to_string(as_number(b.count) + 1));
  for (const auto& e : list) write_sum_row(xml, "ДЕТАЛЬНАЯ"_w, e["GOD_P"], e.field(2), e.field(3), e.field(4));
  write_sum_row(xml, "ИТОГО"_w, {}, b.totals[0], b.totals[1], b.totals[2]);
}

}  // namespace

core::ReadResult Adv11Converter::read_document(core::PackReader& pack) {
  core::RecordOf<ADV11_LINE> line;
  if (runtime::Error rc = read_by_line_layout(pack, line, adv11_); rc != runtime::Error::ok)
    return core::ReadResult::from_code(rc, false);
  journal().journal_line("1 ведомость уплаты АДВ-11"_w);
  number_.clear();

  // The date's separators are forced to points before the statement type is decided.
  adv11_.put("D_ADV11", 2, '.');
  adv11_.put("D_ADV11", 5, '.');
  std::string full_year = std::string("31.12.") + std::string(adv11_["GOD"]);
  adv11_.set("TYP_ADV11", equals(adv11_["D_ADV11"], full_year) ? "ПОЛНАЯ"_w : "МЕЖРАСЧЕТНАЯ"_w);

  if (runtime::Error rc = read_lines(pack, adv11_["KOL_DOLG"], dolg_); rc != runtime::Error::ok)
    return core::ReadResult::from_code(rc, true);
  if (runtime::Error rc = read_lines(pack, adv11_["KOL_UPL"], upl_); rc != runtime::Error::ok)
    return core::ReadResult::from_code(rc, true);
  if (runtime::Error rc = read_lines(pack, adv11_["KOL_OST"], ost_); rc != runtime::Error::ok)
    return core::ReadResult::from_code(rc, true);
  return {};
}

void Adv11Converter::write_document(core::XmlWriter& xml) {
  const auto& a = adv11_;
  number_ = core::document_number(a["NDOK_PCH"]);
  auto document = xml.block("ВЕДОМОСТЬ_УПЛАТЫ"_w);
  xml.write_element("НомерВпачке"_w, number_);
  {
    auto insurer = xml.block("Страхователь"_w);
    core::write_insurer(xml, header().ist4, core::kInsurerWithoutRegistration);
  }
  core::write_settlement_period(xml, a["GOD"]);
  xml.write_date_element("ДатаВедомости"_w, a["D_ADV11"]);
  xml.write_element("ТипАДВ-11"_w, a["TYP_ADV11"]);
  xml.write_element("ЧислоПачек"_w, a["KOL_PCH"]);
  xml.write_element("ЧислоЗастрахованныхЛиц"_w, a["KOL_ZL"]);
  {
    auto tariff = xml.block("Тариф"_w);
    blocks::write_category_by_prefix(xml, a["KAT_PL"], a["DOP_T"]);
  }

  // A block is left out when its count is the digit zero (trailing blanks ignored); "00",
  // " 0" and a blank count still give the block.
  if (!equals(a["KOL_DOLG"], "0"))
    write_period_block(
        xml, {"ЗадолженностьНаНачало"_w, a["KOL_DOLG"], {a["DOLG_STR"], a["DOLG_NAK"], a["DOLG_DOP"]}, true}, dolg_);
  xml.write_element("ПризнакТарифа"_w, a["REGRES"]);
  {
    auto charged = xml.block("НачисленияЗаПериод"_w);
    core::write_contribution_sums(xml, a["SUM_STR"], a["SUM_NAK"], a["SUM_DOP"]);
  }
  if (!equals(a["KOL_UPL"], "0"))
    write_period_block(xml, {"УплатаЗаПериод"_w, a["KOL_UPL"], {a["UPL_STR"], a["UPL_NAK"], a["UPL_DOP"]}, false},
                       upl_);
  if (!equals(a["KOL_OST"], "0"))
    write_period_block(xml, {"ЗадолженностьНаКонец"_w, a["KOL_OST"], {a["END_STR"], a["END_NAK"], a["END_DOP"]}, false},
                       ost_);
  xml.write_date_element("ДатаЗаполнения"_w, a["D_ZAP"]);
}

std::vector<core::ViewPage> Adv11Converter::view_pages() const {
  const auto& a = adv11_;
  core::ViewPage page;
  core::ViewGroup& statement = core::add_group(page);
  statement.fields.push_back(core::view_field("Тип ведомости:"_w, a, "TYP_ADV11"));
  core::add_number_in_pack(statement, "№ в пачке:"_w, number_, header());
  core::add_fields(statement, a,
                   {{"Расчетный год:"_w, "GOD"},
                    {"Дата ведомости:"_w, "D_ADV11"},
                    {"Дата заполнения:"_w, "D_ZAP"},
                    {"Пачек индивидуальных сведений:"_w, "KOL_PCH"},
                    {"Застрахованных лиц:"_w, "KOL_ZL"},
                    {"Код категории:"_w, "KAT_PL"},
                    {"Код доп. тарифа:"_w, "DOP_T"}});
  // The rest of the tariff sign's word beside it: М(АКСИМУМ), Р(ЕГРЕС).
  std::string_view rest;
  if (equals(a["REGRES"], "М"_w)) rest = "АКСИМУМ"_w;
  if (equals(a["REGRES"], "Р"_w)) rest = "ЕГРЕС"_w;
  statement.fields.push_back(core::view_field("Признак тарифа:"_w, a, "REGRES", rest));
  // The amounts of the year, each split into the insurance part, the funded part and the
  // additional tariff, with the number of lines by year that follow the statement.
  using Field = core::FieldOf<ADV11>;
  const auto sums = [&](std::string_view caption, bool beside, Field insurance, Field funded, Field additional,
                        const Field* lines) {
    core::ViewGroup& g = core::add_group(page, caption, beside);
    g.fields.push_back(core::view_field("страховая часть:"_w, a, insurance));
    g.fields.push_back(core::view_field("накопительная часть:"_w, a, funded));
    g.fields.push_back(core::view_field("доп. тариф:"_w, a, additional));
    if (lines) g.fields.push_back(core::view_field("строк по годам:"_w, a, *lines));
  };
  static constexpr Field kDebtLines = "KOL_DOLG", kPaidLines = "KOL_UPL", kEndLines = "KOL_OST";
  sums("Задолженность на начало года"_w, false, "DOLG_STR", "DOLG_NAK", "DOLG_DOP", &kDebtLines);
  sums("Начислено за год"_w, true, "SUM_STR", "SUM_NAK", "SUM_DOP", nullptr);
  sums("Уплачено за год"_w, true, "UPL_STR", "UPL_NAK", "UPL_DOP", &kPaidLines);
  sums("Задолженность на конец года"_w, true, "END_STR", "END_NAK", "END_DOP", &kEndLines);
  const auto columns = core::view_texts({"тип"_w, "год"_w, "страховая"_w, "накопительная"_w, "доп. тариф"_w});
  page.lists.push_back(core::view_list("Задолженность на начало года по годам"_w, columns, dolg_));
  page.lists.push_back(core::view_list("Уплачено по годам"_w, columns, upl_, true));
  page.lists.push_back(core::view_list("Задолженность на конец года по годам"_w, columns, ost_, true));
  return {page};
}

std::unique_ptr<core::Converter> make_load_adv11(const core::ConverterContext& ctx) {
  return std::make_unique<Adv11Converter>(ctx);
}

}  // namespace tolvex::statements
