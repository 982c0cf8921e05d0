// The blocks that describe the insurer (the employer) or carry its contribution sums. Each
// writes at the caller's depth and leaves `xml_depth` as it found it.
#pragma once

#include <string_view>

#include "core/record.h"
#include "core/xml_writer.h"

namespace tolvex::core {

// The insurer from the IST4 record: tax number, ОГРН code, legal form, name, short name,
// registration number, department.
void write_insurer(XmlWriter& xml, const Record& ist4);

// НалоговыйНомер with ИНН and КПП (no КПП when the code is "0").
void write_tax_number(XmlWriter& xml, std::string_view inn, std::string_view kpp);

// Подразделение with its name and number, each when not blank.
void write_department(XmlWriter& xml, std::string_view name, std::string_view code);

// РасчетныйПериод with the year.
void write_settlement_period(XmlWriter& xml, std::string_view year);

// The lines inside a sums block (the caller writes the wrapper): Страховые, Накопительные,
// Дополнительные (left out when the additional sum is "0").
void write_contribution_sums(XmlWriter& xml, std::string_view insurance, std::string_view funded,
                             std::string_view additional);

// The ОГРН code is written as КодЕГРИП above this many characters, as КодЕГРЮЛ otherwise.
inline constexpr std::size_t kOgrnLegalEntityLength = 13;

}  // namespace tolvex::core
