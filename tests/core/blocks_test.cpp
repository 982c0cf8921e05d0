// SPDX-License-Identifier: MIT
// The insurer blocks, the words of the information type, the output file name and the document
// numbers.
#include <gtest/gtest.h>

#include "core/format4/information_type.h"
#include "core/format7/frame.h"
#include "core/format7/insurer_blocks.h"
#include "runtime/codepage.h"
#include "xml_capture.h"

using namespace tolvex::core;
using tolvex::runtime::ansi_to_utf8;
using namespace tolvex::runtime::literals;

namespace {

// Writers run at depth 1.
template <typename F>
std::string written(F&& f) {
  return tolvex::fakes::written_at(1, f);
}

struct Ist4Value {
  FieldOf<IST4> field;
  std::string utf8;
};

RecordOf<IST4> ist4_with(std::initializer_list<Ist4Value> fields) {
  RecordOf<IST4> r;
  for (const auto& [field, value] : fields) r.set(field, tolvex::runtime::utf8_to_ansi(value));
  return r;
}

}  // namespace

TEST(InsurerBlocks, TaxNumber) {
  EXPECT_EQ(written([](XmlWriter& x) { write_tax_number(x, "7701", "0        "); }),
            " <НалоговыйНомер>\n  <ИНН>7701</ИНН>\n </НалоговыйНомер>\n");
  EXPECT_EQ(written([](XmlWriter& x) { write_tax_number(x, "", ""); }),
            " <НалоговыйНомер>\n  <ИНН></ИНН>\n  <КПП></КПП>\n </НалоговыйНомер>\n");
  EXPECT_EQ(written([](XmlWriter& x) { write_tax_number(x, "1", "00"); }),
            " <НалоговыйНомер>\n  <ИНН>1</ИНН>\n  <КПП>00</КПП>\n </НалоговыйНомер>\n");
}

TEST(InsurerBlocks, InsurerOptionalLinesAndOgrnKinds) {
  auto full = ist4_with({{"INN", "7701234567"},
                         {"KPP", "770101001"},
                         {"NAME", "ООО Ромашка"},
                         {"REGN", "075-001-000001"},
                         {"KOD_OGRN", "1027700132195"},
                         {"OP_FORMA", "ООО"},
                         {"SNAME", "Ромашка"},
                         {"PODR_NAME", "Цех 1"},
                         {"PODR_KOD", "000123"}});
  EXPECT_EQ(written([&](XmlWriter& x) { write_insurer(x, full); }),
            " <НалоговыйНомер>\n  <ИНН>7701234567</ИНН>\n  <КПП>770101001</КПП>\n </НалоговыйНомер>\n"
            " <КодЕГРЮЛ>1027700132195</КодЕГРЮЛ>\n"
            " <Форма>ООО</Форма>\n"
            " <НаименованиеОрганизации>ООО Ромашка</НаименованиеОрганизации>\n"
            " <НаименованиеКраткое>Ромашка</НаименованиеКраткое>\n"
            " <РегистрационныйНомер>075-001-000001</РегистрационныйНомер>\n"
            " <Подразделение>\n  <НаименованиеПодразделения>Цех 1</НаименованиеПодразделения>\n"
            "  <НомерПодразделения>000123</НомерПодразделения>\n </Подразделение>\n");
  auto entrepreneur = ist4_with({{"KOD_OGRN", "304770000123456"}, {"PODR_NAME", "без кода"}});
  EXPECT_EQ(written([&](XmlWriter& x) { write_insurer(x, entrepreneur); }),
            " <НалоговыйНомер>\n  <ИНН></ИНН>\n  <КПП></КПП>\n </НалоговыйНомер>\n"
            " <КодЕГРИП>304770000123456</КодЕГРИП>\n"
            " <НаименованиеОрганизации></НаименованиеОрганизации>\n"
            " <РегистрационныйНомер></РегистрационныйНомер>\n");
}

TEST(InsurerBlocks, WithoutRegistrationTheShortNameAndDepartmentOnlyWhenGiven) {
  struct Case {
    std::string sname, podr_kod;
    bool short_name, department;
  };
  const Case cases[] = {{"", "", false, false},
                        {"Ромашка", "", true, false},
                        {"", "000123", false, true},
                        {"Ромашка", "000123", true, true}};
  for (const auto& c : cases) {
    auto ist4 = ist4_with({{"INN", "7701234567"},
                           {"KPP", "0"},
                           {"NAME", "ООО Ромашка"},
                           {"REGN", "075-001-000001"},
                           {"KOD_OGRN", "1027700132195"},
                           {"OP_FORMA", "ООО"},
                           {"SNAME", c.sname},
                           {"PODR_NAME", "Цех <1>"},
                           {"PODR_KOD", c.podr_kod}});
    std::string expected =
        " <НалоговыйНомер>\n  <ИНН>7701234567</ИНН>\n </НалоговыйНомер>\n"
        " <НаименованиеОрганизации>ООО Ромашка</НаименованиеОрганизации>\n";
    if (c.short_name) expected += " <НаименованиеКраткое>Ромашка</НаименованиеКраткое>\n";
    expected += " <РегистрационныйНомер>075-001-000001</РегистрационныйНомер>\n";
    if (c.department)
      expected +=
          " <Подразделение>\n  <НаименованиеПодразделения>Цех &lt;1&gt;</НаименованиеПодразделения>\n"
          "  <НомерПодразделения>000123</НомерПодразделения>\n </Подразделение>\n";
    EXPECT_EQ(written([&](XmlWriter& x) { write_insurer(x, ist4, kInsurerWithoutRegistration); }), expected)
        << c.sname << "/" << c.podr_kod;
  }
}

TEST(InsurerBlocks, ContributionSums) {
  auto sums = [](std::string_view a, std::string_view b, std::string_view c) {
    return written([&](XmlWriter& x) { write_contribution_sums(x, a, b, c); });
  };
  EXPECT_EQ(sums("1.00", "2.00", "0"), "  <Страховые>1.00</Страховые>\n  <Накопительные>2.00</Накопительные>\n");
  EXPECT_EQ(
      sums("1", "2", "0.00"),
      "  <Страховые>1</Страховые>\n  <Накопительные>2</Накопительные>\n  <Дополнительные>0.00</Дополнительные>\n");
  EXPECT_EQ(sums("", "", ""),
            "  <Страховые></Страховые>\n  <Накопительные></Накопительные>\n  <Дополнительные></Дополнительные>\n");
}

TEST(InformationType, EachElementReadsItsOwnCodes) {
  struct Row {
    const char* code;
    const char* szv4_type;
    const char* szv4_correction;
    const char* old_records;
    const char* conversion;
  };
  const Row rows[] = {
      {"ИСХД", "ИСХОДНАЯ", "", "ИСХОДНАЯ", "ИСХОДНАЯ"},
      {"ПЕНС  ", "ПЕНСИОННАЯ", "", "ПЕНСИОННАЯ", ""},
      {"КОРР", "", "КОРРЕКТИРУЮЩАЯ", "КОРРЕКТИРУЮЩАЯ", "КОРРЕКТИРУЮЩАЯ"},
      {"ОТМН", "", "ОТМЕНЯЮЩАЯ", "ОТМЕНЯЮЩАЯ", "ОТМЕНЯЮЩАЯ"},
      {"    ", "ИСХОДНАЯ", "", "", ""},
      {"исхд", "", "", "", ""},
      {" ИСХД", "", "", "", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.code);
    const std::string code = tolvex::runtime::utf8_to_ansi(r.code);
    EXPECT_EQ(ansi_to_utf8(information_word(code, kSzv4InformationType)), r.szv4_type);
    EXPECT_EQ(ansi_to_utf8(information_word(code, kSzv4CorrectionKind)), r.szv4_correction);
    EXPECT_EQ(ansi_to_utf8(information_word(code, kOldRecordsInformationType)), r.old_records);
    EXPECT_EQ(ansi_to_utf8(information_word(code, kConversionInformationType)), r.conversion);
  }
}

TEST(DocumentNumber, IsThePackNumberPlusOneInFull) {
  const std::pair<const char*, const char*> cases[] = {{"7", "8"},   {"99", "100"}, {"999", "1000"}, {"", "1"},
                                                       {"   ", "1"}, {" 12", "13"}, {"1a", "2"},     {"abc", "1"},
                                                       {"-1", "1"},  {"000", "1"},  {"01", "2"}};
  for (const auto& [ndok, number] : cases) EXPECT_EQ(document_number(ndok), number) << "'" << ndok << "'";
}

TEST(FileName, PfrNamingRule) {
  PackHeader h;
  h.pch.set("D_OPISI", "15.07.2010");
  h.ist4.set("REGN", "075-001-000001");
  h.pch.set("PCH_N", "12");
  EXPECT_EQ(output_file_name(h), "PFR-700-Y-2010-ORG-075-001-000001-DCK-00012-DPT-000000-DCK-00000.XML");
  h.pch.set("PCH_N", "123");
  h.ist4.set("PODR_KOD", "000045");
  EXPECT_EQ(output_file_name(h), "PFR-700-Y-2010-ORG-075-001-000001-DCK-00000-DPT-000045-DCK-00123.XML");
  h.ist4.set("PODR_KOD", "");
  h.pch.set("PCH_N", "x");
  h.ist4.set("REGN", "075-001");
  EXPECT_EQ(output_file_name(h), "PFR-700-Y-2010-ORG-075-001       -DCK-00000-DPT-000000-DCK-00000.XML");
  h.ist4.set("REGN", "..\\..\\a/b:c*d");
  h.pch.set("D_OPISI", "01.01.2\n1\x01");
  EXPECT_EQ(output_file_name(h), "PFR-700-Y-2_1_-ORG-.._.._a_b_c_d -DCK-00000-DPT-000000-DCK-00000.XML");
}
