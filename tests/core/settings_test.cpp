// SPDX-License-Identifier: MIT
// The settings file: defaults written at the first start, flags, key case, window positions.
#include "core/conversion/settings.h"

#include <gtest/gtest.h>

#include "runtime/codepage.h"
#include "runtime/paths.h"
#include "temp_folder.h"

namespace fs = std::filesystem;
using namespace tolvex::core;

namespace {

class SettingsTest : public tolvex::fakes::TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    ini_path_ = dir / "tolvex.ini";
  }
  std::string file_text() { return read(ini_path_); }
  void write_ini(const std::string& text) { write("tolvex.ini", text); }
  fs::path ini_path_;
};

// The archiver a first start writes: on Windows the program folder's "pkZipc.exe", elsewhere the
// tolvex-zip installed beside the running program.
std::string default_archiver([[maybe_unused]] const std::string& program_folder) {
#ifdef _WIN32
  return program_folder + "pkZipc.exe";
#else
  return tolvex::runtime::path_to_ansi(fs::read_symlink("/proc/self/exe").parent_path() / "tolvex-zip");
#endif
}

}  // namespace

TEST_F(SettingsTest, FirstStartWritesEveryKeyWithDefaults) {
  IniStore ini(ini_path_);
  Settings s = load_settings(ini, "/prog/");
  const std::string sep(tolvex::runtime::separator());
  // clang-format off
  EXPECT_EQ(file_text(),
            "[odna_pch]\r\n"
            "path_in4=/prog/In_4" + sep + "\r\n"
            "path_out7=/prog/Out_7" + sep + "\r\n"
            "path_Report=/prog/REPORT" + sep + "\r\n"
            "path_kps=/prog/KPS" + sep + "\r\n"
            "path_temp=/prog/Error" + sep + "\r\n"
            "path_error=/prog/Error" + sep + "\r\n"
            "path_Arhiv=/prog/Arh" + sep + "\r\n"
            "path_Arh_prg=" + default_archiver("/prog/") + "\r\n"
            "par_Arh_prg=\" -add \"\r\n"
            "zip_dt=1\r\n"
            "imj_Arh=arhiv\r\n"
            "path_ChPSN=\r\n"
            "par_ChPSN=\" U# \"\r\n"
            "fl_p4=0\r\n"
            "fl_p4all=0\r\n"
            "path_ChXML=\r\n"
            "fl_p7zap=0\r\n");
  // clang-format on
  EXPECT_EQ(s.archiver_parameters, " -add ");
  EXPECT_EQ(s.pack_checker_parameters, " U# ");
  EXPECT_EQ(s.dated_archive_name, 1);
  EXPECT_EQ(s.viewer, "C:\\AkelPad\\AkelPad.exe");
  // A second start reads the same values back, blanks inside quotes included.
  IniStore again(ini_path_);
  Settings t = load_settings(again, "/other/");
  EXPECT_EQ(t.archiver_parameters, " -add ");
  EXPECT_EQ(t.input_folder, "/prog/In_4" + sep);
  // An archiver already stored is kept.
  write_ini("[odna_pch]\r\npath_Arh_prg=/opt/arc\r\n");
  IniStore stored(ini_path_);
  EXPECT_EQ(load_settings(stored, "/prog/").archiver, "/opt/arc");
}

TEST_F(SettingsTest, FlagsKeepNumbersAndDefaultTheRest) {
  write_ini("[odna_pch]\r\nzip_dt=0\r\nfl_p4=abc\r\nfl_p4all=1\r\nfl_p7zap=\r\n");
  IniStore ini(ini_path_);
  Settings s = load_settings(ini, "/p/");
  EXPECT_EQ(s.dated_archive_name, 0);  // an operator's 0 is kept
  EXPECT_EQ(s.check_one_pack, 0);
  EXPECT_EQ(s.check_batch_packs, 1);
  EXPECT_EQ(s.check_output_xml, 0);
  IniStore reread(ini_path_);
  EXPECT_EQ(reread.get_setting("odna_pch", "zip_dt"), "0");
  EXPECT_EQ(reread.get_setting("odna_pch", "fl_p4"), "0");  // rewritten from "abc"
  EXPECT_EQ(reread.get_setting("odna_pch", "fl_p7zap"), "0");
}

TEST_F(SettingsTest, KeysMatchWithoutCaseAndKeepTheirSpelling) {
  IniStore ini(ini_path_);
  ini.put_setting("odna_pch", "path_out7", "/a/");
  ini.put_setting("ODNA_PCH", "path_Out7", "/b/");
  EXPECT_EQ(ini.get_setting("odna_pch", "PATH_OUT7"), "/b/");
  EXPECT_EQ(file_text(), "[odna_pch]\r\npath_out7=/b/\r\n");
  ini.put_setting("odna_pch", "path_out7", std::nullopt);
  EXPECT_FALSE(ini.has_setting("odna_pch", "path_out7"));
  EXPECT_EQ(ini.get_setting("nothing", "here"), "");
}

TEST_F(SettingsTest, LongTextValuesAreCutToTheirWidth) {
  write_ini("[odna_pch]\r\nimj_Arh=" + std::string(30, 'a') + "\r\npath_in4=/" + std::string(120, 'd') + "/\r\n");
  IniStore ini(ini_path_);
  Settings s = load_settings(ini, "/p/");
  EXPECT_EQ(s.archive_name, std::string(20, 'a'));
  EXPECT_EQ(s.input_folder.size(), 122u);  // a directory is never cut: it would name another one
}

TEST_F(SettingsTest, WindowPositions) {
  IniStore ini(ini_path_);
  save_window_position(ini, "load_adv1", {false, false, 10, -20, 640, 480});
  WindowPosition p = restore_window_position(ini, "load_adv1");
  EXPECT_FALSE(p.maximized);
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, -20);
  EXPECT_EQ(p.width, 640);
  EXPECT_EQ(p.height, 480);
  // Closed maximized: the coordinates are removed.
  save_window_position(ini, "load_adv1", {true, false, std::nullopt, std::nullopt, std::nullopt, std::nullopt});
  IniStore reread(ini_path_);
  EXPECT_EQ(reread.get_setting("load_adv1", "Maximize"), "Yes");
  EXPECT_EQ(reread.get_setting("load_adv1", "Minimize"), "No");
  EXPECT_FALSE(reread.has_setting("load_adv1", "XPos"));
  EXPECT_FALSE(reread.has_setting("load_adv1", "Height"));
  WindowPosition q = restore_window_position(reread, "load_adv1");
  EXPECT_TRUE(q.maximized);
  EXPECT_FALSE(q.x.has_value());
  EXPECT_FALSE(restore_window_position(reread, "never_saved").maximized);
}

TEST_F(SettingsTest, FileThatCannotBeReadIsNeverWritten) {
  // A folder in place of the file cannot be read even by root; a file over 1 MB is not read.
  fs::create_directories(ini_path_);
  {
    IniStore ini(ini_path_);
    EXPECT_EQ(ini.read_error(), tolvex::runtime::Error::access_denied);
    Settings s = load_settings(ini, "/p/");
    EXPECT_EQ(s.output_folder, "/p/Out_7" + std::string(tolvex::runtime::separator()));  // defaults in memory
    EXPECT_FALSE(ini.put_setting("odna_pch", "x", "1"));
    EXPECT_TRUE(fs::is_directory(ini_path_));
  }
  fs::remove(ini_path_);
  const std::string big = "[odna_pch]\r\n;" + std::string(IniStore::kMaxSize, 'x') + "\r\n";
  write_ini(big);
  IniStore ini(ini_path_);
  EXPECT_TRUE(ini.too_large());
  load_settings(ini, "/p/");
  EXPECT_NE(ini.write_error(), tolvex::runtime::Error::ok);
  EXPECT_EQ(file_text(), big);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary file left
}

namespace {

// UTF-8 text in the encoding of a settings file: 1251, UTF-8, UTF-16 LE or BE.
std::string encoded(const std::string& utf8, IniStore::Encoding e) {
  if (e == IniStore::Encoding::ansi) return tolvex::runtime::utf8_to_ansi(utf8);
  if (e == IniStore::Encoding::utf8) return utf8;
  std::string out;
  for (char c : tolvex::runtime::utf8_to_ansi(utf8)) {
    auto u = static_cast<unsigned>(tolvex::runtime::ansi_to_unicode(c));
    char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
    out += e == IniStore::Encoding::utf16le ? std::string{lo, hi} : std::string{hi, lo};
  }
  return out;
}

}  // namespace

TEST_F(SettingsTest, EveryEncodingAndLineEndIsReadAndOnlyTheChangedKeysAreWritten) {
  using E = IniStore::Encoding;
  struct Row {
    const char* name;
    std::string bom;
    E encoding;
    std::string eol;
  };
  const Row rows[] = {
      {"1251, CR LF", "", E::ansi, "\r\n"},
      {"1251, LF", "", E::ansi, "\n"},
      {"1251, CR", "", E::ansi, "\r"},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF", E::utf8, "\r\n"},
      {"UTF-8 without one, LF", "", E::utf8, "\n"},
      {"UTF-16 LE (Notepad's Unicode)", "\xFF\xFE", E::utf16le, "\r\n"},
      {"UTF-16 BE, CR", "\xFE\xFF", E::utf16be, "\r"},
  };
  for (const Row& r : rows) {
    auto file = [&](const std::vector<std::string>& lines) {
      std::string text;
      for (const auto& l : lines) text += l + r.eol;
      return r.bom + encoded(text, r.encoding);
    };
    write_ini(file({"[odna_pch]", "; мой комментарий", "path_out7=/Вывод/", "не ключ", "", "[other]", "x = 1 ; так"}));
    IniStore ini(ini_path_);
    ASSERT_EQ(ini.read_error(), tolvex::runtime::Error::ok) << r.name;
    EXPECT_EQ(ini.get_setting("odna_pch", "path_out7"), tolvex::runtime::utf8_to_ansi("/Вывод/")) << r.name;
    EXPECT_EQ(ini.get_setting("other", "x"), tolvex::runtime::utf8_to_ansi("1 ; так")) << r.name;
    ini.put_setting("odna_pch", "path_out7", tolvex::runtime::utf8_to_ansi("/Новый/"));
    ini.put_setting("odna_pch", "fl_p4", "1");
    EXPECT_EQ(file_text(), file({"[odna_pch]", "; мой комментарий", "path_out7=/Новый/", "fl_p4=1", "не ключ", "",
                                 "[other]", "x = 1 ; так"}))
        << r.name;
  }
}

TEST_F(SettingsTest, FileThatCannotBeUnderstoodIsNeverWritten) {
  struct Row {
    const char* name;
    std::string bytes;
    std::size_t line;
  };
  const Row rows[] = {
      {"a NUL in a 1251 file", std::string("[odna_pch]\r\npath_in4=/a\0b/\r\n", 25), 2},
      {"the byte 1251 leaves undefined", "[odna_pch]\r\n\r\nx=\x98\r\n", 3},
      {"a broken UTF-8 sequence after the mark", "\xEF\xBB\xBF[odna_pch]\r\nx=\xD0\r\n", 2},
      {"a character 1251 lacks", "\xEF\xBB\xBF[odna_pch]\r\nx=prog_\xC5\x82\r\n", 2},
      {"UTF-16 of an odd length", std::string("\xFF\xFE[\0o\0", 7), 1},
      {"an unpaired UTF-16 surrogate", std::string("\xFF\xFEx\0=\0\x00\xDC", 8), 1},
  };
  for (const Row& r : rows) {
    write_ini(r.bytes);
    IniStore ini(ini_path_);
    EXPECT_TRUE(ini.not_understood()) << r.name;
    EXPECT_EQ(ini.bad_line(), r.line) << r.name;
    EXPECT_EQ(ini.read_error(), tolvex::runtime::Error::bad_structure) << r.name;
    load_settings(ini, "/p/");
    EXPECT_NE(ini.write_error(), tolvex::runtime::Error::ok) << r.name;
    EXPECT_EQ(file_text(), r.bytes) << r.name;
  }
}
