// SPDX-License-Identifier: MIT
// The work-period blocks that both the earnings forms (with their pack-level blocks) and the
// statements write: the reporting period, the category lines by code prefix and the territorial
// conditions. The other work-period blocks live with the earnings converters.
#pragma once

#include <string_view>

#include "core/xml_writer.h"

namespace tolvex::core {

// ОтчетныйПериод with Квартал and Год, always.
void write_reporting_period(XmlWriter& xml, std::string_view quarter, std::string_view year);

// КодКатегории, КодДополнительногоТарифа, НазваниеКатегории by the first two letters of the
// category code, НазваниеДополнительногоТарифа for "АВИА"; no wrapper.
void write_category_by_prefix(XmlWriter& xml, std::string_view category, std::string_view additional_tariff);

// The name of a category by its first two letters ("НР" -> "НАЕМ/РАБОТНИК"; "по классификатору"
// for anything else).
std::string_view category_name_by_prefix(std::string_view category);

// The lines that name the additional tariff, shared by both category writers: its code when
// not blank, and, for "АВИА", its name.
void write_additional_tariff_code(XmlWriter& xml, std::string_view additional_tariff);
void write_additional_tariff_name(XmlWriter& xml, std::string_view additional_tariff);

// ТерриториальныеУсловия with ОснованиеТУ and Коэффициент (kept with its trailing blanks), or
// nothing when the ground is blank and the coefficient is "0.00".
void write_territorial_conditions(XmlWriter& xml, std::string_view ground, std::string_view coefficient);

}  // namespace tolvex::core
