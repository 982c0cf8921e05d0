// SPDX-License-Identifier: MIT
// The period blocks that both the earnings forms (with their pack-level blocks) and the
// statements write: the reporting period, the category lines by code prefix and the territorial
// conditions. The blocks of one work period are in blocks/work_period_blocks.h.
#pragma once

#include <string_view>

#include "core/format7/xml_writer.h"

namespace tolvex::blocks {

// ОтчетныйПериод with Квартал and Год, always.
void write_reporting_period(core::XmlWriter& xml, std::string_view quarter, std::string_view year);

// КодКатегории, КодДополнительногоТарифа, НазваниеКатегории by the first two letters of the
// category code, НазваниеДополнительногоТарифа for "АВИА"; no wrapper.
void write_category_by_prefix(core::XmlWriter& xml, std::string_view category, std::string_view additional_tariff);

// The name of a category by its first two letters ("НР" -> "НАЕМ/РАБОТНИК"; "по классификатору"
// for anything else).
std::string_view category_name_by_prefix(std::string_view category);

// The lines that name the additional tariff, shared by both category writers: its code when
// not blank, and, for "АВИА", its name.
void write_additional_tariff_code(core::XmlWriter& xml, std::string_view additional_tariff);
void write_additional_tariff_name(core::XmlWriter& xml, std::string_view additional_tariff);

// ТерриториальныеУсловия with ОснованиеТУ and Коэффициент (kept with its trailing blanks), or
// nothing when the ground is blank and the coefficient is "0.00".
void write_territorial_conditions(core::XmlWriter& xml, std::string_view ground, std::string_view coefficient);

}  // namespace tolvex::blocks
