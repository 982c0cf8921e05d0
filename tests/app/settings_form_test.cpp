// SPDX-License-Identifier: MIT
// The settings window's rules: what each control writes when it is left, the defaults of
// cleared folders, the warnings of program fields left without a program, the archive sample.
#include "app/settings_form.h"

#include "program_folder.h"
#include "runtime/paths.h"

namespace fs = std::filesystem;
using namespace tolvex;
using namespace tolvex::runtime::literals;

namespace {

class SettingsFormTest : public fakes::ProgramFolder {
 protected:
  void SetUp() override {
    ProgramFolder::SetUp();
    start();
  }
  std::string ini(std::string_view key) { return session().ini.get_setting("odna_pch", key); }
  std::string folder(std::string_view sub) {
    return runtime::path_to_ansi(dir) + std::string(runtime::separator()) + std::string(sub) +
           std::string(runtime::separator());
  }
};

}  // namespace

TEST_F(SettingsFormTest, ClearedFoldersTakeTheirDefaultsAndAreWritten) {
  app::SettingsForm form(session());
  EXPECT_EQ(form.leave_folder("path_in4", "   "), folder("In_4"));
  EXPECT_EQ(ini("path_in4"), folder("In_4"));
  EXPECT_EQ(session().settings.path_in4, folder("In_4"));
  // The report folder in this window's spelling, not the start-up one.
  EXPECT_EQ(form.leave_folder("path_Report", ""), folder("Report"));
  EXPECT_EQ(ini("path_Report"), folder("Report"));
  EXPECT_EQ(form.leave_folder("path_kps", ""), folder("KPS"));
  EXPECT_EQ(form.leave_folder("path_error", ""), folder("Error"));
  EXPECT_EQ(form.leave_folder("path_out7", ""), folder("Out_7"));
  // A typed folder is taken as typed, whether it exists or not.
  EXPECT_EQ(form.leave_folder("path_in4", "/nowhere/packs"), "/nowhere/packs");
  EXPECT_EQ(ini("path_in4"), "/nowhere/packs");
}

TEST_F(SettingsFormTest, PlainFieldsAreWrittenBlankIncluded) {
  app::SettingsForm form(session());
  EXPECT_EQ(form.leave_text("path_Arhiv", ""), "");
  EXPECT_TRUE(session().ini.has_setting("odna_pch", "path_Arhiv"));
  EXPECT_EQ(ini("path_Arhiv"), "");
  EXPECT_EQ(session().settings.path_Arhiv, "");
  // Blanks of a parameter text are kept; a text longer than its width is cut.
  form.leave_text("par_ChPSN", " K# ");
  EXPECT_EQ(ini("par_ChPSN"), " K# ");
  EXPECT_EQ(form.leave_text("imj_Arh", "a_very_long_archive_name_indeed"), "a_very_long_archive_");
  form.set_flag("fl_p4", true);
  form.set_flag("fl_p7zap", false);
  EXPECT_EQ(ini("fl_p4"), "1");
  EXPECT_EQ(ini("fl_p7zap"), "0");
  EXPECT_EQ(session().settings.fl_p4, 1);
}

TEST_F(SettingsFormTest, OutputFolderByButtonIsWrittenUnderItsOwnKeySpelling) {
  // A fresh settings file without the key, so that the spelling of the entry shows.
  fs::remove(dir / "tolvex.ini");
  session().ini.reload();
  app::SettingsForm form(session());
  op.folders.push_back(dir / "Elsewhere");
  std::string v = form.browse_folder("path_out7", app::SettingsForm::browse_title("path_out7"));
  EXPECT_EQ(v, folder("Elsewhere"));
  EXPECT_NE(read(dir / "tolvex.ini").find("path_Out7="), std::string::npos);
  EXPECT_EQ(op.log.back(), "folder dialog Выбор выходного каталога XML");
  // A cancelled folder dialog rewrites the unchanged value.
  fs::remove(dir / "tolvex.ini");
  session().ini.reload();
  EXPECT_EQ(form.browse_folder("path_kps", app::SettingsForm::browse_title("path_kps")), session().settings.path_kps);
  EXPECT_EQ(ini("path_kps"), session().settings.path_kps);
  EXPECT_EQ(op.log.back(), "folder dialog Выбор каталога справочников ");
}

TEST_F(SettingsFormTest, CancelledProgramDialogWarnsOnlyWithoutAProgram) {
  app::SettingsForm form(session());
  // The field names an existing file: no warning, the value stays and is rewritten.
  std::ofstream(dir / "checker.exe") << "x";
  std::string checker = runtime::path_to_ansi(dir / "checker.exe");
  form.leave_text("path_ChPSN", checker);
  op.log.clear();
  EXPECT_EQ(form.browse_program("path_ChPSN", app::SettingsForm::browse_title("path_ChPSN")), checker);
  EXPECT_EQ(op.log, std::vector<std::string>{"file dialog Выбор программы проверки пачек 4 формата"});
  EXPECT_EQ(ini("path_ChPSN"), checker);

  // Each program field has its own warning; the field is cleared and written empty.
  struct Case {
    const char* key;
    const char* warning;
  } cases[] = {
      {"path_ChXML", "Программа проверки XMLне выбрана! Проверка НЕ возможна !!"},
      {"path_Arh_prg", "Программа архиватор не выбрана! Архивация НЕ возможна !!"},
      {"path_edit", "Программа просмотра не выбрана! Просмотр НЕ возможен !!"},
      {"path_ChPSN", "Программа проверки не выбрана! Проверка НЕ возможна !!"},
  };
  fs::remove(dir / "checker.exe");
  for (const auto& c : cases) {
    op.log.clear();
    EXPECT_EQ(form.browse_program(c.key, app::SettingsForm::browse_title(c.key)), "") << c.key;
    ASSERT_EQ(op.log.size(), 2u) << c.key;
    EXPECT_EQ(op.log[1], std::string("box ПРЕДУПРЕЖДЕНИЕ !!!: ") + c.warning);
    EXPECT_TRUE(session().ini.has_setting("odna_pch", c.key));
    EXPECT_EQ(ini(c.key), "");
  }
  // A program chosen in the dialog is taken and written.
  op.files.push_back(dir / "zip");
  EXPECT_EQ(form.browse_program("path_Arh_prg", "t"), runtime::path_to_ansi(dir / "zip"));
  EXPECT_EQ(session().settings.path_Arh_prg, runtime::path_to_ansi(dir / "zip"));
}

TEST_F(SettingsFormTest, DateTimeSwitchMakesTheArchiveNameAndTheSampleLine) {
  app::SettingsForm form(session());
  EXPECT_EQ(form.sample_line(), "");
  form.leave_text("path_Arhiv", "/arh/");
  clock.time.hour = 14;
  clock.time.minute = 35;
  form.set_zip_dt(true);
  EXPECT_EQ(session().settings.imj_Arh, "261208_1435");
  EXPECT_EQ(form.sample_line(), " -add /arh/261208_1435");
  EXPECT_EQ(ini("zip_dt"), "1");
  // The name lives in memory only.
  EXPECT_EQ(ini("imj_Arh"), "arhiv");
  form.set_zip_dt(false);
  EXPECT_EQ(session().settings.imj_Arh, "arhiv");
  EXPECT_EQ(form.sample_line(), " -add /arh/arhiv");
  EXPECT_EQ(ini("zip_dt"), "0");
  EXPECT_EQ(session().settings.zip_dt, 0);
}
