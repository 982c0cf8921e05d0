// SPDX-License-Identifier: MIT
// The per-person working data of the individual records (month table, period list), the
// ОсобенностиУчета variants, and what the converters read and show, on small packs.
#include "earnings/earnings_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/conversion/journal.h"
#include "earnings/old_records_converter.h"
#include "earnings/szv4_converter.h"
#include "runtime/codepage.h"
#include "scripted_operator.h"
#include "view_text.h"
#include "xml_capture.h"

using namespace tolvex;
using namespace tolvex::blocks;
using namespace tolvex::earnings;
using runtime::ansi_to_utf8;

namespace {

std::string w(std::string_view utf8) { return runtime::utf8_to_ansi(utf8); }

// A pack file of the given lines (UTF-8) in code page 866 with CR LF, opened for reading.
class PackFile {
 public:
  explicit PackFile(const std::vector<std::string>& lines) {
    path_ = std::filesystem::temp_directory_path() /
            ("tolvex_earnings_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".txt");
    std::string bytes;
    for (const auto& l : lines) {
      bytes += runtime::ansi_to_oem(runtime::utf8_to_ansi(l));
      bytes += "\r\n";
    }
    std::ofstream(path_, std::ios::binary) << bytes;
    EXPECT_EQ(reader.open(path_), runtime::Error::ok);
  }
  ~PackFile() {
    reader.close_after_reading();
    std::filesystem::remove(path_);
  }
  core::PackReader reader;

 private:
  std::filesystem::path path_;
};

template <const core::RecordLayout& L>
std::string features(const core::RecordOf<L>& r, const WorkPeriodRules& rules) {
  return fakes::written_at(
      0, [&](core::XmlWriter& xml) { write_accounting_features(xml, accounting_features(r), rules.features); });
}

}  // namespace

TEST(MonthTable, CompletesToTwelveMonthsInOrderKeepingDuplicatesInReadingOrder) {
  PackFile pack({"НАЧМ,3,30.00,0", "НАЧМ, 1,10.00,0", "НАЧМ,03,31.00,0", "НАЧМ,14,99.00,0"});
  MonthTable t;
  for (int i = 0; i < 4; ++i) ASSERT_EQ(t.read_month(pack.reader), runtime::Error::ok);
  EXPECT_EQ(t.read_month(pack.reader), runtime::Error::end_of_file);
  t.complete();
  std::vector<std::string> months, sums;
  for (std::size_t k = 0; k < t.size(); ++k) {
    months.emplace_back(t.at(k).value("MES_NUM"));
    sums.emplace_back(t.at(k).value("SUM_ZAR"));
  }
  EXPECT_EQ(months, (std::vector<std::string>{"01", "02", "03", "03", "04", "05", "06", "07", "08", "09", "10", "11",
                                              "12", "14"}));
  EXPECT_EQ(sums[0], "10.00");
  EXPECT_EQ(sums[2], "30.00");  // the month read first stays first
  EXPECT_EQ(sums[3], "31.00");
  EXPECT_TRUE(core::is_blank(t.at(1)["TYP_Z"]));  // a completed month has no line

  // The buffers are reused: a second person starts from an empty table.
  t.clear();
  t.complete();
  EXPECT_EQ(t.size(), 12u);
  EXPECT_TRUE(core::is_blank(t.at(2)["SUM_ZAR"]));
}

TEST(PeriodList, LooksUpByNumericValueFirstMatchWins) {
  PackFile pack({
      "СТАЖ,02,01.04.2010,30.06.2010,,,,,,,,,,,,,",
      "СТАЖ, 1,01.01.2010,31.03.2010,,,,,,,,,,,РКС,1.5,2",
      "ЛЬГТ,02,УСЛ2,,,,,,,,,,,",
      "ЛЬГТ,1,УСЛ1,,,,,,,,,,,",
      "СТАЖ,1,01.07.2010,30.09.2010,,,,,,,,,,,,,",
  });
  PeriodList list(PeriodNumbering::plain_decimal);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(list.read_period(pack.reader), runtime::Error::ok);
  ASSERT_EQ(list.size(), 5u);

  const auto* p1 = list.period(1);
  ASSERT_NE(p1, nullptr);
  EXPECT_EQ(p1->period.value("PERIOD_N"), "01.01.2010");  // the first period 1, not the later one
  EXPECT_EQ(p1->period.value("TER_US"), w("РКС"));        // after VL3 in the line
  EXPECT_EQ(p1->period["TER_KOEF"], "1.5 ");
  ASSERT_NE(list.period(2), nullptr);
  EXPECT_EQ(list.period(3), nullptr);

  ASSERT_NE(list.additional(1, 1), nullptr);
  EXPECT_EQ(list.additional(1, 1)->line.value("USL_TR"), w("УСЛ1"));
  EXPECT_EQ(list.additional(1, 2)->line.value("USL_TR"), w("УСЛ2"));
  EXPECT_EQ(list.additional(1, 2)->period_number, "1");  // plain decimal form of " 1"
  EXPECT_EQ(list.additional(2, 1), nullptr);
  EXPECT_EQ(list.additional(1, 3), nullptr);

  // The next person finds nothing of this one.
  list.clear();
  EXPECT_EQ(list.period(1), nullptr);
  EXPECT_EQ(list.additional(1, 1), nullptr);
}

TEST(PeriodList, EndOfPackInsideAdditionalLinesKeepsOnlyWhatWasRead) {
  PackFile pack({"СТАЖ,1,01.01.2010,31.03.2010,,,,,,,,,,,,,3", "ЛЬГТ,1,,,,,,,,,,,,"});
  PeriodList list(PeriodNumbering::as_written);
  EXPECT_EQ(list.read_period(pack.reader), runtime::Error::end_of_file);
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(list.additional(1, 2), nullptr);
}

TEST(AccountingFeatures, TerritorialBlockByForm) {
  core::RecordOf<STG1> blank;
  const std::string blank_ground =
      "<ОсобенностиУчета>\n <ТерриториальныеУсловия>\n  <ОснованиеТУ></ОснованиеТУ>\n"
      " </ТерриториальныеУсловия>\n</ОсобенностиУчета>\n";
  EXPECT_EQ(features(blank, kOldRecordsWorkPeriods), blank_ground);
  EXPECT_EQ(features(blank, kConversionWorkPeriods), blank_ground);
  EXPECT_EQ(features(blank, kSzv4WorkPeriods), "<ОсобенностиУчета>\n</ОсобенностиУчета>\n");

  core::RecordOf<LGT1> coefficient_only;
  coefficient_only.set("TER_KOEF", "1.2");
  const std::string expected =
      "<ОсобенностиУчета>\n <ТерриториальныеУсловия>\n  <ОснованиеТУ></ОснованиеТУ>\n"
      "  <Коэффициент>1.2 </Коэффициент>\n </ТерриториальныеУсловия>\n</ОсобенностиУчета>\n";
  EXPECT_EQ(features(coefficient_only, kOldRecordsWorkPeriods), expected);
  EXPECT_EQ(features(coefficient_only, kSzv4WorkPeriods), expected);
}

TEST(AccountingFeatures, CountedServiceDivingInHoursOtherwiseCalendar) {
  core::RecordOf<LGT1> r;
  r.set("TER_KOEF", "0.00");
  r.set("SO", w("ВОДОЛАЗ"));
  r.set("SO1", "0");
  r.set("SO2", "0");
  EXPECT_EQ(features(r, kOldRecordsWorkPeriods),
            "<ОсобенностиУчета>\n <ИсчисляемыйСтаж>\n  <ОснованиеИС>ВОДОЛАЗ</ОснованиеИС>\n"
            " </ИсчисляемыйСтаж>\n</ОсобенностиУчета>\n");
  // Other grounds in calendar months and days; none at all for zeros, except in СЗВ-К.
  r.set("SO", w("ИНОЕ"));
  EXPECT_EQ(features(r, kSzv4WorkPeriods),
            "<ОсобенностиУчета>\n <ИсчисляемыйСтаж>\n  <ОснованиеИС>ИНОЕ</ОснованиеИС>\n"
            " </ИсчисляемыйСтаж>\n</ОсобенностиУчета>\n");
  EXPECT_EQ(features(r, kConversionWorkPeriods),
            "<ОсобенностиУчета>\n <ИсчисляемыйСтаж>\n  <ОснованиеИС>ИНОЕ</ОснованиеИС>\n"
            "  <ВыработкаКалендарная>\n  </ВыработкаКалендарная>\n </ИсчисляемыйСтаж>\n</ОсобенностиУчета>\n");
  r.set("SO", w("водолаз"));  // not diving (the code is case-sensitive): calendar months and days
  r.set("SO1", "2");
  EXPECT_EQ(features(r, kOldRecordsWorkPeriods),
            "<ОсобенностиУчета>\n <ИсчисляемыйСтаж>\n  <ОснованиеИС>водолаз</ОснованиеИС>\n"
            "  <ВыработкаКалендарная>\n   <ВсеГоды>0</ВсеГоды>\n   <ВсеМесяцы>2</ВсеМесяцы>\n"
            "   <ВсеДни>0</ВсеДни>\n  </ВыработкаКалендарная>\n </ИсчисляемыйСтаж>\n</ОсобенностиУчета>\n");
}

TEST(ShownAmount, TwoDecimalsBlankWhenZero) {
  EXPECT_EQ(shown_amount("1500.5   "), "1500.50");
  EXPECT_EQ(shown_amount("0.00"), "");
  EXPECT_EQ(shown_amount("0"), "");
  EXPECT_EQ(shown_amount("   "), "");
  EXPECT_EQ(shown_amount("12,5"), "12,5");  // not a number: shown as it stands
}

TEST(OldRecordsConverter, ReadsAPersonWithItsLinesAndShowsThem) {
  core::PackHeader header;
  header.dokt.set("KOL_DOK", "2");
  fakes::ScriptedOperator op;
  core::Journal journal;
  core::ConverterContext ctx{header, op, journal};
  auto conv = make_load_szv3(ctx);
  PackFile pack({
      "СЗВ3,999,ИСХД,112-233-445 95,Петрова,Анна,Сергеевна,4,2001,,,,НР,АВИА,,100.00,20.00,300.00,0,"
      "20.01.2002,2,1",
      "НАЧМ,2,200.00,0",
      "НАЧМ,1,100.00,0",
      "СТАЖ,1,01.01.2001,28.02.2001,,,,,,,,,,,,,1",
      "ЛЬГТ,1,27-1,,,,,,,,,,,",
      "СЗВ3,2,ИСХД,112-233-446 96,Сидоров,Олег,,4,2001,,,,НР,,,0,0,0,0,20.01.2002,1,",
  });
  ASSERT_EQ(conv->read_document(pack.reader).kind, core::ReadResult::document);
  auto pages = conv->view_pages();
  ASSERT_EQ(pages.size(), 1u);
  const auto& p = pages[0];
  ASSERT_NE(fakes::shown_field(p, "№ в пачке:"), nullptr);
  EXPECT_EQ(fakes::shown_field(p, "№ в пачке:")->value, "1000");
  ASSERT_NE(fakes::shown_field(p, "доп.т.:"), nullptr);
  EXPECT_EQ(ansi_to_utf8(fakes::shown_field(p, "доп.т.:")->value), "АВИА");
  // The contributions since the start of the year under their caption, each with its prompt.
  EXPECT_NE(fakes::shown_fields(p).find("[Начислено взноса с нач.года:]\nработодателя:=100.00\nработника:=20.00\n"),
            std::string::npos)
      << fakes::shown_fields(p);
  ASSERT_EQ(p.lists.size(), 2u);
  EXPECT_EQ(p.lists[0].rows.size(), 12u);
  EXPECT_EQ(p.lists[0].rows[0], (std::vector<std::string>{w("НАЧМ"), "01", "100.00", ""}));
  EXPECT_EQ(p.lists[1].rows.size(), 2u);
  EXPECT_EQ(ansi_to_utf8(p.lists[1].columns[1]), "№  перида стажа");

  // The second person announces a month line the pack does not hold.
  EXPECT_EQ(conv->read_document(pack.reader).kind, core::ReadResult::end_inside_document);
  EXPECT_EQ(conv->read_document(pack.reader).kind, core::ReadResult::end_of_pack);
}

TEST(Szv4Converter, RunRulesOfTheTwoForms) {
  core::PackHeader header;
  fakes::ScriptedOperator op;
  core::Journal journal;
  core::ConverterContext ctx{header, op, journal};
  auto c41 = make_load_szv41(ctx);
  auto c42 = make_load_szv42(ctx);
  EXPECT_TRUE(c41->rules().counter_line_before_document);
  EXPECT_EQ(ansi_to_utf8(c41->rules().run_time_prefix), "Все ");
  EXPECT_EQ(ansi_to_utf8(c41->rules().first_time_suffix), " читаем 1 запись");
  EXPECT_FALSE(c42->rules().counter_line_before_document);
  EXPECT_TRUE(c42->rules().run_time_prefix.empty());
  EXPECT_EQ(ansi_to_utf8(c42->window_title()), "Чтение СЗВ-42 из одной пачки");
}
