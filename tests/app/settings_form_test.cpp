// SPDX-License-Identifier: MIT
// The settings window's rules: what each control writes when it is left, the defaults of
// cleared folders, the warnings of program fields left without a program, the archive sample.
#include "app/settings_form.h"

#include <fstream>

#include "app/main_form.h"
#include "program_folder.h"
#include "runtime/paths.h"

namespace fs = std::filesystem;
using namespace tolvex;
using namespace tolvex::runtime::literals;
using tolvex::core::Setting;

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
  EXPECT_EQ(form.leave(Setting::input_folder, "   "), folder("In_4"));
  EXPECT_EQ(ini("path_in4"), folder("In_4"));
  EXPECT_EQ(session().settings.input_folder, folder("In_4"));
  // The report folder in this window's spelling, not the start-up one.
  EXPECT_EQ(form.leave(Setting::report_folder, ""), folder("Report"));
  EXPECT_EQ(ini("path_Report"), folder("Report"));
  EXPECT_EQ(form.leave(Setting::reference_folder, ""), folder("KPS"));
  EXPECT_EQ(form.leave(Setting::error_folder, ""), folder("Error"));
  EXPECT_EQ(form.leave(Setting::output_folder, ""), folder("Out_7"));
  // A typed folder is taken as typed, whether it exists or not.
  EXPECT_EQ(form.leave(Setting::input_folder, "/nowhere/packs"), "/nowhere/packs");
  EXPECT_EQ(ini("path_in4"), "/nowhere/packs");
}

TEST_F(SettingsFormTest, PlainFieldsAreWrittenBlankIncluded) {
  app::SettingsForm form(session());
  EXPECT_EQ(form.leave(Setting::archive_folder, ""), "");
  EXPECT_TRUE(session().ini.has_setting("odna_pch", "path_Arhiv"));
  EXPECT_EQ(ini("path_Arhiv"), "");
  EXPECT_EQ(session().settings.archive_folder, "");
  // Blanks of a parameter text are kept; a text longer than its width is cut.
  form.leave(Setting::pack_checker_parameters, " K# ");
  EXPECT_EQ(ini("par_ChPSN"), " K# ");
  EXPECT_EQ(form.leave(Setting::archive_name, "a_very_long_archive_name_indeed"), "a_very_long_archive_");
  form.set_flag(Setting::check_one_pack, true);
  form.set_flag(Setting::check_output_xml, false);
  EXPECT_EQ(ini("fl_p4"), "1");
  EXPECT_EQ(ini("fl_p7zap"), "0");
  EXPECT_EQ(session().settings.check_one_pack, 1);
}

TEST_F(SettingsFormTest, OutputFolderByButtonIsWrittenUnderItsOwnKeySpelling) {
  // A fresh settings file without the key, so that the spelling of the entry shows.
  fs::remove(dir / "tolvex.ini");
  session().ini.reload();
  app::SettingsForm form(session());
  op.folders.push_back(dir / "Elsewhere");
  std::string v = form.browse(Setting::output_folder);
  EXPECT_EQ(v, folder("Elsewhere"));
  EXPECT_NE(read(dir / "tolvex.ini").find("path_Out7="), std::string::npos);
  EXPECT_EQ(op.log.back(), "folder dialog Выбор выходного каталога XML");
  // A cancelled folder dialog rewrites the unchanged value.
  fs::remove(dir / "tolvex.ini");
  session().ini.reload();
  EXPECT_EQ(form.browse(Setting::reference_folder), session().settings.reference_folder);
  EXPECT_EQ(ini("path_kps"), session().settings.reference_folder);
  EXPECT_EQ(op.log.back(), "folder dialog Выбор каталога справочников ");
}

TEST_F(SettingsFormTest, CancelledProgramDialogWarnsOnlyWithoutAProgram) {
  app::SettingsForm form(session());
  // The field names an existing file: no warning, the value stays and is rewritten.
  std::ofstream(dir / "checker.exe") << "x";
  std::string checker = runtime::path_to_ansi(dir / "checker.exe");
  form.leave(Setting::pack_checker, checker);
  op.log.clear();
  EXPECT_EQ(form.browse(Setting::pack_checker), checker);
  EXPECT_EQ(op.log, std::vector<std::string>{"file dialog Выбор программы проверки пачек 4 формата"});
  EXPECT_EQ(ini("path_ChPSN"), checker);

  // Each program field has its own warning; the field is cleared and written empty.
  struct Case {
    Setting setting;
    const char* key;
    const char* warning;
  } cases[] = {
      {Setting::xml_checker, "path_ChXML", "Программа проверки XMLне выбрана! Проверка НЕ возможна !!"},
      {Setting::archiver, "path_Arh_prg", "Программа архиватор не выбрана! Архивация НЕ возможна !!"},
      {Setting::viewer, "path_edit", "Программа просмотра не выбрана! Просмотр НЕ возможен !!"},
      {Setting::pack_checker, "path_ChPSN", "Программа проверки не выбрана! Проверка НЕ возможна !!"},
  };
  fs::remove(dir / "checker.exe");
  for (const auto& c : cases) {
    op.log.clear();
    EXPECT_EQ(form.browse(c.setting), "") << c.key;
    ASSERT_EQ(op.log.size(), 2u) << c.key;
    EXPECT_EQ(op.log[1], std::string("box ПРЕДУПРЕЖДЕНИЕ !!!: ") + c.warning);
    EXPECT_TRUE(session().ini.has_setting("odna_pch", c.key));
    EXPECT_EQ(ini(c.key), "");
  }
  // A program chosen in the dialog is taken and written.
  op.files.push_back(dir / "zip");
  EXPECT_EQ(form.browse(Setting::archiver), runtime::path_to_ansi(dir / "zip"));
  EXPECT_EQ(session().settings.archiver, runtime::path_to_ansi(dir / "zip"));
}

TEST_F(SettingsFormTest, DateTimeSwitchMakesTheArchiveNameAndTheSampleLine) {
  app::SettingsForm form(session());
  EXPECT_EQ(form.sample_line(), "");
  form.leave(Setting::archive_folder, "/arh/");
  clock.time.hour = 14;
  clock.time.minute = 35;
  form.set_flag(Setting::dated_archive_name, true);
  EXPECT_EQ(session().settings.archive_name, "261208_1435");
  EXPECT_EQ(form.sample_line(), " -add /arh/261208_1435");
  EXPECT_EQ(ini("zip_dt"), "1");
  // The name lives in memory only.
  EXPECT_EQ(ini("imj_Arh"), "arhiv");
  form.set_flag(Setting::dated_archive_name, false);
  EXPECT_EQ(session().settings.archive_name, "arhiv");
  EXPECT_EQ(form.sample_line(), " -add /arh/arhiv");
  EXPECT_EQ(ini("zip_dt"), "0");
  EXPECT_EQ(session().settings.dated_archive_name, 0);
}

// Every field and switch the window shows reaches its variable, and every program's "..." button
// has its dialog's title and its warning: a row without them would leave a control that writes
// nothing or a dialog without a title.
TEST_F(SettingsFormTest, EveryControlOfEveryPageReachesItsSetting) {
  app::SettingsForm form(session());
  std::size_t controls = 0;
  for (const app::SettingsPage& page : app::settings_pages())
    for (const app::SettingsItem& item : page.items) {
      if (item.kind != app::SettingsItemKind::setting) continue;
      const core::SettingRow& row = core::setting_row(item.setting);
      EXPECT_FALSE(row.caption.empty()) << row.key;
      if (row.kind == core::SettingKind::flag) {
        form.set_flag(item.setting, true);
        EXPECT_EQ(form.flag(item.setting), 1) << row.key;
      } else {
        EXPECT_EQ(form.leave(item.setting, "x"), "x");
        EXPECT_EQ(form.value(item.setting), "x") << row.key;
      }
      ++controls;
      if (row.kind == core::SettingKind::folder || row.kind == core::SettingKind::program) {
        EXPECT_FALSE(row.dialog_title.empty()) << row.key;
      }
      if (row.kind == core::SettingKind::program) {
        EXPECT_FALSE(row.warning.empty()) << row.key;
      }
    }
  EXPECT_EQ(controls, 17u);
}

// The main window opens one window of its buttons at a time, none while the program ends, and
// is free again when that window ends by an exception (the program ending).
TEST(MainForm, OneWindowAtATimeAndFreeAfterAnEnd) {
  app::MainForm form;
  int opened = 0;
  EXPECT_FALSE(form.open(true, [&] { ++opened; }));
  EXPECT_TRUE(form.open(false, [&] {
    ++opened;
    EXPECT_FALSE(form.may_close(false));
    EXPECT_TRUE(form.may_close(true));
    EXPECT_FALSE(form.takes_drop());
    EXPECT_FALSE(form.open(false, [&] { ++opened; }));
  }));
  EXPECT_EQ(opened, 1);
  EXPECT_THROW(form.open(false, [] { throw core::ProgramEnd("end", 3); }), core::ProgramEnd);
  EXPECT_TRUE(form.may_close(false));
  EXPECT_TRUE(form.takes_drop());
}

TEST_F(SettingsFormTest, ADroppedFolderIsNoPack) {
  fs::create_directories(dir / "In_4");
  std::ofstream(dir / "pack.txt") << "x";
  std::vector<fs::path> files{dir / "In_4", dir / "missing", dir / "pack.txt"};
  EXPECT_EQ(app::MainForm::dropped_pack(files), dir / "pack.txt");
  EXPECT_EQ(app::MainForm::dropped_pack(std::span(files).first(2)), std::nullopt);
}
