// SPDX-License-Identifier: MIT
// Records as tables, the splitting rule in both variants, numbers and dates.
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/format4/pack.h"
#include "core/format7/xml_writer.h"
#include "runtime/codepage.h"

using namespace tolvex::core;
using namespace tolvex::runtime::literals;

namespace {

constexpr FieldDef kTestFields[] = {{"A", 3}, {"B", 5}, {"C", 2}};
constexpr RecordLayout TEST{"TEST", kTestFields};
static_assert(TEST.width() == 10);
static_assert(ZAG4.width() == 30 && IST4.width() == 409 && PCH.width() == 152 && DOKT.width() == 11);
// A field is found when the program is compiled, with its place in the record; a name the
// layout lacks is not a field (and `r["NOPE"]` does not compile: see misspelt_field.cpp).
static_assert(FieldOf<TEST>("C").index() == 2 && FieldOf<TEST>("C").offset() == 8 && FieldOf<TEST>("C").width() == 2);
static_assert(has_field(TEST, "B") && !has_field(TEST, "NOPE") && !has_field(TEST, "b"));

constexpr FieldDef kLineFields[] = {{"C", 4}, {"X", 1}, {"A", 2}};
constexpr RecordLayout LINE{"LINE", kLineFields};
// A line in its own field order, copied by name: C and A found, B left alone, X dropped.
static_assert(kSameNamedFields<LINE, TEST>[0] == 2 && kSameNamedFields<LINE, TEST>[1] == RecordLayout::npos &&
              kSameNamedFields<LINE, TEST>[2] == 0);

std::vector<std::string> split(std::string_view line, SplitVariant v = SplitVariant::document) {
  // What the record held before is written over: every field is filled anew.
  RecordOf<TEST> r;
  for (std::size_t i = 0; i < r.field_count(); ++i) r.set(i, "#########");
  split_pack_line(line, r, v);
  return {std::string(r["A"]), std::string(r["B"]), std::string(r["C"])};
}

using V = std::vector<std::string>;

}  // namespace

TEST(Split, FieldRules) {
  struct Case {
    const char* what;
    std::string line;
    SplitVariant variant;
    V expected;
  };
  const Case cases[] = {
      {"plain", "ab,cd,e", SplitVariant::document, {"ab ", "cd   ", "e "}},
      {"empty middle field", "a,,b", SplitVariant::document, {"a  ", "     ", "b "}},
      {"quotes dropped", "\"ab\",\"c\"", SplitVariant::document, {"ab ", "c    ", "  "}},
      {"comma in quotes kept in a document", "x,\"a,b\",y", SplitVariant::document, {"x  ", "a,b  ", "y "}},
      {"comma in quotes dropped in a header", "x,\"a,b\",y", SplitVariant::header, {"x  ", "ab   ", "y "}},
      {"doubled quotes vanish", "x,\"\"\"q\"\"\",y", SplitVariant::document, {"x  ", "q    ", "y "}},
      {"leading blanks kept", " a,  b", SplitVariant::document, {" a ", "  b  ", "  "}},
      {"surplus fields ignored", "a,b,c,d,e", SplitVariant::document, {"a  ", "b    ", "c "}},
      {"fewer fields leave blanks", "a", SplitVariant::document, {"a  ", "     ", "  "}},
      {"too long is cut at the width", "abcdef,1234567,xyz", SplitVariant::document, {"abc", "12345", "xy"}},
      {"trailing blanks of the line dropped", "a,b,   ", SplitVariant::document, {"a  ", "b    ", "  "}},
      {"empty quotes", "\"\",b", SplitVariant::document, {"   ", "b    ", "  "}},
  };
  for (const auto& c : cases) EXPECT_EQ(split(c.line, c.variant), c.expected) << c.what;
}

TEST(Split, HeaderLineFromThePack) {
  RecordOf<ZAG4> z;
  split_pack_line("ЗГЛВ,\"П4.10\",Программа,1.0"_w, z, SplitVariant::header);
  EXPECT_EQ(z.value("TYP_Z"), "ЗГЛВ"_w);
  EXPECT_EQ(z.value("VER_F"), "П4.10"_w);
  EXPECT_EQ(z.value("IMJ_PRG"), "Программа"_w);
  EXPECT_EQ(z.value("VER_PRG"), "1.0");
}

TEST(Split, Ist4TakesOnlySixFields) {
  RecordOf<IST4> ist4;
  ist4.set("SNAME", "kept");
  split_pack_line("a,b,c,d,e,f,g,h,i,j", ist4, SplitVariant::header, kIst4PackFields);
  EXPECT_EQ(ist4.value("NAME"), "f");
  EXPECT_EQ(ist4.value("SNAME"), "kept");
  EXPECT_TRUE(is_blank(ist4["OP_FORMA"]));
  EXPECT_TRUE(is_blank(ist4["PODR_KOD"]));
}

TEST(Record, SetCutsAndPads) {
  RecordOf<TEST> r;
  r.set("B", "1234567");
  EXPECT_EQ(r["B"], "12345");
  r.set("B", "x");
  EXPECT_EQ(r["B"], "x    ");
  EXPECT_EQ(r.text(), "   x      ");
  r.put("C", 1, 'y');
  r.put("C", 2, 'z');  // past the field's end: ignored
  EXPECT_EQ(r.text(), "   x     y");
  r.clear();
  EXPECT_TRUE(is_blank(r.text()));
}

TEST(Record, CopySameNamedKeepsTheFieldsTheLineLacks) {
  RecordOf<LINE> line;
  split_pack_line("abcdef,x,12", line, SplitVariant::document);
  RecordOf<TEST> r;
  r.set("B", "kept");
  copy_same_named(line, r);
  EXPECT_EQ(r.text(), "12 kept ab");
}

TEST(Numbers, TakenAsANumber) {
  struct Case {
    const char* text;
    long long value;
  };
  const Case cases[] = {{"12", 12}, {" 3", 3},  {"1a", 1},  {"abc", 0}, {"-1", 0},
                        {"", 0},    {"   ", 0}, {"007", 7}, {"1 2", 1}};
  for (const auto& c : cases) EXPECT_EQ(as_number(c.text), c.value) << '"' << c.text << '"';
  EXPECT_GT(as_number("99999999999999999999999"), 100000000000000000LL);  // saturates, never wraps
  EXPECT_EQ(zero_padded(7, 3), "007");
  EXPECT_EQ(zero_padded(1000, 3), "1000");
  EXPECT_EQ(zero_padded(0, 5), "00000");
}

TEST(Compare, TrailingBlanksIgnoredCaseKept) {
  EXPECT_TRUE(equals("ИСХД  "_w, "ИСХД"_w));
  EXPECT_FALSE(equals(" ИСХД"_w, "ИСХД"_w));
  EXPECT_FALSE(equals("исхд"_w, "ИСХД"_w));
  EXPECT_FALSE(equals("", "0"));
  EXPECT_TRUE(is_blank(""));
  EXPECT_TRUE(is_blank("    "));
}

TEST(Dates, DateWriterRules) {
  struct Case {
    std::string field, written;
  };
  const Case cases[] = {
      {"01/02/2010", "01.02.2010"}, {"01.02.2010", "01.02.2010"}, {"          ", ""}, {"  /  /    ", "00.00.0000"},
      {"0 /  /    ", "00.00.0000"}, {"15-07-2010", "15.07.2010"}, {"1", "1"},         {"12345", "12.45"},
  };
  for (const auto& c : cases) EXPECT_EQ(normalized_date(c.field), c.written) << c.field;
}

TEST(Xml, ElementsLinesAndEscaping) {
  StringSink sink;
  XmlWriter xml(sink);
  xml.write_element("A", "   ");
  {
    auto b = xml.block("B");
    xml.write_element("C", " lead  ");
    xml.write_element("D", "x & y < z > w");
    xml.write_element("E", std::string("nul\0tab\t\x98", 9));
    xml.write_element_untrimmed("F", "1.5 ");
    xml.write_date_element("G", "01/02/2010");
  }
  xml.line("<fixed & kept>");
  EXPECT_EQ(sink.text,
            "<A></A>\n"
            "<B>\n"
            " <C> lead</C>\n"
            " <D>x &amp; y &lt; z &gt; w</D>\n"
            " <E>nul?tab?"
            "?</E>\n"
            " <F>1.5 </F>\n"
            " <G>01.02.2010</G>\n"
            "</B>\n"
            "<fixed & kept>\n");
  EXPECT_EQ(xml.xml_depth(), 0);
}

TEST(Xml, BlocksAndIndentsUndoTheirDepth) {
  StringSink sink;
  XmlWriter xml(sink);
  {
    auto outer = xml.indented(2);
    auto a = xml.block("A");
    EXPECT_EQ(xml.xml_depth(), 3);
    auto deeper = xml.indented();
    xml.write_element("B", "b");
  }
  EXPECT_EQ(xml.xml_depth(), 0);
  // A block left by an exception lowers the depth but does not close the abandoned element.
  try {
    auto a = xml.block("C");
    throw std::runtime_error("abandoned");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(xml.xml_depth(), 0);
  EXPECT_EQ(sink.text, "  <A>\n    <B>b</B>\n  </A>\n<C>\n");
}

// A sink that writes blocks in the background keeps the view of the last one: the writer must
// leave it unchanged until it hands over the next, and the blocks together are the lines.
TEST(Xml, BlocksHandedOverStayIntactUntilTheNext) {
  struct KeepingSink : LineSink {
    KeepingSink() : LineSink("\r\n", 64) {}
    void take(std::string_view lines) override {
      EXPECT_EQ(last, last_copy) << "the block handed over before was changed";
      text.append(lines);
      last = lines;
      last_copy.assign(lines);
    }
    std::string_view last;
    std::string last_copy, text;
  } sink;
  StringSink lines;
  XmlWriter xml(sink), reference(lines);
  for (int i = 0; i < 200; ++i)
    for (XmlWriter* w : {&xml, &reference})
      w->write_element("N", std::string(static_cast<std::size_t>(i % 70), 'a' + i % 26));
  xml.flush();
  std::string expected = lines.text;
  for (std::size_t at = 0; (at = expected.find('\n', at)) != std::string::npos; at += 2) expected.insert(at, "\r");
  EXPECT_EQ(sink.text, expected);
}

TEST(Xml, LongLinesAreNotCut) {
  StringSink sink;
  XmlWriter xml(sink);
  xml.write_element("N", std::string(400, 'z'));
  EXPECT_EQ(sink.text, "<N>" + std::string(400, 'z') + "</N>\n");
}
