// SPDX-License-Identifier: MIT
// The blocks that describe the insurer (the employer) or carry its contribution sums. Each
// writes at the caller's depth and leaves `xml_depth` as it found it.
#pragma once

#include <string_view>

#include "core/format4/pack.h"
#include "core/format4/record.h"
#include "core/format7/xml_writer.h"

namespace tolvex::core {

// Which lines of the insurer block a document carries beside the tax number, the name, the
// short name, the registration number and the department.
struct InsurerLines {
  // КодЕГРЮЛ or КодЕГРИП, and Форма, each when not blank.
  bool registration_and_form;
};

// The inventory's СоставительПачки and the employer of СЗВ-3, СЗВ-4-1 and СЗВ-4-2.
inline constexpr InsurerLines kInsurerInFull{.registration_and_form = true};
// The statements' own Страхователь (АДВ-10, АДВ-11) and the employer that СЗВ-1 names itself.
inline constexpr InsurerLines kInsurerWithoutRegistration{.registration_and_form = false};

// The insurer from the IST4 record, in this order: tax number, ОГРН code, legal form, name,
// short name, registration number, department; `lines` says which optional lines belong.
void write_insurer(XmlWriter& xml, const RecordOf<IST4>& ist4, const InsurerLines& lines = kInsurerInFull);

// НалоговыйНомер with ИНН and КПП (no КПП when the code is "0").
void write_tax_number(XmlWriter& xml, std::string_view inn, std::string_view kpp);

// Подразделение with its name and number, each when not blank.
void write_department(XmlWriter& xml, std::string_view name, std::string_view code);

// РасчетныйПериод with the year.
void write_settlement_period(XmlWriter& xml, std::string_view year);

// The lines inside a sums block, one level deeper than the caller (whose opening line stands
// at its own depth): Страховые, Накопительные, Дополнительные (left out when the additional sum
// is "0").
void write_contribution_sums(XmlWriter& xml, std::string_view insurance, std::string_view funded,
                             std::string_view additional);

// The ОГРН code is written as КодЕГРИП above this many characters, as КодЕГРЮЛ otherwise.
inline constexpr std::size_t kOgrnLegalEntityLength = 13;

}  // namespace tolvex::core
