// SPDX-License-Identifier: MIT
// АДВ-2 and АДВ-3, the applications for the exchange and for a duplicate of the insurance
// certificate: the person as the certificate records it, then the data that have changed. One
// pack line per document; an АДВ-3 line fills two records, ADV3 (fields 1 to 17) and ADV3N
// (fields 18 to 46).
#pragma once

#include <array>
#include <memory>
#include <string>

#include "core/conversion/converter.h"
#include "core/format4/record.h"

namespace tolvex::person {

// clang-format off
inline constexpr core::FieldDef kAdv2Fields[] = {
    {"TYP_Z", 4},       {"NDOK_PCH", 3},    {"D_ZAP", 10},      {"STR_N", 14},      {"FIO1", 40},
    {"FIO2", 40},       {"FIO3", 40},       {"FIO1_N", 40},     {"FIO2_N", 40},     {"FIO3_N", 40},
    {"POL", 1},         {"D_ROGD_TYP", 20}, {"D_ROGD", 10},     {"DAY_D_ROGD", 2},  {"MES_D_ROGD", 2},
    {"GOD_D_ROGD", 4},  {"M_ROGD_TYP", 8},  {"NAS_P", 33},      {"RAION", 33},      {"REGION", 33},
    {"STRANA", 33},     {"GRAGD", 20},      {"FIO2_OTM", 4},    {"M_ROGD_OTM", 4},  {"KOD_UDL", 14},
    {"NAME_UDL", 80},   {"SER1", 8},        {"SER2", 8},        {"N_UDL", 8},       {"D_UDL", 10},
    {"KEM_UDL", 80},    {"ADRES", 200},     {"ADRES_F", 200},   {"TELEF", 40}};
inline constexpr core::RecordLayout ADV2{"ADV2", kAdv2Fields};

inline constexpr core::FieldDef kAdv3Fields[] = {
    {"TYP_Z", 4},       {"NDOK_PCH", 3},    {"D_ZAP", 10},      {"FIO1", 40},       {"FIO2", 40},
    {"FIO3", 40},       {"POL", 1},         {"D_ROGD_TYP", 20}, {"D_ROGD", 10},     {"DAY_D_ROGD", 2},
    {"MES_D_ROGD", 2},  {"GOD_D_ROGD", 4},  {"M_ROGD_TYP", 8},  {"NAS_P", 33},      {"RAION", 33},
    {"REGION", 33},     {"STRANA", 33}};
inline constexpr core::RecordLayout ADV3{"ADV3", kAdv3Fields};

inline constexpr core::FieldDef kAdv3nFields[] = {
    {"FIO1", 40},       {"FIO2", 40},       {"FIO3", 40},       {"POL", 1},         {"D_ROGD_TYP", 20},
    {"D_ROGD", 10},     {"DAY_D_ROGD", 2},  {"MES_D_ROGD", 2},  {"GOD_D_ROGD", 4},  {"M_ROGD_TYP", 8},
    {"NAS_P", 33},      {"RAION", 33},      {"REGION", 33},     {"STRANA", 33},     {"GRAGD", 20},
    {"FIO2_OTM", 4},    {"M_ROGD_OTM", 4},  {"KOD_UDL", 14},    {"NAME_UDL", 80},   {"SER1", 8},
    {"SER2", 8},        {"N_UDL", 8},       {"D_UDL", 10},      {"KEM_UDL", 80},    {"ADRES", 200},
    {"ADRES_F", 200},   {"TELEF", 40},      {"STR_N", 14},      {"OTM_RBT", 10}};
inline constexpr core::RecordLayout ADV3N{"ADV3N", kAdv3nFields};

// The whole АДВ-3 line: the ADV3 fields followed by the ADV3N fields, so that the splitter
// fills both from one line.
inline constexpr auto kAdv3LineFields = [] {
  std::array<core::FieldDef, std::size(kAdv3Fields) + std::size(kAdv3nFields)> all{};
  std::size_t i = 0;
  for (const auto& f : kAdv3Fields) all[i++] = f;
  for (const auto& f : kAdv3nFields) all[i++] = f;
  return all;
}();
inline constexpr core::RecordLayout ADV3_LINE{"ADV3_LINE", kAdv3LineFields};
// clang-format on

// Splits the record of a whole АДВ-3 line into ADV3 and ADV3N.
void divide_adv3_line(const core::Record& line, core::Record& adv3, core::Record& adv3n);

void write_exchange_application(core::XmlWriter& xml, const core::RecordOf<ADV2>& adv2, std::string_view number);
void write_duplicate_application(core::XmlWriter& xml, const core::RecordOf<ADV3>& adv3,
                                 const core::RecordOf<ADV3N>& adv3n, std::string_view number);

class Adv2Converter : public core::Converter {
 public:
  explicit Adv2Converter(const core::ConverterContext& context) : Converter(context) {}

  std::string_view window_title() const override;
  std::string_view journal_text() const override;
  core::ReadResult read_document(core::PackReader& pack) override;
  void write_document(core::XmlWriter& xml) override;
  std::vector<core::ViewPage> view_pages() const override;

 private:
  core::RecordOf<ADV2> adv2_;
  std::string number_;
};

class Adv3Converter : public core::Converter {
 public:
  explicit Adv3Converter(const core::ConverterContext& context) : Converter(context) {}

  std::string_view window_title() const override;
  std::string_view journal_text() const override;
  core::ReadResult read_document(core::PackReader& pack) override;
  void write_document(core::XmlWriter& xml) override;
  std::vector<core::ViewPage> view_pages() const override;

 private:
  core::RecordOf<ADV3_LINE> line_;
  core::RecordOf<ADV3> adv3_;
  core::RecordOf<ADV3N> adv3n_;
  std::string number_;
};

std::unique_ptr<core::Converter> make_load_adv2(const core::ConverterContext& context);
std::unique_ptr<core::Converter> make_load_adv3(const core::ConverterContext& context);

}  // namespace tolvex::person
