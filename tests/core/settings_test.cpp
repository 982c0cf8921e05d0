// SPDX-License-Identifier: MIT
// The settings file: defaults written at the first start, flags, key case, window positions.
#include "core/settings.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(s.par_Arh_prg, " -add ");
  EXPECT_EQ(s.par_ChPSN, " U# ");
  EXPECT_EQ(s.zip_dt, 1);
  EXPECT_EQ(s.path_edit, "C:\\AkelPad\\AkelPad.exe");
  // A second start reads the same values back, blanks inside quotes included.
  IniStore again(ini_path_);
  Settings t = load_settings(again, "/other/");
  EXPECT_EQ(t.par_Arh_prg, " -add ");
  EXPECT_EQ(t.path_in4, "/prog/In_4" + sep);
  // An archiver already stored is kept.
  write_ini("[odna_pch]\r\npath_Arh_prg=/opt/arc\r\n");
  IniStore stored(ini_path_);
  EXPECT_EQ(load_settings(stored, "/prog/").path_Arh_prg, "/opt/arc");
}

TEST_F(SettingsTest, FlagsKeepNumbersAndDefaultTheRest) {
  write_ini("[odna_pch]\r\nzip_dt=0\r\nfl_p4=abc\r\nfl_p4all=1\r\nfl_p7zap=\r\n");
  IniStore ini(ini_path_);
  Settings s = load_settings(ini, "/p/");
  EXPECT_EQ(s.zip_dt, 0);  // an operator's 0 is kept
  EXPECT_EQ(s.fl_p4, 0);
  EXPECT_EQ(s.fl_p4all, 1);
  EXPECT_EQ(s.fl_p7zap, 0);
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
  EXPECT_EQ(s.imj_Arh, std::string(20, 'a'));
  EXPECT_EQ(s.path_in4.size(), 122u);  // a directory is never cut: it would name another one
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
    EXPECT_EQ(ini.read_error(), 5);
    Settings s = load_settings(ini, "/p/");
    EXPECT_EQ(s.path_out7, "/p/Out_7" + std::string(tolvex::runtime::separator()));  // defaults in memory
    EXPECT_FALSE(ini.put_setting("odna_pch", "x", "1"));
    EXPECT_TRUE(fs::is_directory(ini_path_));
  }
  fs::remove(ini_path_);
  const std::string big = "[odna_pch]\r\n;" + std::string(IniStore::kMaxSize, 'x') + "\r\n";
  write_ini(big);
  IniStore ini(ini_path_);
  EXPECT_TRUE(ini.too_large());
  load_settings(ini, "/p/");
  EXPECT_NE(ini.write_error(), 0);
  EXPECT_EQ(file_text(), big);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary file left
}
