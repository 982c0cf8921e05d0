// SPDX-License-Identifier: MIT
// The code-page tables against iconv, byte by byte, and the compile-time literals.
#include "runtime/codepage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "runtime/platform.h"

using namespace tolvex::runtime;
using namespace tolvex::runtime::literals;

namespace {

// Runs iconv over one byte; nothing when iconv rejects it.
std::optional<std::string> iconv_byte(unsigned char b, const char* from, const char* to) {
  char tmpl[] = "/tmp/tolvex-iconv-XXXXXX";
  int fd = mkstemp(tmpl);
  if (fd < 0) return std::nullopt;
  FILE* f = fdopen(fd, "wb");
  std::fputc(b, f);
  std::fclose(f);
  std::string cmd = std::string("iconv -f ") + from + " -t " + to + " " + tmpl + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  for (int c; (c = std::fgetc(p)) != EOF;) out.push_back(static_cast<char>(c));
  int rc = pclose(p);
  std::remove(tmpl);
  if (rc != 0) return std::nullopt;
  return out;
}

}  // namespace

TEST(Codepage, OemToAnsiMatchesIconvForEveryByte) {
#ifdef _WIN32
  GTEST_SKIP() << "the tables are compared with iconv on Linux";
#endif
  for (int b = 0; b < 256; ++b) {
    auto expected = iconv_byte(static_cast<unsigned char>(b), "CP866", "CP1251");
    char c = static_cast<char>(b);
    oem_to_ansi_in_place(&c, 1);
    if (expected && expected->size() == 1) {
      EXPECT_EQ(static_cast<unsigned char>(c), static_cast<unsigned char>((*expected)[0])) << "byte " << b;
    } else {
      // Characters Windows-1251 lacks (box drawing, square root, bullet) become "?".
      EXPECT_EQ(c, '?') << "byte " << b;
    }
  }
}

TEST(Codepage, AnsiToUtf8MatchesIconvForEveryByte) {
#ifdef _WIN32
  GTEST_SKIP() << "the tables are compared with iconv on Linux";
#endif
  for (int b = 0; b < 256; ++b) {
    auto expected = iconv_byte(static_cast<unsigned char>(b), "CP1251", "UTF-8");
    std::string one(1, static_cast<char>(b));
    if (expected)
      EXPECT_EQ(ansi_to_utf8(one), *expected) << "byte " << b;
    else
      EXPECT_EQ(ansi_to_utf8(one), "\xEF\xBF\xBD") << "byte " << b;  // the one undefined byte
  }
}

TEST(Codepage, Utf8RoundTripsThroughAnsi) {
  std::string all;
  for (int b = 1; b < 256; ++b)
    if (b != 0x98) all.push_back(static_cast<char>(b));
  EXPECT_EQ(utf8_to_ansi(ansi_to_utf8(all)), all);
  // The windows' UTF-16 agrees with UTF-8 byte for byte, and turns back the same way.
  std::u16string wide = ansi_to_utf16(all);
  ASSERT_EQ(wide.size(), all.size());
  EXPECT_EQ(ansi_to_utf16("\xC0\xB9\x98"), u"\u0410\u2116\uFFFD");
  EXPECT_EQ(utf16_to_ansi(wide), all);
  EXPECT_EQ(utf16_to_ansi(u"\u221A\U0001F600\xD800z"), "???z");  // outside 1251, a pair, a lone surrogate
}

TEST(Codepage, Utf8OutsideAnsiBecomesQuestionMark) {
  EXPECT_EQ(utf8_to_ansi("√■∙"), "???");
  EXPECT_EQ(utf8_to_ansi("a\xC3"), "a?");  // cut sequence
  EXPECT_EQ(utf8_to_ansi("\x80z"), "?z");  // stray continuation byte
  EXPECT_EQ(utf8_to_ansi("😀"), "?");       // four-byte sequence
}

TEST(Codepage, LiteralsAreAnsiBytesMadeAtCompileTime) {
  constexpr std::string_view z = "ЗГЛВ"_w;
  static_assert(z.size() == 4);
  EXPECT_EQ(z, std::string("\xC7\xC3\xCB\xC2"));
  EXPECT_EQ("№ Ёё"_w, std::string("\xB9 \xA8\xB8"));
  EXPECT_EQ("plain"_w, "plain");
}

TEST(Codepage, UpperCaseCoversCyrillic) {
  EXPECT_EQ(ansi_upper("а"_w[0]), "А"_w[0]);
  EXPECT_EQ(ansi_upper("я"_w[0]), "Я"_w[0]);
  EXPECT_EQ(ansi_upper("ё"_w[0]), "Ё"_w[0]);
  EXPECT_EQ(ansi_upper("ї"_w[0]), "Ї"_w[0]);
  EXPECT_EQ(ansi_upper('b'), 'B');
  EXPECT_EQ(ansi_upper('5'), '5');
  EXPECT_EQ(ansi_upper("Ж"_w[0]), "Ж"_w[0]);
}

TEST(Codepage, AnsiToOemReversesTheReadingTable) {
  for (int b = 0x80; b < 0x100; ++b) {
    char a = static_cast<char>(tables::oem_to_ansi[b]);
    if (a == '?') continue;  // characters Windows-1251 lacks
    EXPECT_EQ(static_cast<unsigned char>(ansi_to_oem(a)), b) << "byte " << b;
  }
  EXPECT_EQ(ansi_to_oem("«»"_w), "??");  // Windows-1251 characters that 866 lacks
  EXPECT_EQ(ansi_to_oem("abc"), "abc");
}

TEST(Codepage, NamesOutside1251GoThroughTheTextAndBackUnchanged) {
  struct Row {
    const char* name;   // as the file system holds it
    const char* shown;  // in the journal and on the console (UTF-8 here)
  };
  const Row rows[] = {
      {"/tmp/prog_\xC5\x82/Out_7/", "/tmp/prog_?/Out_7/"},
      {"DIR_\xE2\x98\x83/\xD0\xB0.txt", "DIR_?/а.txt"},
      {"emoji_\xF0\x9F\x98\x80", "emoji_?"},
      {"not_utf8_\xFF\xC0", "not_utf8_??"},
  };
  for (const Row& r : rows) {
    std::string ansi = tolvex::runtime::name_to_ansi(r.name);
    EXPECT_EQ(ansi_to_utf8(ansi), r.name) << r.name;
    EXPECT_EQ(ansi_to_utf8(tolvex::runtime::printable(ansi)), r.shown) << r.name;
  }
  EXPECT_EQ(tolvex::runtime::name_to_ansi("Out_7/а"), utf8_to_ansi("Out_7/а"));  // 1251 stays 1251
}
