// SPDX-License-Identifier: MIT
#include "earnings/pack_blocks.h"

#include "blocks/period_blocks.h"
#include "core/format4/information_type.h"
#include "core/format7/insurer_blocks.h"
#include "runtime/codepage.h"

namespace tolvex::earnings {

using namespace runtime::literals;
using Pch = core::RecordOf<core::PCH>;
using core::write_contribution_sums;
using core::write_settlement_period;
using core::XmlWriter;

void write_szv4_pack_block(XmlWriter& xml, const Pch& pch) {
  auto block = xml.block("ПачкаСЗВ4"_w);
  write_settlement_period(xml, pch["GOD"]);
  {
    auto tariff = xml.block("ТарифСтраховыхВзносов"_w);
    blocks::write_category_by_prefix(xml, pch["KAT_ZL"], pch["DOP_T"]);
  }
  // The pack header carries no coefficient: the block is always written, without Коэффициент.
  blocks::write_territorial_conditions(xml, pch["TER_US"], "");
  xml.write_element("ТипСведений"_w, core::information_word(pch["TYP_SVD"], core::kSzv4InformationType));
  xml.write_element("ВидКорректировки"_w, core::information_word(pch["KORR"], core::kSzv4CorrectionKind));
  xml.line("<ИтогоСуммаВзносов>"_w);
  write_contribution_sums(xml, pch["SUM_STR"], pch["SUM_NAK"], pch["SUM_DOP"]);
  xml.line("</ИтогоСуммаВзносов>"_w);
}

void write_old_records_pack_block(XmlWriter& xml, const Pch& pch) {
  auto block = xml.block("ПачкаСтарыхИС"_w);
  blocks::write_reporting_period(xml, pch["KW"], pch["GOD_P"]);
  xml.write_element("НачисленоВсего"_w, pch["SUM_ZAR"]);
  xml.write_element("НачисленоПоБольничным"_w, pch["SUM_BOLN"]);
}

}  // namespace tolvex::earnings
