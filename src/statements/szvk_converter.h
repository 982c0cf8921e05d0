// SPDX-License-Identifier: MIT
// The conversion records СЗВ-К: a tree of pack lines per insured person (the SZVK line, its
// work records with their periods and the periods' benefit lines, then the special-service
// lines) becomes one КОНВЕРТАЦИЯ element. The tree is read into lists first; the element is
// written by walking the running numbers of work records, periods and benefits.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/conversion/converter.h"

namespace tolvex::statements {

// clang-format off
inline constexpr core::FieldDef kSzvkFields[] = {
    {"TYP_Z", 4},      {"NDOK_PCH", 3},   {"TYP_F", 4},      {"STR_N", 14},     {"FIO1", 40},
    {"FIO2", 40},      {"FIO3", 40},      {"D_ROGD_TYP", 20}, {"D_ROGD", 10},   {"DAY_D_ROGD", 2},
    {"MES_D_ROGD", 2}, {"GOD_D_ROGD", 4}, {"TER_US", 3},     {"TER_KOEF", 4},   {"TSTAG_GOD", 2},
    {"TSTAG_MES", 2},  {"TSTAG_DAY", 2},  {"DATA_ZAP", 10},  {"KOL_RABOT", 3},  {"KOL_TERUSL", 2},
    {"KOL_USLTR", 2},  {"KOL_VSLLT", 2}};
inline constexpr core::RecordLayout SZVK{"SZVK", kSzvkFields};

// A work record; PERIOD_N to DAY are for the window only.
inline constexpr core::FieldDef kRab1Fields[] = {
    {"TYP_Z", 4},     {"N_RAB", 3},     {"KOD_DEJT", 10}, {"KOL_STAG", 2}, {"PERIOD_N", 10},
    {"PERIOD_K", 10}, {"GOD", 3},       {"MES", 2},       {"DAY", 2},      {"NAME_ORG", 100}};
inline constexpr core::RecordLayout RAB1{"RAB1", kRab1Fields};
// The work-record line as the pack orders its fields.
inline constexpr core::FieldDef kRab1LineFields[] = {
    {"TYP_Z", 4}, {"N_RAB", 3}, {"NAME_ORG", 100}, {"KOD_DEJT", 10}, {"KOL_STAG", 2}};
inline constexpr core::RecordLayout RAB1_LINE{"RAB1", kRab1LineFields};

// A period row or a benefit row.
inline constexpr core::FieldDef kStg1Fields[] = {
    {"TYP_Z", 4},    {"N_RAB", 3},  {"N_PERIOD", 2}, {"N_LGT", 2},  {"PERIOD_N", 10}, {"PERIOD_K", 10},
    {"TER_US", 3},   {"TER_KOEF", 4}, {"USL_TR", 8}, {"KPS", 20},   {"SO", 7},        {"SO0", 2},
    {"SO1", 2},      {"SO2", 2},    {"SO3", 9},      {"VLET", 8},   {"VL1", 4},       {"VL2", 4},
    {"VL3", 6},      {"PROF", 100}, {"KOL_LGOT", 2}};
inline constexpr core::RecordLayout STG1{"STG1", kStg1Fields};
// The period line as the pack orders its 19 fields.
inline constexpr core::FieldDef kStg1LineFields[] = {
    {"TYP_Z", 4},  {"N_PERIOD", 2}, {"PERIOD_N", 10}, {"PERIOD_K", 10}, {"USL_TR", 8},  {"KPS", 20},
    {"SO", 7},     {"SO0", 2},      {"SO1", 2},       {"SO2", 2},       {"SO3", 9},     {"VLET", 8},
    {"VL1", 4},    {"VL2", 4},      {"VL3", 6},       {"TER_US", 3},    {"TER_KOEF", 4}, {"PROF", 100},
    {"KOL_LGOT", 2}};
inline constexpr core::RecordLayout STG1_LINE{"STG1", kStg1LineFields};

// A benefit line, record order as the pack's.
inline constexpr core::FieldDef kLgt1Fields[] = {
    {"TYP_Z", 4},  {"N_PERIOD", 2}, {"N_LGT", 2}, {"USL_TR", 8}, {"KPS", 20}, {"SO", 7},
    {"SO0", 2},    {"SO1", 2},      {"SO2", 2},   {"SO3", 9},    {"VLET", 8}, {"VL1", 4},
    {"VL2", 4},    {"VL3", 6},      {"TER_US", 3}, {"TER_KOEF", 4}, {"PROF", 100}};
inline constexpr core::RecordLayout LGT1{"LGT1", kLgt1Fields};

// The special-service lines: territorial conditions, working conditions, long service.
inline constexpr core::FieldDef kTerusFields[] = {{"TYP_Z", 4}, {"N_TERUS", 3}, {"TER_USL", 3},
                                                  {"GOD", 3},   {"MES", 2},     {"DAY", 2}};
inline constexpr core::RecordLayout TERUS{"TERUS", kTerusFields};
inline constexpr core::FieldDef kUstrFields[] = {{"TYP_Z", 4}, {"N_USTR", 3}, {"USL_TR", 8},
                                                 {"GOD", 3},   {"MES", 2},    {"DAY", 2}};
inline constexpr core::RecordLayout USTR{"USTR", kUstrFields};
inline constexpr core::FieldDef kVsltFields[] = {{"TYP_Z", 4}, {"N_VSLT", 3}, {"VSL_LET", 8},
                                                 {"GOD", 3},   {"MES", 2},    {"DAY", 2}};
inline constexpr core::RecordLayout VSLT{"VSLT", kVsltFields};

// The window's lists: calendar periods and special-service lines.
inline constexpr core::FieldDef kKstgFields[] = {{"NN", 3},       {"TYP_Z", 4}, {"PERIOD_N", 10},
                                                 {"PERIOD_K", 10}, {"GOD", 3},  {"MES", 2}, {"DAY", 2}};
inline constexpr core::RecordLayout KSTG{"KSTG", kKstgFields};
inline constexpr core::FieldDef kOstgFields[] = {{"NN", 3},  {"TYP_Z", 4}, {"USL", 11}, {"KOD_USL", 8},
                                                 {"GOD", 3}, {"MES", 2},   {"DAY", 2}};
inline constexpr core::RecordLayout OSTG{"OSTG", kOstgFields};
// clang-format on

class SzvkConverter : public core::Converter {
 public:
  explicit SzvkConverter(const core::ConverterContext& ctx) : Converter(ctx) {}

  std::string_view window_title() const override;
  std::string_view journal_text() const override;
  core::RunRules rules() const override;

  core::ReadResult read_document(core::PackReader& pack) override;
  void write_document(core::XmlWriter& xml) override;
  std::vector<core::ViewPage> view_pages() const override;

 private:
  // An STG1 entry and whether it came from a benefit line.
  struct Row {
    core::RecordOf<STG1> rec;
    bool benefit;
  };
  class WorkPeriods;
  runtime::Error read_periods(core::PackReader& pack, core::RecordOf<RAB1>& work);
  template <const core::RecordLayout& L>
  runtime::Error read_special(core::PackReader& pack, std::string_view count, std::vector<core::RecordOf<L>>& list);

  const core::RecordOf<RAB1>* find_work(long long n) const;
  const core::RecordOf<STG1>* find_period(const core::RecordOf<RAB1>& work, long long n) const;
  const core::RecordOf<STG1>* find_benefit(const core::RecordOf<RAB1>& work, long long period, long long n) const;

  void write_work(core::XmlWriter& xml, const core::RecordOf<RAB1>& work) const;

  core::RecordOf<SZVK> szvk_;
  std::vector<core::RecordOf<RAB1>> rab1_;
  std::vector<Row> stg1_;
  std::vector<core::RecordOf<TERUS>> terus_;
  std::vector<core::RecordOf<USTR>> ustr_;
  std::vector<core::RecordOf<VSLT>> vslt_;
  std::vector<core::RecordOf<KSTG>> kstg_;
  std::vector<core::RecordOf<OSTG>> ostg_;
  std::string number_;
};

std::unique_ptr<core::Converter> make_load_szv_k(const core::ConverterContext& ctx);

}  // namespace tolvex::statements
