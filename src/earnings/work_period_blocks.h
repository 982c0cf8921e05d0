// The work-period blocks of the individual earnings records: category names by the whole code,
// territorial lines, calendar and hour-measured length of service, special working conditions,
// contract data, one row of monthly earnings and the long-service grounds. The reporting
// period, the category by code prefix and the territorial-conditions block live in the core
// (core/period_blocks.h) because the statements write them too.
//
// Every writer takes blank-padded text values, writes at the caller's depth and leaves
// `xml_depth` as it found it, also when it writes nothing.
#pragma once

#include <string_view>

#include "core/period_blocks.h"
#include "core/xml_writer.h"

namespace tolvex::earnings {

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
void write_earnings_row(core::XmlWriter& xml, std::string_view row_type, std::string_view month,
                        std::string_view total, std::string_view temporary_disability);

// Whether a long-service ground is measured in hours and minutes (the whole code, trailing
// blanks ignored, is one of the hour-measured grounds).
bool is_hour_measured_ground(std::string_view ground);

// ВыслугаЛет: the ground (its tag carries a trailing blank), the hours or the calendar months
// and days, and ДоляСтавки unless the share is "0.00".
void write_long_service(core::XmlWriter& xml, std::string_view ground, std::string_view first,
                        std::string_view second, std::string_view share);

}  // namespace tolvex::earnings
