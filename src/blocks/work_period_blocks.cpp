// SPDX-License-Identifier: MIT
#include "blocks/work_period_blocks.h"

#include <string>

#include "core/format4/record.h"
#include "runtime/codepage.h"

namespace tolvex::blocks {

using namespace runtime::literals;
using core::equals;
using core::is_blank;

namespace {

struct CategoryRow {
  std::string_view code, name;
};

// Category names by the whole code; tried in order, the first match wins.
constexpr CategoryRow kCategoriesByCode[] = {
    {"ИД"_w, "ИНД/ДОГОВОР"_w},        {"ДС"_w, "ДОГОВОР/СХ"_w},       {"АУ"_w, "ЧАСТНЫЙ АУДИТОР"_w},
    {"ИПИВ"_w, "ИНД/ИНВАЛИД(0+0)"_w}, {"АВИА"_w, "ЧЛЕН ЛЭВС"_w},      {"АВСХ"_w, "ЧЛЕН ЛЭВС С/Х"_w},
    {"АВОВ"_w, "ЧЛЕН ЛЭВС ОВ"_w},     {"СХ"_w, "С/Х ОРГАНИЗАЦИЯ"_w},  {"НТ"_w, "ЧАСТНЫЙ НОТАРИУС"_w},
    {"НР"_w, "НАЕМ/РАБОТНИК"_w},      {"НРИВ"_w, "ИНВАЛИД(0+0)"_w},   {"НРИН"_w, "ИНВАЛИД(28+0)"_w},
    {"ФХ"_w, "ЧЛЕН ФЕРМ/ХОЗ"_w},      {"АД"_w, "АДВОКАТ"_w},          {"СХИН"_w, "С/Х ПРЕДПРИЯТИЕ/ИНВ"_w},
    {"ИП"_w, "ИНД/ПРЕДПРИН"_w},       {"НРЕД"_w, "НАЕМНЫЙ/ЕДИНЫЙ"_w}, {"ИПЕД"_w, "ИНД/ЕДИНЫЙ"_w},
    {"ОВ"_w, "ОСОБЫЕ ВЫПЛАТЫ"_w},     {"БЕЗР"_w, "БЕЗРАБОТНЫЙ"_w},
};

// Long-service grounds whose amounts are hours and minutes; every other ground is calendar.
constexpr std::string_view kHourMeasuredGrounds[] = {
    "28-ПД"_w,   "28-ПДРК"_w, "ЗП80ПД"_w, "ЗП80РК"_w,   "ИНСПЕКТ"_w, "ИСПКЛС1"_w, "ИТСИСП"_w,  "ИТСМАВ"_w,  "ЛЕТИСП"_w,
    "ОПЫТИСП"_w, "САМОЛЕТ"_w, "СПЕЦАВ"_w, "РЕАКТИВН"_w, "НОРМСП"_w,  "28-ГД"_w,   "28-ГДРХ"_w, "28-СМ"_w,   "28-СМХР"_w,
    "ВЫСШПИЛ"_w, "ЗП81ГД"_w,  "ЛЕТРАБ"_w, "НОРМАПР"_w,  "СПАСАВ"_w,  "УЧЛЕТ"_w,   "ХИРУРГД"_w, "ХИРУРСМ"_w,
};

}  // namespace

std::string_view category_name_by_code(std::string_view category) {
  for (const auto& row : kCategoriesByCode)
    if (equals(category, row.code)) return row.name;
  return "по классификатору"_w;
}

void write_category_by_code(core::XmlWriter& xml, std::string_view k, std::string_view t) {
  xml.write_element("КодКатегории"_w, k);
  write_additional_tariff_code(xml, t);
  xml.write_element("НазваниеКатегории"_w, category_name_by_code(k));
  write_additional_tariff_name(xml, t);
}

void write_territorial_lines(core::XmlWriter& xml, std::string_view g, std::string_view c) {
  if (!is_blank(g)) xml.write_element("ОснованиеТУ"_w, g);
  if (!equals(c, "0.00")) xml.write_element_untrimmed("Коэффициент"_w, c);
}

void write_years_months_days(core::XmlWriter& xml, std::string_view y, std::string_view m, std::string_view d) {
  if (core::as_number(y) == 0 && core::as_number(m) == 0 && core::as_number(d) == 0) return;
  xml.write_element("ВсеГоды"_w, is_blank(y) ? std::string_view("0") : y);
  xml.write_element("ВсеМесяцы"_w, m);
  xml.write_element("ВсеДни"_w, d);
}

void write_hours_output(core::XmlWriter& xml, std::string_view h, std::string_view n) {
  if (equals(h, "0") && equals(n, "0")) return;
  auto block = xml.block("ВыработкаВчасах"_w);
  xml.write_element("Часы"_w, h);
  xml.write_element("Минуты"_w, n);
}

void write_special_conditions(core::XmlWriter& xml, std::string_view g, std::string_view p) {
  if (is_blank(g) && is_blank(p)) return;
  auto block = xml.block("ОсобыеУсловияТруда"_w);
  xml.write_element("ОснованиеОУТ"_w, g);
  xml.write_upper_element("ПозицияСписка"_w, p);
}

void write_contract(core::XmlWriter& xml, std::string_view r, std::string_view s, std::string_view v) {
  if (is_blank(r) && is_blank(s) && is_blank(v)) return;
  auto block = xml.block("СведенияОдоговоре"_w);
  xml.write_element("Номер"_w, r);
  xml.write_date_element("ДатаЗаключения"_w, s);
  if (!is_blank(v)) {
    xml.write_element("КодВидаВыплаты"_w, v);
    xml.write_element("НазваниеВидаВыплаты"_w, {});
  }
}

void write_earnings_row(core::XmlWriter& xml, std::string_view w, std::string_view m, std::string_view a,
                        std::string_view b) {
  auto block = xml.block("СтрокаЗаработка"_w);
  xml.write_element("ТипСтроки"_w, w);
  if (equals(w, "МЕСЯЦ"_w)) xml.write_element("Месяц"_w, m);
  xml.write_element("НачисленоВсего"_w, a);
  xml.write_element("НачисленоПоБольничным"_w, b);
}

bool is_hour_measured_ground(std::string_view ground) {
  for (std::string_view code : kHourMeasuredGrounds)
    if (equals(ground, code)) return true;
  return false;
}

void write_long_service(core::XmlWriter& xml, std::string_view g, std::string_view x, std::string_view z,
                        std::string_view r) {
  auto block = xml.block("ВыслугаЛет"_w);
  // The ground's tag is written with a trailing blank in both the opening and the closing tag,
  // as the receiving side expects it.
  xml.write_element("ОснованиеВЛ "_w, g);
  if (is_hour_measured_ground(g)) {
    write_hours_output(xml, x, z);
  } else if (!(equals(x, "0") && equals(z, "0"))) {
    auto calendar = xml.block("ВыработкаКалендарная"_w);
    write_years_months_days(xml, {}, x, z);
  }
  if (!equals(r, "0.00")) xml.write_element("ДоляСтавки"_w, r);
}

void write_accounting_features(core::XmlWriter& xml, const AccountingFeatures& f,
                               const AccountingFeaturesRules& rules) {
  auto block = xml.block("ОсобенностиУчета"_w);
  if (rules.territory_when_blank || !is_blank(f.territory()) || !is_blank(f.coefficient()))
    write_territorial_conditions(xml, f.territory(), f.coefficient());
  write_special_conditions(xml, f.conditions(), f.position());
  if (!is_blank(f.counted())) {
    auto counted = xml.block("ИсчисляемыйСтаж"_w);
    xml.write_element("ОснованиеИС"_w, f.counted());
    if (equals(f.counted(), "ВОДОЛАЗ"_w)) {
      // diving work is counted in hours and minutes
      write_hours_output(xml, f.counted_first(), f.counted_second());
    } else if (rules.calendar_when_zero || !(equals(f.counted_first(), "0") && equals(f.counted_second(), "0"))) {
      auto calendar = xml.block("ВыработкаКалендарная"_w);
      write_years_months_days(xml, {}, f.counted_first(), f.counted_second());
    }
  }
  if (!is_blank(f.childcare())) xml.write_element("ДекретДети"_w, f.childcare());
  if (!is_blank(f.service()))
    write_long_service(xml, f.service(), f.service_first(), f.service_second(), f.service_share());
  if (!is_blank(f.profession())) xml.write_element("ПрофессияДолжность"_w, f.profession());
}

namespace {

bool has_additional_lines(std::string_view count, AdditionalLines rule) {
  return rule == AdditionalLines::unless_zero ? !equals(count, "0") : core::as_number(count) >= 1;
}

}  // namespace

void write_work_periods(core::XmlWriter& xml, std::string_view count, const WorkPeriodSource& periods,
                        const WorkPeriodRules& rules) {
  auto all = xml.block("ВсеПериодыРаботы"_w);
  xml.write_element("Количество"_w, count);
  for (long long i = 1, n = core::as_number(count); i <= n; ++i) {
    const std::optional<WorkPeriod> p = periods.find_period(i);
    if (!p) continue;
    auto period = xml.block("ПериодРаботы"_w);
    {
      auto main = xml.block("ОсновнаяСтрока"_w);
      xml.write_element("НомерСтроки"_w, p->number);
      xml.write_date_element("ДатаНачалаПериода"_w, p->start);
      xml.write_date_element("ДатаКонцаПериода"_w, p->end);
      if (p->features) write_accounting_features(xml, *p->features, rules.features);
    }
    if (has_additional_lines(p->additional, rules.additional)) {
      auto lines = xml.block("ДополнительныеСтроки"_w);
      xml.write_element("Количество"_w, p->additional);
      for (long long j = 1, m = core::as_number(p->additional); j <= m; ++j)
        if (const std::optional<AccountingFeatures> a = periods.find_additional(i, j))
          write_accounting_features(xml, *a, rules.features);
    }
  }
}

}  // namespace tolvex::blocks
