// SPDX-License-Identifier: MIT
// The person converters on their own: reading a pack line into the records, the date of death,
// and what the converter windows show.
#include <gtest/gtest.h>

#include "converter_folder.h"
#include "pack_text.h"
#include "person/adv1.h"
#include "person/adv8.h"
#include "person/applications.h"
#include "person/person_document.h"
#include "runtime/codepage.h"
#include "view_text.h"
#include "xml_capture.h"

using namespace tolvex;
using namespace tolvex::person;
using runtime::ansi_to_utf8;
using runtime::utf8_to_ansi;

namespace {

// A converter of one kind over a pack of the given document lines (UTF-8), positioned after
// the four header lines.
class PersonConverterTest : public fakes::ConverterFolder {
 protected:
  void open_pack(const std::string& utf8_lines, int kol_dok) {
    header_.dokt.set("KOL_DOK", std::to_string(kol_dok));
    header_.ist4.set("NAME", utf8_to_ansi("Отдел ЗАГС г.Ирбита"));
    ConverterFolder::open_pack(fakes::pack_bytes(utf8_lines));
  }

  std::string written(core::Converter& conv) {
    return fakes::written_at(0, [&](core::XmlWriter& xml) { conv.write_document(xml); });
  }
};

}  // namespace

TEST(PersonDocument, DateOfDeathByItsZeroParts) {
  const std::pair<const char*, const char*> cases[] = {
      {"15.05.1941", "<ДатаСмерти>15.05.1941</ДатаСмерти>\n"},
      {"15-05-1941", "<ДатаСмерти>15.05.1941</ДатаСмерти>\n"},
      {"          ", "<ДатаСмерти></ДатаСмерти>\n"},
      {"00.05.1941",
       "<ДатаСмертиОсобая>\n <День>00</День>\n <Месяц>05</Месяц>\n <Год>1941</Год>\n</ДатаСмертиОсобая>\n"},
      {"12.00.1941",
       "<ДатаСмертиОсобая>\n <День>12</День>\n <Месяц>00</Месяц>\n <Год>1941</Год>\n</ДатаСмертиОсобая>\n"},
      {"12.05.0000",
       "<ДатаСмертиОсобая>\n <День>12</День>\n <Месяц>05</Месяц>\n <Год>0000</Год>\n</ДатаСмертиОсобая>\n"},
      {"00.00.0000",
       "<ДатаСмертиОсобая>\n <День>00</День>\n <Месяц>00</Месяц>\n <Год>0000</Год>\n</ДатаСмертиОсобая>\n"},
  };
  for (const auto& [date, expected] : cases)
    EXPECT_EQ(fakes::written_at(0, [&](core::XmlWriter& xml) { write_death_date(xml, date); }), expected) << date;
}

TEST_F(PersonConverterTest, Adv3LineFillsBothRecordsAndIgnoresFieldsPastTheLast) {
  // 17 certificate fields, 29 changed-data fields, one field too many
  std::string line =
      "ДУБЛ,1,15.03.2011,Гусев,Павел,Андреевич,М,СТАНДАРТ,01.01.1961,,,,СТАНДАРТ,Барнаул,,Алтайский край,РФ";
  line += ",Гусь,,,,,,,,,,,,,,,,,,,,,,,,,,,111-222-333 96,ОТМЕТКА,лишнее\n";
  open_pack(line, 1);
  Adv3Converter conv(context());
  ASSERT_EQ(conv.read_document(pack_).kind, core::ReadResult::document);
  auto pages = conv.view_pages();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(ansi_to_utf8(pages[0].caption), "Анкетные данные");
  EXPECT_EQ(ansi_to_utf8(pages[1].caption), "Адреса и Документ");
  // The old and the changed data side by side.
  ASSERT_GE(pages[0].groups.size(), 3u);
  EXPECT_EQ(ansi_to_utf8(pages[0].groups[1].caption), "Старые данные:");
  EXPECT_EQ(ansi_to_utf8(pages[0].groups[2].caption), "Изменившиеся данные:");
  EXPECT_TRUE(pages[0].groups[2].beside);
  EXPECT_EQ(ansi_to_utf8(pages[0].groups[1].fields[0].value), "Гусев");
  EXPECT_EQ(ansi_to_utf8(pages[0].groups[2].fields[0].value), "Гусь");
  std::string xml = written(conv);
  EXPECT_NE(xml.find(" <СтраховойНомер>111-222-333 96</СтраховойНомер>\n"
                     " <ОтметкаОпредставленииСведений>ОТМЕТКА</ОтметкаОпредставленииСведений>\n"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("   <Фамилия>Гусь</Фамилия>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("  <СтранаРождения>РФ</СтранаРождения>\n </МестоРожденияИзСтрахового>"), std::string::npos);
  EXPECT_EQ(xml.find("лишнее"), std::string::npos);
  EXPECT_EQ(conv.read_document(pack_).kind, core::ReadResult::end_of_pack);
}

TEST_F(PersonConverterTest, Adv1WindowShowsTheFileNumberAndFieldsCutToTheirWidth) {
  // NDOK_PCH "1234" is cut to its three characters: 123, written as 124
  open_pack("АНКТ,1234,01.03.2011,Воробьёва,Анна,,ЖЕН,СТАНДАРТ,12.05.1985\n", 9);
  Adv1Converter conv(context());
  ASSERT_EQ(conv.read_document(pack_).kind, core::ReadResult::document);
  auto pages = conv.view_pages();
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_TRUE(fakes::shown_fields(pages[0]).starts_with(
      "тип записи:=АНКТ\n№ документа в пачке=124\nиз=9\nДата заполнения:=01.03.2011\n"
      "фамилия:=Воробьёва\nимя:=Анна\nотчество:=\nпол:=Ж\nтип даты рожд.:=СТАНДАРТ\nдата рожд.:=12.05.1985\n"))
      << fakes::shown_fields(pages[0]);
  // Every field's width is that of its record field, the document's number room for four digits.
  for (const auto& g : pages[0].groups)
    for (const auto& f : g.fields) EXPECT_GT(f.width, 0u) << ansi_to_utf8(f.prompt);
  EXPECT_NE(written(conv).find(" <НомерВпачке>124</НомерВпачке>\n"), std::string::npos);
}

TEST_F(PersonConverterTest, Adv8WindowShowsWhatTheFileLeavesOut) {
  open_pack("СМРТ,4,Лыкова,Мария,,Ж,,,,,,,,,,,00.02.2011,413,05.03.2011,,,,,,,,,Колхоз Заря,,10.10.1997,\n", 1);
  Adv8Converter conv(context());
  ASSERT_EQ(conv.read_document(pack_).kind, core::ReadResult::document);
  std::string shown = fakes::shown_fields(conv.view_pages().at(0));
  EXPECT_NE(shown.find("Орган ЗАГС=Отдел ЗАГС г.Ирбита\n"), std::string::npos) << shown;
  EXPECT_NE(shown.find("Где работал:=Колхоз Заря\n"), std::string::npos) << shown;
  EXPECT_NE(shown.find("Дата рег.в ПФР:=10.10.1997\n"), std::string::npos) << shown;
  std::string xml = written(conv);
  EXPECT_EQ(xml.find("Колхоз"), std::string::npos);
  EXPECT_EQ(xml.find("10.10.1997"), std::string::npos);
  EXPECT_NE(xml.find("<НаименованиеОрганизации>Отдел ЗАГС г.Ирбита</НаименованиеОрганизации>"), std::string::npos);
}

TEST_F(PersonConverterTest, Adv2WindowGroupsAndTitles) {
  open_pack("ОБМН,1,05.03.2011,112-358-132 21,Кузнецова,Елена,Викторовна,Смирнова\n", 1);
  Adv2Converter conv(context());
  EXPECT_EQ(ansi_to_utf8(conv.window_title()), "Конвертация обмена АДВ-2  в формат 7  XML");
  EXPECT_EQ(ansi_to_utf8(conv.journal_text()), " обмен страхового свидетельства АДВ-2");
  ASSERT_EQ(conv.read_document(pack_).kind, core::ReadResult::document);
  std::string shown = fakes::shown_fields(conv.view_pages().at(0));
  EXPECT_NE(shown.find("[По страх.свидетельству:]\nфамилия:=Кузнецова\n"), std::string::npos) << shown;
  EXPECT_NE(shown.find("[Изменившиеся данные:]\nфамилия:=Смирнова\n"), std::string::npos) << shown;
  EXPECT_NE(shown.find("[Отмена:]\nпризнак отмены Отчества=\nпризнак отмены места рождения=\n"), std::string::npos);
}
