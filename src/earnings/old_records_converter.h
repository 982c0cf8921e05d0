// SPDX-License-Identifier: MIT
// СЗВ-1 and СЗВ-3, the individual records of the old forms: a person line, the person's
// monthly accrual lines and work-period lines (each followed by its additional lines) become
// one СТАРЫЕ_ИС_СЗВ-1 or СТАРЫЕ_ИС_СЗВ-3 element. The two forms are one converter; what differs
// between them is the table `OldRecordsForm`.
#pragma once

#include <memory>
#include <string>

#include "core/conversion/converter.h"
#include "core/format4/record.h"
#include "core/format7/insurer_blocks.h"
#include "earnings/earnings_document.h"
#include "earnings/earnings_records.h"

namespace tolvex::earnings {

// clang-format off
// СЗВ-1 person line.
inline constexpr core::FieldDef kSzv1Fields[] = {
    {"TYP_Z", 4},     {"NDOK_PCH", 3},  {"TYP_F", 4},     {"STR_N", 14},    {"FIO1", 40},    {"FIO2", 40},
    {"FIO3", 40},     {"KW", 1},        {"GOD", 4},       {"DOGV_N", 20},   {"DOGV_D", 10},  {"VID_VYPL", 6},
    {"KAT_ZL", 4},    {"VALUTA", 4},    {"SUM_ZAR", 15},  {"SUM_VZN", 15},  {"SUM_NACH", 15}, {"SUM_BOLN", 15},
    {"DATA_ZAP", 10}, {"KOL_NACH", 2},  {"KOL_STAG", 2}};
inline constexpr core::RecordLayout SZV1{"SZV1", kSzv1Fields};

// СЗВ-3 person line: the СЗВ-1 fields with the additional tariff after the category.
inline constexpr core::FieldDef kSzv3Fields[] = {
    {"TYP_Z", 4},     {"NDOK_PCH", 3},  {"TYP_F", 4},     {"STR_N", 14},    {"FIO1", 40},     {"FIO2", 40},
    {"FIO3", 40},     {"KW", 1},        {"GOD", 4},       {"DOGV_N", 20},   {"DOGV_D", 10},   {"VID_VYPL", 6},
    {"KAT_ZL", 4},    {"DOP_T", 4},     {"VALUTA", 4},    {"SUM_ZAR", 15},  {"SUM_VZN", 15},  {"SUM_NACH", 15},
    {"SUM_BOLN", 15}, {"DATA_ZAP", 10}, {"KOL_NACH", 2},  {"KOL_STAG", 2}};
inline constexpr core::RecordLayout SZV3{"SZV3", kSzv3Fields};
// clang-format on

static_assert(SZV1.width() == 268 && SZV1.fields.size() == 21);
static_assert(SZV3.width() == 272 && SZV3.fields.size() == 22);

// What a form sets; the two rows, kSzv1Form and kSzv3Form, are in old_records_converter.cpp.
struct OldRecordsForm {
  const core::RecordLayout& person;  // SZV1, SZV3
  std::string_view element;          // "СТАРЫЕ_ИС_СЗВ-1"
  // The employer block: СЗВ-1 names the employer without the ОГРН code and the legal form;
  // СЗВ-3 writes the whole insurer block.
  core::InsurerLines employer;
  bool additional_tariff;         // СЗВ-3 carries DOP_T into the tariff block
  bool currency_always;           // СЗВ-1 writes Валюта also when blank
  std::string_view employer_sum;  // the element of SUM_ZAR
  std::string_view employee_sum;  // the element of SUM_VZN
  std::string_view journal_text;
  std::string_view window_title;
};

template <const OldRecordsForm& Form>
class OldRecordsConverter : public core::Converter {
  static_assert(Form.additional_tariff == core::has_field(Form.person, "DOP_T"),
                "the form carries an additional tariff exactly when its person line has DOP_T");

 public:
  explicit OldRecordsConverter(const core::ConverterContext& context) : Converter(context) {}

  std::string_view window_title() const override { return Form.window_title; }
  std::string_view journal_text() const override { return Form.journal_text; }
  core::RunRules rules() const override;
  core::ReadResult read_document(core::PackReader& pack) override;
  void write_document(core::XmlWriter& xml) override;
  std::vector<core::ViewPage> view_pages() const override;

 private:
  void write_header(core::XmlWriter& xml) const;
  void write_earnings(core::XmlWriter& xml) const;

  core::RecordOf<Form.person> person_;
  MonthTable months_;
  PeriodList periods_{PeriodNumbering::as_written};
  std::string number_;  // НомерВпачке of the current document
};

std::unique_ptr<core::Converter> make_load_szv1(const core::ConverterContext& context);
std::unique_ptr<core::Converter> make_load_szv3(const core::ConverterContext& context);

}  // namespace tolvex::earnings
