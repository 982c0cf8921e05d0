// SPDX-License-Identifier: MIT
// The period blocks that the earnings forms and the statements share: the category by code
// prefix, the territorial conditions, the reporting period.
#include "blocks/period_blocks.h"

#include <gtest/gtest.h>

#include "runtime/codepage.h"
#include "xml_capture.h"

using namespace tolvex::blocks;
using tolvex::core::XmlWriter;
using namespace tolvex::runtime::literals;

namespace {

// Writers run at depth 1.
template <typename F>
std::string written(F&& f) {
  return tolvex::fakes::written_at(1, f);
}

}  // namespace

TEST(PeriodBlocks, CategoryByPrefixTable) {
  struct Case {
    std::string category, tariff, expected;
  };
  const Case cases[] = {
      {"НРИВ", "АВИА",
       " <КодКатегории>НРИВ</КодКатегории>\n <КодДополнительногоТарифа>АВИА</КодДополнительногоТарифа>\n"
       " <НазваниеКатегории>НАЕМ/РАБОТНИК</НазваниеКатегории>\n"
       " <НазваниеДополнительногоТарифа>ЧЛЕН ЛЭВС</НазваниеДополнительногоТарифа>\n"},
      {"НР", "", " <КодКатегории>НР</КодКатегории>\n <НазваниеКатегории>НАЕМ/РАБОТНИК</НазваниеКатегории>\n"},
      {"", "", " <КодКатегории></КодКатегории>\n <НазваниеКатегории>по классификатору</НазваниеКатегории>\n"},
      {"СХИН", "ДТ",
       " <КодКатегории>СХИН</КодКатегории>\n <КодДополнительногоТарифа>ДТ</КодДополнительногоТарифа>\n"
       " <НазваниеКатегории>С/Х ОРГАНИЗАЦИЯ</НазваниеКатегории>\n"},
      {"СД", "", " <КодКатегории>СД</КодКатегории>\n <НазваниеКатегории>СТАЖ/ДОБРОВ/ПРАВООТН</НазваниеКатегории>\n"},
      {"ДП", "", " <КодКатегории>ДП</КодКатегории>\n <НазваниеКатегории>ДОБРОВ/ПРАВООТН</НазваниеКатегории>\n"},
      {"БЕЗР", "", " <КодКатегории>БЕЗР</КодКатегории>\n <НазваниеКатегории>БЕЗРАБОТНЫЙ</НазваниеКатегории>\n"},
      {"Н", "", " <КодКатегории>Н</КодКатегории>\n <НазваниеКатегории>по классификатору</НазваниеКатегории>\n"},
  };
  for (const auto& c : cases) {
    auto k = tolvex::runtime::utf8_to_ansi(c.category), t = tolvex::runtime::utf8_to_ansi(c.tariff);
    EXPECT_EQ(written([&](XmlWriter& x) { write_category_by_prefix(x, k, t); }), c.expected) << c.category;
  }
}

TEST(PeriodBlocks, TerritorialConditions) {
  auto terr = [](std::string_view g, std::string_view c) {
    return written([&](XmlWriter& x) { write_territorial_conditions(x, g, c); });
  };
  EXPECT_EQ(terr("   ", "0.00"), "");
  EXPECT_EQ(terr("РКС"_w, "0.00"),
            " <ТерриториальныеУсловия>\n  <ОснованиеТУ>РКС</ОснованиеТУ>\n  <Коэффициент>0.00</Коэффициент>\n"
            " </ТерриториальныеУсловия>\n");
  EXPECT_EQ(terr("   ", "    "),
            " <ТерриториальныеУсловия>\n  <ОснованиеТУ></ОснованиеТУ>\n </ТерриториальныеУсловия>\n");
  EXPECT_EQ(terr("МКС"_w, "1.5 "),
            " <ТерриториальныеУсловия>\n  <ОснованиеТУ>МКС</ОснованиеТУ>\n  <Коэффициент>1.5 </Коэффициент>\n"
            " </ТерриториальныеУсловия>\n");
}

TEST(PeriodBlocks, ReportingPeriod) {
  EXPECT_EQ(written([](XmlWriter& x) { write_reporting_period(x, "3", "2010"); }),
            " <ОтчетныйПериод>\n  <Квартал>3</Квартал>\n  <Год>2010</Год>\n </ОтчетныйПериод>\n");
}
