// SPDX-License-Identifier: MIT
// The summary statement АДВ-10: one ADV10 line followed by KOL_MES month lines (MES10) becomes
// one СВОДНАЯ_ВЕДОМОСТЬ element with a row per month and a total row.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/conversion/converter.h"

namespace tolvex::statements {

// clang-format off
inline constexpr core::FieldDef kAdv10Fields[] = {
    {"TYP_Z", 4},     {"NDOK_PCH", 3}, {"KOL_PCH", 4},   {"KOL_ZL", 8},   {"DOLG", 15},
    {"KAT_PL", 4},    {"KW", 1},       {"GOD", 4},       {"VALUT", 4},    {"SUM_ZAR", 15},
    {"SUM_BOLN", 15}, {"SUM_VZNOS", 15}, {"SUM_UPL", 15}, {"D_ZAP", 10},   {"KOL_MES", 2}};
inline constexpr core::RecordLayout ADV10{"ADV10", kAdv10Fields};

inline constexpr core::FieldDef kMes10Fields[] = {{"TYP_Z", 4},     {"N_MES", 2},  {"KOL_RAB", 6},
                                                  {"SUM_ZAR", 15},  {"SUM_BOLN", 15}, {"REGRES", 1},
                                                  {"SUM_VZN", 15},  {"SUM_UPL", 15}};
inline constexpr core::RecordLayout MES10{"MES10", kMes10Fields};
// clang-format on

class Adv10Converter : public core::Converter {
 public:
  explicit Adv10Converter(const core::ConverterContext& ctx) : Converter(ctx) {}

  std::string_view window_title() const override;
  std::string_view journal_text() const override;
  core::RunRules rules() const override;

  core::ReadResult read_document(core::PackReader& pack) override;
  void write_document(core::XmlWriter& xml) override;
  std::vector<core::ViewPage> view_pages() const override;

  const core::RecordOf<ADV10>& document() const { return adv10_; }
  // The month table after reading: the month lines and the fillers of the missing months,
  // in month order.
  const std::vector<core::RecordOf<MES10>>& months() const { return mes10_; }

 private:
  void write_row(core::XmlWriter& xml, const core::RecordOf<MES10>* month) const;

  core::RecordOf<ADV10> adv10_;
  std::vector<core::RecordOf<MES10>> mes10_;
  std::string number_;  // НомерВпачке of the document written last
};

std::unique_ptr<core::Converter> make_load_adv10(const core::ConverterContext& ctx);

}  // namespace tolvex::statements
