// SPDX-License-Identifier: MIT
// Reading packs line by line and appending lines, with the file settings.
#include "runtime/text_file.h"

#include <gtest/gtest.h>

#include "runtime/file_error.h"
#include "temp_folder.h"

namespace fs = std::filesystem;
using namespace tolvex::runtime;

namespace {

class TextFileTest : public tolvex::fakes::TempFolder {
 protected:
  fs::path write(const std::string& bytes) { return TempFolder::write("f.txt", bytes); }
  // Every record's text (trailing blanks removed) until the end of the file. Read a second
  // time with the plain lines taken as bytes (next_bytes), the records are the same.
  std::vector<std::string> lines(const std::string& bytes, LineFileSettings s = {}) {
    std::vector<std::string> out[2];
    for (bool as_bytes : {false, true}) {
      LineReader r(s);
      EXPECT_EQ(r.open(write(bytes)), Error::ok);
      Error rc = Error::ok;
      for (std::string_view b; (as_bytes && r.next_bytes(b)) || (rc = r.next()) == Error::ok;)
        out[as_bytes].emplace_back(r.text());
      EXPECT_EQ(rc, Error::end_of_file);
    }
    EXPECT_EQ(out[0], out[1]) << "the lines taken as bytes";
    return out[0];
  }
};

using V = std::vector<std::string>;

TEST_F(TextFileTest, LineRules) {
  struct Case {
    const char* what;
    std::string bytes;
    V expected;
  };
  const Case cases[] = {
      {"plain lines", "ab\r\ncd\r\n", {"ab", "cd"}},
      {"last line without CR LF", "ab\r\ncd", {"ab", "cd"}},
      {"empty lines", "\r\n\r\nx\r\n", {"", "", "x"}},
      {"tab to the next multiple of eight", "A\tB\r\n", {"A       B"}},
      {"tab at a multiple", "ABCDEFGH\tI\r\n", {"ABCDEFGH        I"}},
      {"Ctrl-Z alone ends the file", "ab\r\n\x1A", {"ab"}},
      {"Ctrl-Z after text ends the record",
       "ab\x1A"
       "cd\r\n",
       {"ab", "cd"}},
      {"Ctrl-Z at a line start ends the file",
       "ab\r\n\x1A"
       "cd\r\n",
       {"ab"}},
      {"lone LF is an ordinary byte", "a\nb\r\n", {"a\nb"}},
      {"only CR LF", "\r\n\r\n", {"", ""}},
      {"empty file", "", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(lines(c.bytes), c.expected) << c.what;
}

TEST_F(TextFileTest, LongLineKeepsItsFirstRecordLengthCharacters) {
  std::string long_line(600, 'x');
  long_line[499] = 'E';
  auto got = lines(long_line + "\r\nnext\r\n");
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].size(), 500u);
  EXPECT_EQ(got[0].back(), 'E');
  EXPECT_EQ(got[1], "next");
  // Exactly 500 characters, and a 100 KB line.
  EXPECT_EQ(lines(std::string(500, 'y') + "\r\nz\r\n"), (V{std::string(500, 'y'), "z"}));
  auto huge = lines(std::string(100000, 'q') + "\r\nz");
  ASSERT_EQ(huge.size(), 2u);
  EXPECT_EQ(huge[1], "z");
}

TEST_F(TextFileTest, LinesAcrossASmallReadAheadWindow) {
  LineFileSettings s;
  s.record_length = 20;
  EXPECT_EQ(send(s, "FILEBUFFERS=1"), "512");
  s.buffer_size = 7;  // smaller than a record: every rule must still hold across refills
  std::string bytes;
  V expected;
  for (int i = 0; i < 50; ++i) {
    std::string l = "line" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 23), 'k');
    bytes += l + "\r\n";
    expected.push_back(l.substr(0, 20));
  }
  EXPECT_EQ(lines(bytes, s), expected);
  s.quick_scan = false;
  EXPECT_EQ(lines(bytes, s), expected);
}

TEST_F(TextFileTest, OemPackLinesAreConvertedToAnsi) {
  LineFileSettings s;
  s.oem = true;
  // "ЗГЛВ" in code page 866, and a box-drawing character.
  EXPECT_EQ(lines("\x87\x83\x8B\x82,\xB3\r\n", s), V{"\xC7\xC3\xCB\xC2,?"});
}

TEST_F(TextFileTest, SettingsCommand) {
  LineFileSettings s;
  EXPECT_EQ(send(s, "TAB"), "8");
  EXPECT_EQ(send(s, "TAB=-4"), "-4");
  EXPECT_EQ(s.tab, -4);
  EXPECT_EQ(send(s, "CLIP=OFF"), "OFF");
  EXPECT_EQ(send(s, "CLIP=maybe"), "OFF");
  EXPECT_EQ(send(s, "CTRLZISEOF=whatever"), "ON");
  EXPECT_EQ(send(s, "CTRLZISEOF=OFF"), "OFF");
  EXPECT_EQ(send(s, "QUICKSCAN=OFF"), "OFF");
  EXPECT_EQ(send(s, "ENDOFRECORD=1,10"), "1,10");
  EXPECT_EQ(s.end_of_record, "\n");
  EXPECT_EQ(send(s, "ENDOFRECORD=2,13"), "1,10");  // a count that does not match changes nothing
  EXPECT_EQ(send(s, "FILEBUFFERS=4"), "2048");
  EXPECT_EQ(send(s, "TABS"), "");
  EXPECT_EQ(send(s, "NOTHING=1"), "");
}

TEST_F(TextFileTest, TabSettings) {
  auto with_tab = [&](int tab) {
    LineFileSettings s;
    s.tab = tab;
    return lines("A\tB\r\n", s).at(0);
  };
  EXPECT_EQ(with_tab(0), "AB");
  EXPECT_EQ(with_tab(-100), "A\tB");
  EXPECT_EQ(with_tab(4), "A   B");
  EXPECT_EQ(with_tab(-3), "A   B");
}

TEST_F(TextFileTest, CtrlZRulesOff) {
  LineFileSettings s;
  s.ctrl_z_is_eof = false;
  EXPECT_EQ(lines("ab\x1A"
                  "cd\r\n\x1A\r\n",
                  s),
            (V{"ab\x1A"
               "cd",
               "\x1A"}));
}

TEST_F(TextFileTest, EndOfFileKeepsTheRecord) {
  LineReader r;
  ASSERT_EQ(r.open(write("only\r\n")), Error::ok);
  ASSERT_EQ(r.next(), Error::ok);
  EXPECT_EQ(r.next(), Error::end_of_file);
  EXPECT_EQ(r.text(), "only");
  ASSERT_EQ(r.set_to_start(), Error::ok);
  ASSERT_EQ(r.next(), Error::ok);
  EXPECT_EQ(r.text(), "only");
}

TEST_F(TextFileTest, OpenErrors) {
  LineReader r;
  EXPECT_EQ(r.open(dir / "missing.txt"), Error::not_found);
  EXPECT_EQ(r.open(dir / "no" / "such" / "dir.txt"), Error::not_found);
  EXPECT_EQ(r.open(dir), Error::access_denied);  // a directory is not a pack
  EXPECT_EQ(r.next(), Error::not_open);
}

TEST_F(TextFileTest, AppendClipsAndEndsLinesWithCrLf) {
  fs::path p = dir / "out.txt";
  ASSERT_EQ(LineWriter::create(p), Error::ok);
  LineWriter w;
  ASSERT_EQ(w.open(p, true), Error::ok);
  EXPECT_EQ(w.add("abc   "), Error::ok);
  EXPECT_EQ(w.add("   "), Error::ok);
  EXPECT_EQ(w.add(std::string(300, 'x')), Error::ok);  // not cut here: the writer of each file decides
  EXPECT_EQ(w.close(), Error::ok);
  EXPECT_EQ(read(p), "abc\r\n\r\n" + std::string(300, 'x') + "\r\n");
  EXPECT_EQ(w.close(), Error::ok);  // closing again succeeds
}

TEST_F(TextFileTest, AppendOverwritesAFinalCtrlZ) {
  fs::path p = write("old\r\n\x1A");
  LineWriter w;
  ASSERT_EQ(w.open(p, false), Error::ok);
  ASSERT_EQ(w.add("new"), Error::ok);
  EXPECT_EQ(w.close(), Error::ok);
  EXPECT_EQ(read(p), "old\r\nnew\r\n");
}

TEST_F(TextFileTest, EmptyThenAppend) {
  fs::path p = write("something\r\n");
  LineWriter w;
  ASSERT_EQ(w.open(p, true), Error::ok);
  ASSERT_EQ(w.empty(), Error::ok);
  ASSERT_EQ(w.add("fresh"), Error::ok);
  EXPECT_EQ(w.close(), Error::ok);
  EXPECT_EQ(read(p), "fresh\r\n");
}

TEST_F(TextFileTest, ExclusiveOpenIsRefusedWhileHeld) {
  fs::path p = write("");
  LineWriter a, b;
  ASSERT_EQ(a.open(p, true), Error::ok);
  EXPECT_EQ(b.open(p, true), Error::locked);
  EXPECT_EQ(a.close(), Error::ok);
  EXPECT_EQ(b.open(p, true), Error::ok);
}

TEST_F(TextFileTest, ErrorTexts) {
  EXPECT_EQ(error_description(Error::not_found),
            "\xD4\xE0\xE9\xEB \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED (2)");  // "Файл не найден (2)"
  EXPECT_EQ(error_text(Error::end_of_file), "\xC7\xE0\xEF\xE8\xF1\xFC \xED\xE5 \xE4\xEE\xF1\xF2\xF3\xEF\xED\xE0");
  EXPECT_EQ(error_text(static_cast<Error>(12345)), "");
}

}  // namespace
