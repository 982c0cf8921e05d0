// SPDX-License-Identifier: MIT
// The person blocks: full name, birth date kinds, birth place, identity document.
#include "blocks/person_blocks.h"

#include <gtest/gtest.h>

#include "runtime/codepage.h"
#include "xml_capture.h"

using namespace tolvex;
using namespace tolvex::blocks;
using core::StringSink;
using core::XmlWriter;
using runtime::ansi_to_utf8;
using namespace tolvex::runtime::literals;

namespace {

// Writers run at depth 2.
template <typename F>
std::string written(F&& f) {
  return fakes::written_at(2, f);
}

std::string w(std::string_view utf8) { return runtime::utf8_to_ansi(utf8); }

}  // namespace

TEST(PersonBlocks, FullNameLeavesOutOnlyABlankPatronymic) {
  EXPECT_EQ(written([](XmlWriter& x) { write_full_name(x, w("Иванов   "), w("Пётр"), w("Ильич  ")); }),
            "  <Фамилия>Иванов</Фамилия>\n  <Имя>Пётр</Имя>\n  <Отчество>Ильич</Отчество>\n");
  EXPECT_EQ(written([](XmlWriter& x) { write_full_name(x, "   ", "", "    "); }),
            "  <Фамилия></Фамилия>\n  <Имя></Имя>\n");
  // a leading blank of a value stays
  EXPECT_EQ(written([](XmlWriter& x) { write_full_name(x, w(" Ли"), w("Ян"), ""); }),
            "  <Фамилия> Ли</Фамилия>\n  <Имя>Ян</Имя>\n");
}

TEST(PersonBlocks, BirthDateByKind) {
  struct Case {
    const char* kind;
    const char* element;
    std::string expected;
  };
  const Case cases[] = {
      {"СТАНДАРТ            ", "ДатаРождения", "  <ДатаРождения>05.03.1961</ДатаРождения>\n"},
      {"СТАНДАРТ", "ДатаРожденияИзСтрахового", "  <ДатаРожденияИзСтрахового>05.03.1961</ДатаРожденияИзСтрахового>\n"},
      {"ОСОБАЯ", "ДатаРождения",
       "  <ДатаРожденияОсобая>\n   <День>00</День>\n   <Месяц>03</Месяц>\n   <Год>1961</Год>\n"
       "  </ДатаРожденияОсобая>\n"},
      {"ОСОБАЯ", "ДатаРожденияИзСтрахового",
       "  <ДатаРожденияИзСтраховогоОсобая.>\n   <День>00</День>\n   <Месяц>03</Месяц>\n   <Год>1961</Год>\n"
       "  </ДатаРожденияИзСтраховогоОсобая.>\n"},
      {"", "ДатаРождения", ""},
      {"стандарт", "ДатаРождения", ""},
      {" СТАНДАРТ", "ДатаРождения", ""},
      {"ОСОБОЕ", "ДатаРождения", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(
        written([&](XmlWriter& x) { write_birth_date(x, w(c.kind), "05/03/1961", "00", "03", "1961", w(c.element)); }),
        c.expected)
        << c.kind << " " << c.element;
  }
}

TEST(PersonBlocks, SpecialBirthDateWithBlankPartsGivesEmptyElements) {
  EXPECT_EQ(written([](XmlWriter& x) { write_birth_date(x, w("ОСОБАЯ"), "", "  ", "  ", "    ", w("ДатаРождения")); }),
            "  <ДатаРожденияОсобая>\n   <День></День>\n   <Месяц></Месяц>\n   <Год></Год>\n"
            "  </ДатаРожденияОсобая>\n");
}

TEST(PersonBlocks, BirthPlaceKinds) {
  auto place = [](const char* kind) {
    return written([&](XmlWriter& x) {
      write_birth_place(x, w("МестоРождения"), w(kind), w("Тула"), "", w("Тульская обл"), w("РФ"));
    });
  };
  const std::string tail =
      "   <ГородРождения>Тула</ГородРождения>\n   <РайонРождения></РайонРождения>\n"
      "   <РегионРождения>Тульская обл</РегионРождения>\n   <СтранаРождения>РФ</СтранаРождения>\n"
      "  </МестоРождения>\n";
  EXPECT_EQ(place("СТАНДАРТ"), "  <МестоРождения>\n   <ТипМестаРождения>СТАНДАРТНОЕ</ТипМестаРождения>\n" + tail);
  EXPECT_EQ(place("ОСОБОЕ  "), "  <МестоРождения>\n   <ТипМестаРождения>ОСОБОЕ</ТипМестаРождения>\n" + tail);
  EXPECT_EQ(place(""), "  <МестоРождения>\n   <ТипМестаРождения></ТипМестаРождения>\n" + tail);
  EXPECT_EQ(place("Стандарт"), "  <МестоРождения>\n   <ТипМестаРождения>Стандарт</ТипМестаРождения>\n" + tail);
}

TEST(PersonBlocks, IdentityDocumentAlwaysInFull) {
  EXPECT_EQ(written([](XmlWriter& x) {
              write_identity_document(x, w("ПАСПОРТ РОССИИ"), w("Паспорт гражданина РФ"), "45", "07", "123456",
                                      "12-04-2005", w("ОВД района Арбат <г. Москвы> & Co"));
            }),
            "  <УдостоверяющийДокумент>\n"
            "   <ТипУдостоверяющего>ПАСПОРТ РОССИИ</ТипУдостоверяющего>\n"
            "   <Документ>\n"
            "    <НаименованиеУдостоверяющего>Паспорт гражданина РФ</НаименованиеУдостоверяющего>\n"
            "    <СерияРимскиеЦифры>45</СерияРимскиеЦифры>\n"
            "    <СерияРусскиеБуквы>07</СерияРусскиеБуквы>\n"
            "    <НомерУдостоверяющего>123456</НомерУдостоверяющего>\n"
            "    <ДатаВыдачи>12.04.2005</ДатаВыдачи>\n"
            "    <КемВыдан>ОВД района Арбат &lt;г. Москвы&gt; &amp; Co</КемВыдан>\n"
            "   </Документ>\n"
            "  </УдостоверяющийДокумент>\n");
  EXPECT_EQ(written([](XmlWriter& x) { write_identity_document(x, "", "", "", "", "", "          ", ""); }),
            "  <УдостоверяющийДокумент>\n"
            "   <ТипУдостоверяющего></ТипУдостоверяющего>\n"
            "   <Документ>\n"
            "    <НаименованиеУдостоверяющего></НаименованиеУдостоверяющего>\n"
            "    <СерияРимскиеЦифры></СерияРимскиеЦифры>\n"
            "    <СерияРусскиеБуквы></СерияРусскиеБуквы>\n"
            "    <НомерУдостоверяющего></НомерУдостоверяющего>\n"
            "    <ДатаВыдачи></ДатаВыдачи>\n"
            "    <КемВыдан></КемВыдан>\n"
            "   </Документ>\n"
            "  </УдостоверяющийДокумент>\n");
}
