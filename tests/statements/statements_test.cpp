// SPDX-License-Identifier: MIT
// The statements and conversion records below the golden cases: what the converter windows
// show, and the reading rules that the journal and the XML do not reveal.
#include <gtest/gtest.h>

#include "converter_folder.h"
#include "core/conversion/messages.h"
#include "runtime/codepage.h"
#include "statements/adv10_converter.h"
#include "statements/adv11_converter.h"
#include "statements/szvk_converter.h"
#include "view_text.h"

using namespace tolvex;
using namespace tolvex::runtime::literals;
using tolvex::runtime::ansi_to_utf8;

namespace {

// UTF-8 text -> code page 866.
std::string to_oem(const std::string& utf8) { return runtime::ansi_to_oem(runtime::utf8_to_ansi(utf8)); }

class StatementsTest : public fakes::ConverterFolder {
 protected:
  void SetUp() override {
    ConverterFolder::SetUp();
    header_.dokt.set("KOL_DOK", "7");
  }
  // Opens a pack of the given document lines (UTF-8), positioned after its header.
  core::PackReader& pack(const std::string& lines) { return open_pack(to_oem(lines)); }
  std::string xml_text() { return ansi_to_utf8(sink_.text); }

  core::StringSink sink_;
  core::XmlWriter xml_{sink_};
};

std::string u(std::string_view ansi) { return ansi_to_utf8(ansi); }

// --- АДВ-10 ----------------------------------------------------------------------------------

TEST_F(StatementsTest, Adv10ReadResults) {
  statements::Adv10Converter conv(context());
  auto& p = pack("СВОД,1,1,2,,НР,1,2010,РУБ,1,,1,1,10.04.2010,2\r\nМЕС1,1,2,1,,,1,1\r\n");
  EXPECT_EQ(conv.read_document(p).kind, core::ReadResult::end_inside_document);
  pack_.close_after_reading();
  EXPECT_EQ(conv.read_document(pack("")).kind, core::ReadResult::end_of_pack);
}

TEST_F(StatementsTest, Adv10WindowShowsTheCompletedMonthTable) {
  statements::Adv10Converter conv(context());
  auto& p = pack(
      "СВОД,5,1,2,,НР,1,2010,РУБ,1,,1,1,10.04.2010,3\r\n"
      "МЕС1,3,2,300,,,1,1\r\nМЕС1,1,2,100,,М,1,1\r\nМЕС1,1,3,101,,,1,1\r\n");
  ASSERT_EQ(conv.read_document(p).kind, core::ReadResult::document);
  conv.write_document(xml_);
  auto pages = conv.view_pages();
  ASSERT_EQ(pages.size(), 1u);
  const auto& f = pages[0].groups.at(0).fields;
  ASSERT_GE(f.size(), 2u);
  EXPECT_EQ(u(f[0].prompt), "№ в пачке:");
  EXPECT_EQ(f[0].value, "6");
  EXPECT_EQ(u(f[1].prompt), "из");
  EXPECT_EQ(f[1].value, "7");
  EXPECT_NE(fakes::shown_fields(pages[0]).find("[Итого за период]\nзаработок:=1\n"), std::string::npos)
      << fakes::shown_fields(pages[0]);
  ASSERT_EQ(pages[0].lists.size(), 1u);
  const auto& list = pages[0].lists[0];
  EXPECT_EQ(u(list.caption), "Помесячно, месяцев: 3");
  EXPECT_EQ(u(list.columns[2]), "ср.кол.");
  // Three lines and the fillers of the ten missing months, in month order; two lines of
  // month 01 keep their pack order.
  ASSERT_EQ(list.rows.size(), 13u);
  EXPECT_EQ(list.rows[0][1], "01");
  EXPECT_EQ(list.rows[0][3], "100");
  EXPECT_EQ(list.rows[1][3], "101");
  EXPECT_EQ(list.rows[2][1], "02");
  EXPECT_EQ(list.rows[2][0], "");
  EXPECT_EQ(list.rows[3][3], "300");
  EXPECT_EQ(list.rows[12][1], "12");
  // Both lines of month 01 and the line of month 03 are written; no filler is.
  EXPECT_NE(xml_text().find("<ПоКатегорииЗаработок>100"), std::string::npos);
  EXPECT_NE(xml_text().find("<ПоКатегорииЗаработок>101"), std::string::npos);
  EXPECT_NE(xml_text().find("<ПоКатегорииЗаработок>300"), std::string::npos);
  EXPECT_EQ(xml_text().find("<Месяц>02"), std::string::npos);
}

// --- АДВ-11 ----------------------------------------------------------------------------------

TEST_F(StatementsTest, Adv11TariffSignWordBesideRegres) {
  const std::pair<std::string, std::string> cases[] = {{"М", "АКСИМУМ"}, {"Р", "ЕГРЕС"}, {"Х", ""}, {"", ""}};
  for (const auto& [sign, rest] : cases) {
    statements::Adv11Converter conv(context());
    auto& p = pack("ВУПЛ,1,2005,31.12.2005,1,1,НР,," + sign + ",1,1,0,0,0,0,0,0,0,0,0,0,,0,0,0\r\n");
    ASSERT_EQ(conv.read_document(p).kind, core::ReadResult::document);
    pack_.close_after_reading();
    auto pages = conv.view_pages();
    const core::ViewField* regres = fakes::shown_field(pages[0], "Признак тарифа:");
    ASSERT_NE(regres, nullptr);
    EXPECT_EQ(u(regres->value), sign);
    EXPECT_EQ(u(regres->after), rest) << sign;
    EXPECT_EQ(u(fakes::shown_field(pages[0], "Тип ведомости:")->value), "ПОЛНАЯ");
    EXPECT_EQ(pages[0].lists.size(), 3u);
  }
}

TEST_F(StatementsTest, Adv11JournalsItsStatementOnceTheLineIsRead) {
  statements::Adv11Converter conv(context());
  EXPECT_EQ(conv.read_document(pack("")).kind, core::ReadResult::end_of_pack);
  pack_.close_after_reading();
  auto& p = pack("ВУПЛ,1,2005,31.12.2005,1,1,НР,,,1,1,0,0,0,0,0,0,0,0,0,0,,1,0,0\r\n");
  EXPECT_EQ(conv.read_document(p).kind, core::ReadResult::end_inside_document);
  EXPECT_EQ(journal_lines(), "1 ведомость уплаты АДВ-11\r\n");
}

// --- СЗВ-К -----------------------------------------------------------------------------------

const char* const kSzvk =
    "КОНВ,1,ИСХД,112,Иванов,Иван,,СТАНДАРТ,12.03.1950,,,,,0.00,0,0,0,20.06.2010,1,1,0,1\r\n"
    "РАБ1,1,Завод,РАБОТА,2\r\n"
    "ПСТЖ,1,01.10.1970,31.12.1980,,,,,,,,,,,,,0.00,,1\r\n"
    "ЛЬГТ,1,1,,,,,,,ДЕТИ,,,,,,,\r\n"
    "ПСТЖ,2,01.01.1981,31.12.1985,,,,,,,,,,,,,0.00,,\r\n"
    "ТЕРР,4,РКС,5,1,2\r\n"
    "ВЫСЛ,7,ЛЕТИСП,1,0,0\r\n";

TEST_F(StatementsTest, SzvkWindowPagesAndLists) {
  statements::SzvkConverter conv(context());
  ASSERT_EQ(conv.read_document(pack(kSzvk)).kind, core::ReadResult::document);
  auto pages = conv.view_pages();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(u(pages[0].caption), "Периоды");
  EXPECT_EQ(u(pages[1].caption), "Сведения");
  ASSERT_EQ(pages[0].lists.size(), 2u);
  const auto& works = pages[0].lists[0];
  EXPECT_EQ(works.columns.size(), 10u);
  EXPECT_EQ(u(works.columns.back()), "орган-я");
  ASSERT_EQ(works.rows.size(), 1u);
  // The work record's span: the first period's start and the last period's end.
  EXPECT_EQ(works.rows[0][4], "01.10.1970");
  EXPECT_EQ(works.rows[0][5], "31.12.1985");
  EXPECT_EQ(pages[0].lists[1].rows.size(), 3u);  // two periods and one benefit
  ASSERT_EQ(pages[1].lists.size(), 2u);
  EXPECT_EQ(u(pages[1].lists[0].caption), "Календарные периоды стажа");
  EXPECT_EQ(pages[1].lists[0].rows.size(), 2u);
  const auto& special = pages[1].lists[1];
  EXPECT_EQ(u(special.caption), "Стаж по особым условиям");
  ASSERT_EQ(special.rows.size(), 2u);
  EXPECT_EQ(special.rows[0][0], "4");
  EXPECT_EQ(u(special.rows[0][2]), "Тер.усл.");
  EXPECT_EQ(u(special.rows[0][3]), "РКС");
  EXPECT_EQ(u(special.rows[1][2]), "Выслуга лет");
}

TEST_F(StatementsTest, SzvkStopMessageAbortEndsTheProgram) {
  statements::SzvkConverter conv(context());
  op_.answers = {core::Button::abort};
  auto& p = pack(
      "КОНВ,1,ИСХД,112,Иванов,Иван,,СТАНДАРТ,12.03.1950,,,,,0.00,0,0,0,20.06.2010,1,,,\r\n"
      "РАБ1,1,Завод,РАБОТА,1\r\nПСТ,1,01.10.1970,31.12.1980\r\n");
  EXPECT_THROW(conv.read_document(p), core::ProgramEnd);
  ASSERT_EQ(op_.log.size(), 1u);
  EXPECT_EQ(op_.log[0], "box Stop:  stg1:typ_z = ПСТ ");
}

TEST_F(StatementsTest, SzvkEndsInsideEveryKindOfSubordinateLine) {
  // Each pack stops one line short of the whole document.
  std::string whole = kSzvk;
  std::vector<std::string> lines;
  for (std::size_t at = 0, next; (next = whole.find("\r\n", at)) != std::string::npos; at = next + 2)
    lines.push_back(whole.substr(at, next + 2 - at));
  for (std::size_t keep = 1; keep < lines.size(); ++keep) {
    std::string cut;
    for (std::size_t i = 0; i < keep; ++i) cut += lines[i];
    statements::SzvkConverter conv(context());
    EXPECT_EQ(conv.read_document(pack(cut)).kind, core::ReadResult::end_inside_document) << keep << " lines";
    pack_.close_after_reading();
  }
}

}  // namespace
