// SPDX-License-Identifier: MIT
// АДВ-8, the notice of the death of an insured person sent by a civil registry office: one pack
// line per СВЕДЕНИЯ_О_СМЕРТИ.
#pragma once

#include <memory>
#include <string>

#include "core/conversion/converter.h"
#include "core/format4/record.h"

namespace tolvex::person {

// clang-format off
inline constexpr core::FieldDef kAdv8Fields[] = {
    {"TYP_Z", 4},      {"NDOK_PCH", 3},   {"FIO1", 40},      {"FIO2", 40},       {"FIO3", 40},
    {"POL", 1},        {"D_ROGD_TYP", 20}, {"D_ROGD", 10},   {"DAY_D_ROGD", 2},  {"MES_D_ROGD", 2},
    {"GOD_D_ROGD", 4}, {"M_ROGD_TYP", 8}, {"NAS_P", 33},     {"RAION", 33},      {"REGION", 33},
    {"STRANA", 33},    {"D_SMERTI", 10},  {"N_AKTA", 8},     {"D_AKTA", 10},     {"KOD_UDL", 14},
    {"NAME_UDL", 80},  {"SER1", 8},       {"SER2", 8},       {"N_UDL", 8},       {"D_UDL", 10},
    {"KEM_UDL", 80},   {"ADRES", 200},    {"ORG_RAB", 80},   {"STR_N", 14},      {"D_REG", 10},
    {"D_ZAP", 10}};
inline constexpr core::RecordLayout ADV8{"ADV8", kAdv8Fields};
// clang-format on

// ДатаСмертиОсобая with День, Месяц, Год when the day or the month is "00" or the year
// "0000", ДатаСмерти otherwise.
void write_death_date(core::XmlWriter& xml, std::string_view date_of_death);

// Writes one СВЕДЕНИЯ_О_СМЕРТИ; `registry_office` is the name of the office that sent the pack.
void write_death_notice(core::XmlWriter& xml, const core::RecordOf<ADV8>& adv8, std::string_view number,
                        std::string_view registry_office);

class Adv8Converter : public core::Converter {
 public:
  explicit Adv8Converter(const core::ConverterContext& context) : Converter(context) {}

  std::string_view window_title() const override;
  std::string_view journal_text() const override;
  core::ReadResult read_document(core::PackReader& pack) override;
  void write_document(core::XmlWriter& xml) override;
  std::vector<core::ViewPage> view_pages() const override;

 private:
  core::RecordOf<ADV8> adv8_;
  std::string number_;
};

std::unique_ptr<core::Converter> make_load_adv8(const core::ConverterContext& context);

}  // namespace tolvex::person
