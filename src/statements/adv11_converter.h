// SPDX-License-Identifier: MIT
// The payment statement АДВ-11: one ADV11 line followed by KOL_DOLG debt lines, KOL_UPL
// payment lines and KOL_OST end-balance lines becomes one ВЕДОМОСТЬ_УПЛАТЫ element. A pack
// holds exactly one statement.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/conversion/converter.h"

namespace tolvex::statements {

// clang-format off
// The statement in record order; TYP_ADV11 is derived, not read.
inline constexpr core::FieldDef kAdv11Fields[] = {
    {"TYP_Z", 4},     {"TYP_ADV11", 20}, {"NDOK_PCH", 3},  {"GOD", 4},       {"D_ADV11", 10},
    {"KOL_PCH", 4},   {"KOL_ZL", 8},     {"KAT_PL", 4},    {"DOP_T", 4},     {"REGRES", 1},
    {"SUM_STR", 15},  {"SUM_NAK", 15},   {"SUM_DOP", 15},  {"DOLG_STR", 15}, {"DOLG_NAK", 15},
    {"DOLG_DOP", 15}, {"UPL_STR", 15},   {"UPL_NAK", 15},  {"UPL_DOP", 15},  {"END_STR", 15},
    {"END_NAK", 15},  {"END_DOP", 15},   {"D_ZAP", 10},    {"KOL_DOLG", 2},  {"KOL_UPL", 2},
    {"KOL_OST", 2}};
inline constexpr core::RecordLayout ADV11{"ADV11", kAdv11Fields};

// The statement line as the pack orders its 25 fields.
inline constexpr core::FieldDef kAdv11LineFields[] = {
    {"TYP_Z", 4},     {"NDOK_PCH", 3},  {"GOD", 4},       {"D_ADV11", 10},  {"KOL_PCH", 4},
    {"KOL_ZL", 8},    {"KAT_PL", 4},    {"DOP_T", 4},     {"REGRES", 1},    {"SUM_STR", 15},
    {"SUM_NAK", 15},  {"SUM_DOP", 15},  {"DOLG_STR", 15}, {"DOLG_NAK", 15}, {"DOLG_DOP", 15},
    {"UPL_STR", 15},  {"UPL_NAK", 15},  {"UPL_DOP", 15},  {"END_STR", 15},  {"END_NAK", 15},
    {"END_DOP", 15},  {"D_ZAP", 10},    {"KOL_DOLG", 2},  {"KOL_UPL", 2},   {"KOL_OST", 2}};
inline constexpr core::RecordLayout ADV11_LINE{"ADV11", kAdv11LineFields};

// Debt at the start of the year, payments, debt at the end: one layout, own field names.
inline constexpr core::FieldDef kDolgFields[] = {
    {"TYP_Z", 4}, {"GOD_P", 4}, {"N_STR", 15}, {"N_NAK", 15}, {"N_DOP", 15}};
inline constexpr core::RecordLayout DOLG{"DOLG", kDolgFields};
inline constexpr core::FieldDef kUplFields[] = {
    {"TYP_Z", 4}, {"GOD_P", 4}, {"UPL_STR", 15}, {"UPL_NAK", 15}, {"UPL_DOP", 15}};
inline constexpr core::RecordLayout UPL{"UPL", kUplFields};
inline constexpr core::RecordLayout OST{"OST", kUplFields};
// clang-format on

class Adv11Converter : public core::Converter {
 public:
  explicit Adv11Converter(const core::ConverterContext& ctx) : Converter(ctx) {}

  std::string_view window_title() const override;
  std::string_view journal_text() const override;
  core::RunRules rules() const override;

  core::ReadResult read_document(core::PackReader& pack) override;
  void write_document(core::XmlWriter& xml) override;
  std::vector<core::ViewPage> view_pages() const override;

  const core::RecordOf<ADV11>& document() const { return adv11_; }

 private:
  core::RecordOf<ADV11> adv11_;
  std::vector<core::RecordOf<DOLG>> dolg_;
  std::vector<core::RecordOf<UPL>> upl_;
  std::vector<core::RecordOf<OST>> ost_;
  std::string number_;
};

std::unique_ptr<core::Converter> make_load_adv11(const core::ConverterContext& ctx);

}  // namespace tolvex::statements
