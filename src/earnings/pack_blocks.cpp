#include "earnings/pack_blocks.h"

#include "core/insurer_blocks.h"
#include "core/period_blocks.h"
#include "runtime/codepage.h"

namespace tolvex::earnings {

using namespace runtime::literals;
using core::equals;
using core::is_blank;
using core::Record;
using core::write_category_by_prefix;
using core::write_contribution_sums;
using core::write_reporting_period;
using core::write_settlement_period;
using core::write_territorial_conditions;
using core::XmlWriter;

void write_szv4_pack_block(XmlWriter& xml, const Record& pch) {
  xml.open("ПачкаСЗВ4"_w);
  write_settlement_period(xml, pch["GOD"]);
  xml.open("ТарифСтраховыхВзносов"_w);
  write_category_by_prefix(xml, pch["KAT_ZL"], pch["DOP_T"]);
  xml.close("ТарифСтраховыхВзносов"_w);
  // The pack header carries no coefficient: the block is always written, without Коэффициент.
  write_territorial_conditions(xml, pch["TER_US"], "");
  std::string_view svd = pch["TYP_SVD"];
  if (is_blank(svd) || equals(svd, "ИСХД"_w))
    xml.write_element("ТипСведений"_w, "ИСХОДНАЯ"_w);
  else if (equals(svd, "ПЕНС"_w))
    xml.write_element("ТипСведений"_w, "ПЕНСИОННАЯ"_w);
  else
    xml.write_element("ТипСведений"_w, "");
  std::string_view korr = pch["KORR"];
  if (equals(korr, "КОРР"_w))
    xml.write_element("ВидКорректировки"_w, "КОРРЕКТИРУЮЩАЯ"_w);
  else if (equals(korr, "ОТМН"_w))
    xml.write_element("ВидКорректировки"_w, "ОТМЕНЯЮЩАЯ"_w);
  else
    xml.write_element("ВидКорректировки"_w, "");
  xml.line("<ИтогоСуммаВзносов>"_w);
  write_contribution_sums(xml, pch["SUM_STR"], pch["SUM_NAK"], pch["SUM_DOP"]);
  xml.line("</ИтогоСуммаВзносов>"_w);
  xml.close("ПачкаСЗВ4"_w);
}

void write_old_records_pack_block(XmlWriter& xml, const Record& pch) {
  xml.open("ПачкаСтарыхИС"_w);
  write_reporting_period(xml, pch["KW"], pch["GOD_P"]);
  xml.write_element("НачисленоВсего"_w, pch["SUM_ZAR"]);
  xml.write_element("НачисленоПоБольничным"_w, pch["SUM_BOLN"]);
  xml.close("ПачкаСтарыхИС"_w);
}

}  // namespace tolvex::earnings
