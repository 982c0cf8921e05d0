// SPDX-License-Identifier: MIT
// АДВ-1, the questionnaire of an insured person: one pack line per АНКЕТА_ЗЛ.
#pragma once

#include <memory>
#include <string>

#include "core/conversion/converter.h"
#include "core/format4/record.h"

namespace tolvex::person {

// clang-format off
inline constexpr core::FieldDef kAnk1Fields[] = {
    {"TYP_Z", 4},      {"NDOK_PCH", 3},   {"D_ZAP", 10},    {"FIO1", 40},     {"FIO2", 40},
    {"FIO3", 40},      {"POL", 1},        {"D_ROGD_TYP", 20}, {"D_ROGD", 10}, {"DAY_D_ROGD", 2},
    {"MES_D_ROGD", 2}, {"GOD_D_ROGD", 4}, {"M_ROGD_TYP", 8}, {"NAS_P", 33},   {"RAION", 33},
    {"REGION", 33},    {"STRANA", 33},    {"GRAGD", 20},    {"KOD_UDL", 14},  {"NAME_UDL", 80},
    {"SER1", 8},       {"SER2", 8},       {"N_UDL", 8},     {"D_UDL", 10},    {"KEM_UDL", 80},
    {"ADRES", 200},    {"ADRES_F", 200},  {"TELEF", 40}};
inline constexpr core::RecordLayout ANK1{"ANK1", kAnk1Fields};
// clang-format on

// Writes one АНКЕТА_ЗЛ from an ANK1 record; `number` is its НомерВпачке.
void write_questionnaire(core::XmlWriter& xml, const core::RecordOf<ANK1>& ank1, std::string_view number);

class Adv1Converter : public core::Converter {
 public:
  explicit Adv1Converter(const core::ConverterContext& context) : Converter(context) {}

  std::string_view window_title() const override;
  std::string_view journal_text() const override;
  core::ReadResult read_document(core::PackReader& pack) override;
  void write_document(core::XmlWriter& xml) override;
  std::vector<core::ViewPage> view_pages() const override;

  const core::RecordOf<ANK1>& record() const { return ank1_; }

 private:
  core::RecordOf<ANK1> ank1_;
  std::string number_;  // НомерВпачке of the current document
};

std::unique_ptr<core::Converter> make_load_adv1(const core::ConverterContext& context);

}  // namespace tolvex::person
