// SPDX-License-Identifier: MIT
// СЗВ-4-1 and СЗВ-4-2, the individual records of the СЗВ-4 forms: one ИС_СЗВ-4-1 or ИС_СЗВ-4-2
// element per person. СЗВ-4-1 reads a person line with its work-period and additional lines;
// СЗВ-4-2 a single person line that carries at most one period. The information type, the
// correction kind and the tariff come from the pack record PCH. The two forms are one converter;
// what differs between them is the table `Szv4Form`.
#pragma once

#include <memory>
#include <string>

#include "core/conversion/converter.h"
#include "core/format4/record.h"
#include "earnings/earnings_document.h"
#include "earnings/earnings_records.h"

namespace tolvex::earnings {

// clang-format off
// СЗВ-4-1 person line.
inline constexpr core::FieldDef kSzv41Fields[] = {
    {"TYP_Z", 4},    {"NDOK_PCH", 3},  {"STR_N", 14},    {"FIO1", 40},    {"FIO2", 40},     {"FIO3", 40},
    {"GOD_P", 4},    {"ADRES_I", 200}, {"SUM_STR", 15},  {"SUM_NAK", 15}, {"SUM_DOP", 15},  {"M_BOLN", 2},
    {"D_BOLN", 2},   {"M_OTP_BZ", 2},  {"D_OTP_BZ", 2},  {"DATA_ZAP", 10}, {"KOL_STAG", 2}};
inline constexpr core::RecordLayout SZV41{"SZV41", kSzv41Fields};

// СЗВ-4-2 person line: at most one work period in its own fields, no period lines.
inline constexpr core::FieldDef kSzv42Fields[] = {
    {"TYP_Z", 4},     {"NDOK_PCH", 3},  {"STR_N", 14},   {"FIO1", 40},     {"FIO2", 40},     {"FIO3", 40},
    {"GOD_P", 4},     {"ADRES_I", 200}, {"SUM_STR", 15}, {"SUM_NAK", 15},  {"SUM_DOP", 15},  {"PERIOD_N", 10},
    {"PERIOD_K", 10}, {"M_BOLN", 2},    {"D_BOLN", 2},   {"M_OTP_BZ", 2},  {"D_OTP_BZ", 2},  {"DATA_ZAP", 10}};
inline constexpr core::RecordLayout SZV42{"SZV42", kSzv42Fields};
// clang-format on

static_assert(SZV41.width() == 410 && SZV41.fields.size() == 17);
static_assert(SZV42.width() == 428 && SZV42.fields.size() == 18);

// What a form sets; the two rows, kSzv41Form and kSzv42Form, are in szv4_converter.cpp.
struct Szv4Form {
  const core::RecordLayout& person;  // SZV41, SZV42
  std::string_view window_title;
  std::string_view journal_text;
  std::string_view element;    // "ИС_СЗВ-4-1"
  std::string_view form_name;  // ВидФормы, "СЗВ-4-1"
  core::RunRules rules;
  // The person line is followed by its work-period lines (СЗВ-4-1); otherwise it carries its
  // one period in PERIOD_N and PERIOD_K (СЗВ-4-2).
  bool period_lines;
  // ВидКорректировки is written also when the pack gives no correction kind.
  bool correction_always;
  // НачисленоВзносовОсновных is left out when all three sums equal this: "0" or blank.
  std::string_view sums_left_out;
};

template <const Szv4Form& Form>
class Szv4Converter : public core::Converter {
 public:
  explicit Szv4Converter(const core::ConverterContext& context) : Converter(context) {}

  std::string_view window_title() const override { return Form.window_title; }
  std::string_view journal_text() const override { return Form.journal_text; }
  core::RunRules rules() const override { return Form.rules; }
  core::ReadResult read_document(core::PackReader& pack) override;
  void write_document(core::XmlWriter& xml) override;
  std::vector<core::ViewPage> view_pages() const override;

 private:
  core::RecordOf<Form.person> person_;
  PeriodList periods_{PeriodNumbering::plain_decimal};
  std::string number_;  // НомерВпачке of the current document
};

std::unique_ptr<core::Converter> make_load_szv41(const core::ConverterContext& context);
std::unique_ptr<core::Converter> make_load_szv42(const core::ConverterContext& context);

}  // namespace tolvex::earnings
