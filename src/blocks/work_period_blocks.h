// SPDX-License-Identifier: MIT
// The work-period blocks of the individual earnings records: category names by the whole code,
// territorial lines, calendar and hour-measured length of service, special working conditions,
// contract data, one row of monthly earnings, the long-service grounds, the ОсобенностиУчета of
// one period and the tree of all work periods (ВсеПериодыРаботы), which the earnings forms and
// the conversion records (СЗВ-К) share. The reporting period, the category by code prefix and
// the territorial-conditions block are in blocks/period_blocks.h.
//
// Every writer takes blank-padded text values, writes at the caller's depth and leaves
// `xml_depth` as it found it, also when it writes nothing.
#pragma once

#include <optional>
#include <string_view>

#include "blocks/period_blocks.h"
#include "core/format4/record.h"
#include "core/format7/xml_writer.h"

namespace tolvex::blocks {

// The name of a category by its whole code, trailing blanks ignored ("НРИВ" -> "ИНВАЛИД(0+0)";
// "по классификатору" for any other code, blank included).
std::string_view category_name_by_code(std::string_view category);

// КодКатегории, КодДополнительногоТарифа, НазваниеКатегории by the whole category code,
// НазваниеДополнительногоТарифа for "АВИА"; no wrapper. A caller without an additional tariff
// passes an empty one.
void write_category_by_code(core::XmlWriter& xml, std::string_view category, std::string_view additional_tariff);

// ОснованиеТУ when the ground is not blank and Коэффициент (whole field, trailing blanks kept)
// unless the coefficient is "0.00"; the caller writes the wrapper.
void write_territorial_lines(core::XmlWriter& xml, std::string_view ground, std::string_view coefficient);

// ВсеГоды ("0" for a blank years value), ВсеМесяцы, ВсеДни, or nothing when all three are zero
// as numbers; the caller writes the wrapper.
void write_years_months_days(core::XmlWriter& xml, std::string_view years, std::string_view months,
                             std::string_view days);

// ВыработкаВчасах with Часы and Минуты, or nothing when both are "0".
void write_hours_output(core::XmlWriter& xml, std::string_view hours, std::string_view minutes);

// ОсобыеУсловияТруда with ОснованиеОУТ and ПозицияСписка in upper case, or nothing when both
// are blank.
void write_special_conditions(core::XmlWriter& xml, std::string_view ground, std::string_view position);

// СведенияОдоговоре with Номер, ДатаЗаключения and the payment kind, or nothing when all three
// are blank.
void write_contract(core::XmlWriter& xml, std::string_view number, std::string_view date,
                    std::string_view payment_kind);

// СтрокаЗаработка: ТипСтроки, Месяц for a "МЕСЯЦ" row, НачисленоВсего, НачисленоПоБольничным.
void write_earnings_row(core::XmlWriter& xml, std::string_view row_type, std::string_view month, std::string_view total,
                        std::string_view temporary_disability);

// Whether a long-service ground is measured in hours and minutes (the whole code, trailing
// blanks ignored, is one of the hour-measured grounds).
bool is_hour_measured_ground(std::string_view ground);

// ВыслугаЛет: the ground (its tag carries a trailing blank), the hours or the calendar months
// and days, and ДоляСтавки unless the share is "0.00".
void write_long_service(core::XmlWriter& xml, std::string_view ground, std::string_view first, std::string_view second,
                        std::string_view share);

// --- ОсобенностиУчета ------------------------------------------------------------------------

// Where a record keeps the fields of its accounting features: offset and width of each.
struct FeaturePlaces {
  struct Place {
    std::size_t offset = 0, width = 0;  // width 0: the layout has no such field
  };
  Place territory, coefficient;                  // TER_US, TER_KOEF
  Place conditions, position;                    // USL_TR, KPS
  Place counted, counted_first, counted_second;  // SO, SO1, SO2
  Place childcare;                               // SO3
  Place service, service_first, service_second;  // VLET, VL1, VL2
  Place service_share;                           // VL3
  Place profession;                              // PROF, where the layout has one
};

// The places of the features in a record of the layout L, found when the program is compiled.
template <const core::RecordLayout& L>
inline constexpr FeaturePlaces kFeaturePlaces = [] {
  auto at = [](core::FieldOf<L> f) { return FeaturePlaces::Place{f.offset(), f.width()}; };
  FeaturePlaces p{at("TER_US"), at("TER_KOEF"), at("USL_TR"), at("KPS"), at("SO"),  at("SO1"), at("SO2"),
                  at("SO3"),    at("VLET"),     at("VL1"),    at("VL2"), at("VL3"), {}};
  if constexpr (core::has_field(L, "PROF")) p.profession = at("PROF");
  return p;
}();

// The features of one work period or additional line, as ОсобенностиУчета writes them: a view of
// the record that holds them (which must outlive it), each field blank padded.
class AccountingFeatures {
 public:
  AccountingFeatures(const char* record, const FeaturePlaces& places) : record_(record), places_(&places) {}

  std::string_view territory() const { return at(places_->territory); }
  std::string_view coefficient() const { return at(places_->coefficient); }
  std::string_view conditions() const { return at(places_->conditions); }
  std::string_view position() const { return at(places_->position); }
  std::string_view counted() const { return at(places_->counted); }
  std::string_view counted_first() const { return at(places_->counted_first); }
  std::string_view counted_second() const { return at(places_->counted_second); }
  std::string_view childcare() const { return at(places_->childcare); }
  std::string_view service() const { return at(places_->service); }
  std::string_view service_first() const { return at(places_->service_first); }
  std::string_view service_second() const { return at(places_->service_second); }
  std::string_view service_share() const { return at(places_->service_share); }
  std::string_view profession() const { return at(places_->profession); }

 private:
  std::string_view at(FeaturePlaces::Place p) const { return std::string_view(record_ + p.offset, p.width); }
  const char* record_;
  const FeaturePlaces* places_;
};

// The features of a record with the fields TER_US, TER_KOEF, USL_TR, KPS, SO, SO1, SO2, SO3,
// VLET, VL1, VL2, VL3, and PROF where it has one.
template <const core::RecordLayout& L>
AccountingFeatures accounting_features(const core::RecordOf<L>& r) {
  return AccountingFeatures(r.text().data(), kFeaturePlaces<L>);
}

// How the forms differ in ОсобенностиУчета.
struct AccountingFeaturesRules {
  // The territorial block is asked for also when both territorial fields are blank (it then
  // still leaves itself out for a blank ground with the coefficient "0.00").
  bool territory_when_blank;
  // ВыработкаКалендарная of the counted service also when its months and days are both "0".
  bool calendar_when_zero;
};

// ОсобенностиУчета: territorial conditions, special working conditions, the counted service
// (diving in hours, everything else in calendar months and days), childcare leave, long
// service, profession.
void write_accounting_features(core::XmlWriter& xml, const AccountingFeatures& features,
                               const AccountingFeaturesRules& rules);

// --- ВсеПериодыРаботы -----------------------------------------------------------------------

// One ПериодРаботы as its main line (ОсновнаяСтрока) gives it.
struct WorkPeriod {
  std::string_view number;                     // НомерСтроки
  std::string_view start, end;                 // the period's dates
  std::string_view additional;                 // the count of its additional lines (KOL_LGOT)
  std::optional<AccountingFeatures> features;  // none: the main line has no ОсобенностиУчета
};

// Where the tree finds the periods of one person by their running numbers.
class WorkPeriodSource {
 public:
  // Period `number`, or nothing when no period has that number.
  virtual std::optional<WorkPeriod> find_period(long long number) const = 0;
  // Additional line `line` of period `number`, or nothing.
  virtual std::optional<AccountingFeatures> find_additional(long long number, long long line) const = 0;

 protected:
  ~WorkPeriodSource() = default;
};

// When a period has ДополнительныеСтроки.
enum class AdditionalLines {
  when_counted,  // its count taken as a number is 1 or more
  unless_zero,   // its count is not the digit "0" (a blank count gives the block, empty)
};

struct WorkPeriodRules {
  AdditionalLines additional;
  AccountingFeaturesRules features;
};

// СЗВ-1 and СЗВ-3.
inline constexpr WorkPeriodRules kOldRecordsWorkPeriods{
    .additional = AdditionalLines::when_counted,
    .features = {.territory_when_blank = true, .calendar_when_zero = false}};
// СЗВ-4-1 and СЗВ-4-2.
inline constexpr WorkPeriodRules kSzv4WorkPeriods{
    .additional = AdditionalLines::unless_zero,
    .features = {.territory_when_blank = false, .calendar_when_zero = false}};
// СЗВ-К.
inline constexpr WorkPeriodRules kConversionWorkPeriods{
    .additional = AdditionalLines::when_counted,
    .features = {.territory_when_blank = true, .calendar_when_zero = true}};

// ВсеПериодыРаботы: Количество, then for each running number from 1 to `count` (taken as a
// number) the ПериодРаботы of the period that has it, with its additional lines; numbers no
// period has are passed over.
void write_work_periods(core::XmlWriter& xml, std::string_view count, const WorkPeriodSource& periods,
                        const WorkPeriodRules& rules);

}  // namespace tolvex::blocks
