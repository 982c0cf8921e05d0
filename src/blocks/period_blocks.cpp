// SPDX-License-Identifier: MIT
#include "blocks/period_blocks.h"

#include "core/format4/record.h"
#include "runtime/codepage.h"

namespace tolvex::blocks {

using namespace runtime::literals;
using core::equals;
using core::is_blank;
using core::XmlWriter;

void write_reporting_period(XmlWriter& xml, std::string_view quarter, std::string_view year) {
  auto block = xml.block("ОтчетныйПериод"_w);
  xml.write_element("Квартал"_w, quarter);
  xml.write_element("Год"_w, year);
}

std::string_view category_name_by_prefix(std::string_view category) {
  struct Row {
    std::string_view prefix, name;
  };
  static constexpr Row kTableA[] = {
      {"НР"_w, "НАЕМ/РАБОТНИК"_w},   {"СХ"_w, "С/Х ОРГАНИЗАЦИЯ"_w}, {"СД"_w, "СТАЖ/ДОБРОВ/ПРАВООТН"_w},
      {"ДП"_w, "ДОБРОВ/ПРАВООТН"_w}, {"БЕ"_w, "БЕЗРАБОТНЫЙ"_w},
  };
  std::string_view first_two = category.substr(0, 2);
  for (const auto& r : kTableA)
    if (first_two == r.prefix) return r.name;
  return "по классификатору"_w;
}

void write_additional_tariff_code(XmlWriter& xml, std::string_view t) {
  if (!is_blank(t)) xml.write_element("КодДополнительногоТарифа"_w, t);
}

void write_additional_tariff_name(XmlWriter& xml, std::string_view t) {
  if (equals(t, "АВИА"_w)) xml.write_element("НазваниеДополнительногоТарифа"_w, "ЧЛЕН ЛЭВС"_w);
}

void write_category_by_prefix(XmlWriter& xml, std::string_view k, std::string_view t) {
  xml.write_element("КодКатегории"_w, k);
  write_additional_tariff_code(xml, t);
  xml.write_element("НазваниеКатегории"_w, category_name_by_prefix(k));
  write_additional_tariff_name(xml, t);
}

void write_territorial_conditions(XmlWriter& xml, std::string_view g, std::string_view c) {
  if (is_blank(g) && equals(c, "0.00")) return;
  auto block = xml.block("ТерриториальныеУсловия"_w);
  xml.write_element("ОснованиеТУ"_w, g);
  if (!is_blank(c)) xml.write_element_untrimmed("Коэффициент"_w, c);
}

}  // namespace tolvex::blocks
