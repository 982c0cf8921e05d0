// SPDX-License-Identifier: MIT
// The work-period blocks: category names by code, territorial lines, calendar and hour forms,
// special conditions, contract, earnings row, long service.
#include "blocks/work_period_blocks.h"

#include <gtest/gtest.h>

#include <functional>

#include "runtime/codepage.h"
#include "xml_capture.h"

using namespace tolvex;
using namespace tolvex::blocks;
using core::StringSink;
using core::XmlWriter;
using runtime::ansi_to_utf8;

namespace {

std::string w(std::string_view utf8) { return runtime::utf8_to_ansi(utf8); }

// Writers run at depth 2.
std::string written(const std::function<void(XmlWriter&)>& f) { return fakes::written_at(2, f); }

struct Case {
  const char* name;
  std::function<void(XmlWriter&)> write;
  std::string expected;
};

void run_cases(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(written(c.write), c.expected);
  }
}

}  // namespace

TEST(WorkPeriodBlocks, CategoryByCodeLooksUpTheWholeCode) {
  run_cases({
      {"НРИВ with АВИА", [](XmlWriter& x) { write_category_by_code(x, w("НРИВ"), w("АВИА")); },
       "  <КодКатегории>НРИВ</КодКатегории>\n  <КодДополнительногоТарифа>АВИА</КодДополнительногоТарифа>\n"
       "  <НазваниеКатегории>ИНВАЛИД(0+0)</НазваниеКатегории>\n"
       "  <НазваниеДополнительногоТарифа>ЧЛЕН ЛЭВС</НазваниеДополнительногоТарифа>\n"},
      {"НР with trailing blanks, blank tariff", [](XmlWriter& x) { write_category_by_code(x, w("НР  "), "    "); },
       "  <КодКатегории>НР</КодКатегории>\n  <НазваниеКатегории>НАЕМ/РАБОТНИК</НазваниеКатегории>\n"},
      {"blank category, no tariff", [](XmlWriter& x) { write_category_by_code(x, "    ", {}); },
       "  <КодКатегории></КодКатегории>\n  <НазваниеКатегории>по классификатору</НазваниеКатегории>\n"},
      {"a tariff other than АВИА has a code but no name",
       [](XmlWriter& x) { write_category_by_code(x, w("ИП"), w("ХХ")); },
       "  <КодКатегории>ИП</КодКатегории>\n  <КодДополнительногоТарифа>ХХ</КодДополнительногоТарифа>\n"
       "  <НазваниеКатегории>ИНД/ПРЕДПРИН</НазваниеКатегории>\n"},
  });
}

TEST(WorkPeriodBlocks, CategoryNamesByCodeAndByPrefixDiffer) {
  struct Row {
    const char* code;
    const char* by_code;
    const char* by_prefix;
  };
  const Row rows[] = {
      {"ИД", "ИНД/ДОГОВОР", "по классификатору"},
      {"ИПИВ", "ИНД/ИНВАЛИД(0+0)", "по классификатору"},
      {"АВОВ", "ЧЛЕН ЛЭВС ОВ", "по классификатору"},
      {"СХИН", "С/Х ПРЕДПРИЯТИЕ/ИНВ", "С/Х ОРГАНИЗАЦИЯ"},
      {"НРИН", "ИНВАЛИД(28+0)", "НАЕМ/РАБОТНИК"},
      {"НРЕД", "НАЕМНЫЙ/ЕДИНЫЙ", "НАЕМ/РАБОТНИК"},
      {"БЕЗР", "БЕЗРАБОТНЫЙ", "БЕЗРАБОТНЫЙ"},
      {"БЕ", "по классификатору", "БЕЗРАБОТНЫЙ"},
      {"СД", "по классификатору", "СТАЖ/ДОБРОВ/ПРАВООТН"},
      {"нр", "по классификатору", "по классификатору"},
      {"НРX", "по классификатору", "НАЕМ/РАБОТНИК"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.code);
    EXPECT_EQ(ansi_to_utf8(category_name_by_code(w(r.code))), r.by_code);
    EXPECT_EQ(ansi_to_utf8(category_name_by_prefix(w(r.code))), r.by_prefix);
  }
}

TEST(WorkPeriodBlocks, TerritorialLines) {
  run_cases({
      {"blank ground, coefficient 1.5 with its blank", [](XmlWriter& x) { write_territorial_lines(x, "   ", "1.5 "); },
       "  <Коэффициент>1.5 </Коэффициент>\n"},
      {"ground and 0.00", [](XmlWriter& x) { write_territorial_lines(x, w("РКС"), "0.00"); },
       "  <ОснованиеТУ>РКС</ОснованиеТУ>\n"},
      {"both blank gives a coefficient of blanks", [](XmlWriter& x) { write_territorial_lines(x, "   ", "    "); },
       "  <Коэффициент>    </Коэффициент>\n"},
      {"blank ground and 0.00: nothing", [](XmlWriter& x) { write_territorial_lines(x, "", "0.00"); }, ""},
  });
}

TEST(WorkPeriodBlocks, YearsMonthsDays) {
  run_cases({
      {"blank years", [](XmlWriter& x) { write_years_months_days(x, "", "3 ", "15"); },
       "  <ВсеГоды>0</ВсеГоды>\n  <ВсеМесяцы>3</ВсеМесяцы>\n  <ВсеДни>15</ВсеДни>\n"},
      {"years given", [](XmlWriter& x) { write_years_months_days(x, "2 ", "0", " "); },
       "  <ВсеГоды>2</ВсеГоды>\n  <ВсеМесяцы>0</ВсеМесяцы>\n  <ВсеДни></ВсеДни>\n"},
      {"zeros", [](XmlWriter& x) { write_years_months_days(x, "", "0", "00"); }, ""},
      {"all blank", [](XmlWriter& x) { write_years_months_days(x, "  ", "  ", "  "); }, ""},
      {"letters read as zero", [](XmlWriter& x) { write_years_months_days(x, "", "ab", "x"); }, ""},
  });
}

TEST(WorkPeriodBlocks, HoursOutput) {
  run_cases({
      {"0 and 30", [](XmlWriter& x) { write_hours_output(x, "0 ", "30"); },
       "  <ВыработкаВчасах>\n   <Часы>0</Часы>\n   <Минуты>30</Минуты>\n  </ВыработкаВчасах>\n"},
      {"0 and 0", [](XmlWriter& x) { write_hours_output(x, "0 ", "0"); }, ""},
      {"blank is not 0", [](XmlWriter& x) { write_hours_output(x, "  ", "0"); },
       "  <ВыработкаВчасах>\n   <Часы></Часы>\n   <Минуты>0</Минуты>\n  </ВыработкаВчасах>\n"},
      {"00 is not 0", [](XmlWriter& x) { write_hours_output(x, "00", "0"); },
       "  <ВыработкаВчасах>\n   <Часы>00</Часы>\n   <Минуты>0</Минуты>\n  </ВыработкаВчасах>\n"},
  });
}

TEST(WorkPeriodBlocks, SpecialConditionsUpperCaseThePosition) {
  run_cases({
      {"Cyrillic lower case",
       [](XmlWriter& x) { write_special_conditions(x, w("27-1    "), w("1010100а-1754б ёж   ")); },
       "  <ОсобыеУсловияТруда>\n   <ОснованиеОУТ>27-1</ОснованиеОУТ>\n"
       "   <ПозицияСписка>1010100А-1754Б ЁЖ</ПозицияСписка>\n  </ОсобыеУсловияТруда>\n"},
      {"only a position", [](XmlWriter& x) { write_special_conditions(x, "", "abc"); },
       "  <ОсобыеУсловияТруда>\n   <ОснованиеОУТ></ОснованиеОУТ>\n   <ПозицияСписка>ABC</ПозицияСписка>\n"
       "  </ОсобыеУсловияТруда>\n"},
      {"both blank", [](XmlWriter& x) { write_special_conditions(x, "   ", "  "); }, ""},
  });
}

TEST(WorkPeriodBlocks, Contract) {
  run_cases({
      {"only a date", [](XmlWriter& x) { write_contract(x, "  ", "01/02/2001", "   "); },
       "  <СведенияОдоговоре>\n   <Номер></Номер>\n   <ДатаЗаключения>01.02.2001</ДатаЗаключения>\n"
       "  </СведенияОдоговоре>\n"},
      {"with a payment kind", [](XmlWriter& x) { write_contract(x, w("12-А & Б"), "", w("ДОГ")); },
       "  <СведенияОдоговоре>\n   <Номер>12-А &amp; Б</Номер>\n   <ДатаЗаключения></ДатаЗаключения>\n"
       "   <КодВидаВыплаты>ДОГ</КодВидаВыплаты>\n   <НазваниеВидаВыплаты></НазваниеВидаВыплаты>\n"
       "  </СведенияОдоговоре>\n"},
      {"all blank", [](XmlWriter& x) { write_contract(x, " ", " ", " "); }, ""},
  });
}

TEST(WorkPeriodBlocks, EarningsRow) {
  run_cases({
      {"month", [](XmlWriter& x) { write_earnings_row(x, w("МЕСЯЦ"), "03", "1000.00  ", "0"); },
       "  <СтрокаЗаработка>\n   <ТипСтроки>МЕСЯЦ</ТипСтроки>\n   <Месяц>03</Месяц>\n"
       "   <НачисленоВсего>1000.00</НачисленоВсего>\n   <НачисленоПоБольничным>0</НачисленоПоБольничным>\n"
       "  </СтрокаЗаработка>\n"},
      {"total has no month", [](XmlWriter& x) { write_earnings_row(x, w("ИТОГО"), "12", "", ""); },
       "  <СтрокаЗаработка>\n   <ТипСтроки>ИТОГО</ТипСтроки>\n   <НачисленоВсего></НачисленоВсего>\n"
       "   <НачисленоПоБольничным></НачисленоПоБольничным>\n  </СтрокаЗаработка>\n"},
  });
}

TEST(WorkPeriodBlocks, LongServiceHourAndCalendarForms) {
  run_cases({
      {"hour ground, share 0.00", [](XmlWriter& x) { write_long_service(x, w("ЛЕТИСП  "), "120 ", "30  ", "0.00  "); },
       "  <ВыслугаЛет>\n   <ОснованиеВЛ >ЛЕТИСП</ОснованиеВЛ >\n   <ВыработкаВчасах>\n    <Часы>120</Часы>\n"
       "    <Минуты>30</Минуты>\n   </ВыработкаВчасах>\n  </ВыслугаЛет>\n"},
      {"calendar ground with a share", [](XmlWriter& x) { write_long_service(x, w("ВЫСЛ"), "5", "10", "0.25"); },
       "  <ВыслугаЛет>\n   <ОснованиеВЛ >ВЫСЛ</ОснованиеВЛ >\n   <ВыработкаКалендарная>\n"
       "    <ВсеГоды>0</ВсеГоды>\n    <ВсеМесяцы>5</ВсеМесяцы>\n    <ВсеДни>10</ВсеДни>\n"
       "   </ВыработкаКалендарная>\n   <ДоляСтавки>0.25</ДоляСтавки>\n  </ВыслугаЛет>\n"},
      {"lower-case hour ground is calendar", [](XmlWriter& x) { write_long_service(x, w("летисп"), "1", "2", "0.00"); },
       "  <ВыслугаЛет>\n   <ОснованиеВЛ >летисп</ОснованиеВЛ >\n   <ВыработкаКалендарная>\n"
       "    <ВсеГоды>0</ВсеГоды>\n    <ВсеМесяцы>1</ВсеМесяцы>\n    <ВсеДни>2</ВсеДни>\n"
       "   </ВыработкаКалендарная>\n  </ВыслугаЛет>\n"},
      {"calendar with 0 and 0: no wrapper", [](XmlWriter& x) { write_long_service(x, w("ВЫСЛ"), "0", "0", "0.00"); },
       "  <ВыслугаЛет>\n   <ОснованиеВЛ >ВЫСЛ</ОснованиеВЛ >\n  </ВыслугаЛет>\n"},
      {"calendar with blanks: empty wrapper, blank share written",
       [](XmlWriter& x) { write_long_service(x, w("ВЫСЛ"), "  ", "  ", "   "); },
       "  <ВыслугаЛет>\n   <ОснованиеВЛ >ВЫСЛ</ОснованиеВЛ >\n   <ВыработкаКалендарная>\n"
       "   </ВыработкаКалендарная>\n   <ДоляСтавки></ДоляСтавки>\n  </ВыслугаЛет>\n"},
      {"hour ground with 0 and 0: no hours",
       [](XmlWriter& x) { write_long_service(x, w("28-ГДРХ"), "0", "0", "1.00"); },
       "  <ВыслугаЛет>\n   <ОснованиеВЛ >28-ГДРХ</ОснованиеВЛ >\n   <ДоляСтавки>1.00</ДоляСтавки>\n"
       "  </ВыслугаЛет>\n"},
  });
}

TEST(WorkPeriodBlocks, HourMeasuredGroundsMatchWholeCodes) {
  for (const char* code : {"28-ПД", "РЕАКТИВН", "ХИРУРСМ", "ЛЕТИСП   ", "ЗП81ГД"})
    EXPECT_TRUE(is_hour_measured_ground(w(code))) << code;
  for (const char* code : {"РЕАКТИВНЫ", "28-П", "", " ЛЕТИСП", "ВОДОЛАЗ", "летисп"})
    EXPECT_FALSE(is_hour_measured_ground(w(code))) << code;
}
