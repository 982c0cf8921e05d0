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

// Every field and switch the window shows reaches its setting, and every "..." button has its
// dialog's title: a misspelt key would leave a control that writes nothing.
TEST_F(SettingsFormTest, EveryControlOfEveryPageReachesItsSetting) {
  using K = app::SettingsItemKind;
  app::SettingsForm form(session());
  std::size_t controls = 0;
  for (const app::SettingsPage& page : app::settings_pages())
    for (const app::SettingsItem& item : page.items) {
      if (item.kind == K::check) {
        form.set_flag(item.key, true);
        EXPECT_EQ(form.flag(item.key), 1) << item.key;
      } else if (item.kind != K::note && item.kind != K::shown && item.kind != K::sample) {
        EXPECT_EQ(form.leave_text(item.key, "x"), "x");
        EXPECT_EQ(form.value(item.key), "x") << item.key;
      } else {
        continue;
      }
      ++controls;
      if (item.kind == K::program || item.folder_button) {
        EXPECT_FALSE(app::SettingsForm::browse_title(item.key).empty()) << item.key;
      }
      if (item.kind == K::program) {
        EXPECT_FALSE(app::SettingsForm::program_warning(item.key).empty()) << item.key;
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
