// СЗВ-4-1 and СЗВ-4-2, the individual records of the СЗВ-4 forms: one ИС_СЗВ-4-1 or ИС_СЗВ-4-2
// element per person. СЗВ-4-1 reads a person line with its work-period and additional lines;
// СЗВ-4-2 a single person line that carries at most one period. The information type, the
// correction kind and the tariff come from the pack record PCH.
#pragma once

#include <memory>
#include <string>

#include "core/converter.h"
#include "core/record.h"
#include "earnings/earnings_document.h"
#include "earnings/earnings_records.h"

namespace tolvex::earnings {

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

static_assert(SZV41.width() == 410 && SZV41.fields.size() == 17);
static_assert(SZV42.width() == 428 && SZV42.fields.size() == 18);

enum class Szv4Form { szv41, szv42 };

// ТипСведений by PCH:TYP_SVD: ИСХОДНАЯ for "ИСХД" or blank, ПЕНСИОННАЯ for "ПЕНС", empty otherwise.
std::string_view szv4_information_type(std::string_view typ_svd);
// ВидКорректировки by PCH:KORR: КОРРЕКТИРУЮЩАЯ, ОТМЕНЯЮЩАЯ, or empty for anything else.
std::string_view szv4_correction_kind(std::string_view korr);

class Szv4Converter : public core::Converter {
 public:
  Szv4Converter(const core::ConverterContext& context, Szv4Form form);

  std::string_view window_title() const override;
  std::string_view journal_text() const override;
  core::RunRules rules() const override;
  core::ReadResult read_document(core::PackReader& pack) override;
  void write_document(core::XmlWriter& xml) override;
  std::vector<core::ViewPage> view_pages() const override;

 private:
  void write_work_periods(core::XmlWriter& xml) const;
  void write_single_period(core::XmlWriter& xml) const;

  Szv4Form form_;
  core::Record person_;
  PeriodList periods_{PeriodNumbering::plain_decimal};
  std::string number_;  // НомерВпачке of the current document
};

std::unique_ptr<core::Converter> make_load_szv41(const core::ConverterContext& context);
std::unique_ptr<core::Converter> make_load_szv42(const core::ConverterContext& context);

}  // namespace tolvex::earnings
