// The batch conversion of a folder, and starting external programs.
#include "fixture.h"

#include "app/batch.h"
#include "app/process.h"
#include "runtime/paths.h"

namespace fs = std::filesystem;
using namespace tolvex;
using fakes::kHeader;

namespace {

class Batch : public fakes::ProgramFolder {
 protected:
  std::string folder(const fs::path& p) { return fakes::slashes(runtime::path_to_ansi(p)) + "/"; }
};

}  // namespace

TEST_F(Batch, EmptyFolderStillArchivesAndJournals) {
  start();
  app::BatchSummary s = app::BatchRun(session(), pack_state()).run();
  EXPECT_EQ(s.packs, 0u);
  EXPECT_EQ(journal(),
            "Журнал конвертации пачек 4 формата ПФР в 7 формат 08/12/2026\n\n"
            "Начало пакета 10:15:30\n"
            "0 Архивировали <DIR>/Arh/261208_1015\n"
            "Конец пакета 10:15:30\n");
  ASSERT_EQ(programs.runs.size(), 1u);
  EXPECT_EQ(fakes::slashes(programs.runs[0].parameters),
            " -add " + folder(dir / "Arh") + "261208_1015 " + folder(dir / "In_4") + "*.* " + folder(dir / "Out_7") + "*.* ");
}

TEST_F(Batch, EveryRegularFileInNameOrderSubfoldersSkipped) {
  pack("b.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  pack("a.txt", "ЗГЛВ,П4.10,X,1\nИСТ4,ВЗЛ,075-001-000002\nПАЧК,3,,,01.01.2011\nДОКТ,СПВП,0\n");
  pack("c.txt", "not a pack\n");
  fs::create_directories(dir / "In_4" / "sub");
  pack("sub/inner.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  start();
  app::BatchSummary s = app::BatchRun(session(), pack_state()).run();
  EXPECT_EQ(s.packs, 3u);
  EXPECT_EQ(s.converted, 2u);
  ASSERT_EQ(s.results.size(), 3u);
  EXPECT_EQ(s.results[0].pack.filename(), "a.txt");
  EXPECT_EQ(s.results[1].pack.filename(), "b.txt");
  EXPECT_EQ(s.results[2].outcome, core::PackOutcome::rejected);
  EXPECT_EQ(outputs().size(), 2u);
  std::string j = journal();
  // The second pack closes the output name of the first.
  EXPECT_NE(j.find("0 Зак.стар.<DIR>/Out_7/PFR-700-Y-2011-ORG-075-001-000002-DCK-00003-DPT-000000-DCK-00000.XML\n"),
            std::string::npos)
      << j;
  EXPECT_EQ(j.find("inner.txt"), std::string::npos);
}

TEST_F(Batch, MoreThan255Packs) {
  for (int i = 0; i < 300; ++i) {
    std::string pch = "ПАЧК," + std::to_string(i) + ",,,01.01.2011\n";
    pack("p" + std::to_string(1000 + i) + ".txt", "ЗГЛВ,П4.10,X,1\nИСТ4,ВЗЛ,075-001-000002\n" + pch + "ДОКТ,ЭЦПД,0\n");
  }
  start();
  app::BatchSummary s = app::BatchRun(session(), pack_state()).run();
  EXPECT_EQ(s.converted, 300u);
  EXPECT_EQ(outputs().size(), 300u);
}

TEST_F(Batch, ArchiveNamesAndCheckers) {
  pack("a.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  pack("b.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  start();
  auto& st = session().settings;
  st.zip_dt = 0;
  st.imj_Arh = "";
  st.fl_p4all = 1;
  st.fl_p7zap = 1;
  st.path_ChPSN = "/opt/check4";
  st.path_ChXML = "/opt/check7";
  app::BatchRun(session(), pack_state()).run();
  ASSERT_EQ(programs.runs.size(), 4u);
  EXPECT_EQ(fakes::slashes(programs.runs[0].parameters), " U# " + fakes::slashes(runtime::path_to_ansi(dir / "In_4" / "a.txt")));
  EXPECT_TRUE(programs.runs[0].wait);
  EXPECT_EQ(fakes::slashes(programs.runs[1].parameters), " U# " + fakes::slashes(runtime::path_to_ansi(dir / "In_4" / "b.txt")));
  EXPECT_NE(fakes::slashes(programs.runs[2].parameters).find("/Arh/arhiv "), std::string::npos);
  EXPECT_EQ(programs.runs[3].program, "/opt/check7");
  EXPECT_EQ(fakes::slashes(programs.runs[3].parameters), " " + folder(dir / "Out_7"));
  programs.runs.clear();
  st.imj_Arh = "kvartal3";
  st.fl_p4all = st.fl_p7zap = 0;
  app::BatchRun(session(), pack_state()).run();
  EXPECT_NE(fakes::slashes(programs.runs.at(0).parameters).find("/Arh/kvartal3 "), std::string::npos);
}

TEST_F(Batch, FolderChoicesAreWritten) {
  start();
  op.folders = {dir / "in2", dir / "out2"};
  app::BatchRun b(session(), pack_state());
  ASSERT_TRUE(b.choose_input_folder());
  ASSERT_TRUE(b.choose_output_folder());
  EXPECT_FALSE(b.choose_input_folder());
  program.reset();
  core::IniStore ini(dir / "tolvex.ini");
  EXPECT_EQ(fakes::slashes(ini.get_setting("odna_pch", "path_in4")), fakes::slashes(runtime::path_to_ansi(dir / "in2")));
  EXPECT_EQ(fakes::slashes(ini.get_setting("odna_pch", "path_Out7")), fakes::slashes(runtime::path_to_ansi(dir / "out2")));
}

TEST(Programs, ParameterTextSplitsAtBlanks) {
  using V = std::vector<std::string>;
  EXPECT_EQ(app::split_parameters(" -add  /a/b c "), (V{"-add", "/a/b", "c"}));
  EXPECT_EQ(app::split_parameters("\"with blank\" x"), (V{"with blank", "x"}));
  EXPECT_EQ(app::split_parameters("; rm -rf /"), (V{";", "rm", "-rf", "/"}));  // no shell ever sees it
  EXPECT_EQ(app::split_parameters(""), V{});
}

#ifndef _WIN32  // starts a program of this machine
TEST(Programs, StartsAProcessAndWaits) {
  fs::path mark = fs::temp_directory_path() / "tolvex-process-mark";
  fs::remove(mark);
  app::ProcessRunner r;
  r.run_program("/usr/bin/touch", runtime::path_to_ansi(mark), true);
  EXPECT_TRUE(fs::exists(mark));
  fs::remove(mark);
  r.run_program("/no/such/program", "x", true);  // not reported
  r.run_program("", "x", false);
}
#endif
