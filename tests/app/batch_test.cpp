// SPDX-License-Identifier: MIT
// The batch conversion of a folder, and starting external programs.
#include "app/batch.h"

#include <chrono>
#include <random>
#include <thread>

#include "app/batch_form.h"
#include "app/process.h"
#include "program_folder.h"
#include "runtime/file_error.h"
#include "runtime/paths.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;
using namespace tolvex;
using fakes::kHeader;

namespace {

class Batch : public fakes::ProgramFolder {};

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
  EXPECT_EQ(arguments(0), "-add|<DIR>/Arh/261208_1015|<DIR>/In_4/*.*|<DIR>/Out_7/*.*");
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
  EXPECT_EQ(s.not_converted, 2u);  // СЗИ-3 and ЭЦПД: the frame only
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

TEST_F(Batch, InputFolderThatCannotBeListedStopsBeforeTheArchiver) {
  std::ofstream(dir / "plain", std::ios::binary) << "a file where the folder should be";
  for (const char* sub : {"missing", "plain"}) {
    start();
    session().settings.input_folder = runtime::path_to_ansi(dir / sub);
    app::BatchSummary s = app::BatchRun(session(), pack_state()).run();
    EXPECT_EQ(s.folder_error, runtime::Error::path_not_found) << sub;
    EXPECT_TRUE(programs.runs.empty()) << sub;
    std::string folder = "<DIR>/" + std::string(sub) + "/";
    const std::string head = "Журнал конвертации пачек 4 формата ПФР в 7 формат 08/12/2026\n\nНачало пакета 10:15:30\n";
    EXPECT_EQ(journal(),
              head + "3 Не могу прочитать входной каталог " + folder + "\nПуть не найден\nКонец пакета 10:15:30\n");
    EXPECT_EQ(with_dir(runtime::utf8_to_ansi(op.log.back())),
              "box Сообщение: Не могу прочитать входной каталог " + folder + ": Путь не найден (3)");
    program.reset();
  }
}

TEST_F(Batch, MoreThan255Packs) {
  for (int i = 0; i < 300; ++i) {
    std::string pch = "ПАЧК," + std::to_string(i) + ",,,01.01.2011\n";
    pack("p" + std::to_string(1000 + i) + ".txt", "ЗГЛВ,П4.10,X,1\nИСТ4,ВЗЛ,075-001-000002\n" + pch + "ДОКТ,ЭЦПД,0\n");
  }
  start();
  app::BatchSummary s = app::BatchRun(session(), pack_state()).run();
  EXPECT_EQ(s.not_converted, 300u);
  EXPECT_EQ(outputs().size(), 300u);
}

// Converted, not converted (a kind answered with a message), rejected and failed are counted
// apart, each with its packs; a stop asked during the batch ends it after the current pack.
TEST_F(Batch, OutcomesCountedApartAndStopAfterTheCurrentPack) {
  pack("a.txt", kHeader + "ДОКТ,АНКТ,1\nАНК1,0,01.01.2011,Иванов,Иван\n");
  pack("b.txt", "ЗГЛВ,П4.10,X,1\nИСТ4,ВЗЛ,075-001-000002\nПАЧК,3,,,01.01.2011\nДОКТ,СПВП,0\n");
  pack("c.txt", "not a pack\n");
  pack("d.txt", "ЗГЛВ,П4.10,X,1\nИСТ4,ВЗЛ,075-001-000003\nПАЧК,4,,,01.01.2011\nДОКТ,АНКТ,0\n");
  // d.txt's XML name is taken by a folder: its file cannot be made.
  fs::create_directories(dir / "Out_7" / "PFR-700-Y-2011-ORG-075-001-000003-DCK-00004-DPT-000000-DCK-00000.XML");
  start();
  app::BatchSummary s = app::BatchRun(session(), pack_state()).run();
  EXPECT_EQ((std::vector<std::size_t>{s.packs, s.converted, s.not_converted, s.rejected, s.failed}),
            (std::vector<std::size_t>{4, 1, 1, 1, 1}));
  EXPECT_FALSE(s.stopped);
  struct Row {
    core::PackOutcome outcome;
    const char* pack;
  } rows[] = {{core::PackOutcome::converted, "a.txt"},
              {core::PackOutcome::not_converted, "b.txt"},
              {core::PackOutcome::rejected, "c.txt"},
              {core::PackOutcome::no_output, "d.txt"}};
  for (const Row& r : rows) {
    auto packs = s.of(r.outcome);
    ASSERT_EQ(packs.size(), 1u) << r.pack;
    EXPECT_EQ(packs[0]->pack.filename(), r.pack);
  }
  EXPECT_EQ(s.of(core::PackOutcome::not_converted)[0]->form, runtime::utf8_to_ansi("СЗИ-3"));

  app::BatchRun again(session(), pack_state());
  op.on_progress = [&](std::size_t current) {
    if (current == 2) again.request_stop();
  };
  s = again.run();
  EXPECT_TRUE(s.stopped);
  ASSERT_EQ(s.results.size(), 1u);
  std::string j = journal();
  EXPECT_NE(j.find("Пакет остановлен оператором, обработано пачек: 1 из 4\n0 Архивировали "), std::string::npos) << j;
}

// In one batch a PFR name is given once: a later pack whose XML would take it is refused, told,
// and the earlier XML kept. A link in the input folder is no pack. With the input folder as the
// output folder, no pack is replaced by another pack's XML.
TEST_F(Batch, APfrNameIsGivenOnceLinksAreNoPacksAndNoPackIsReplaced) {
  const std::string name = "PFR-700-Y-2010-ORG-075-001-000001-DCK-00012-DPT-000000-DCK-00000.XML";
  pack("a.txt", kHeader + "ДОКТ,СМРТ,1\nСМРТ,1,Морозов,Николай\n");
  pack("b.txt", kHeader + "ДОКТ,СМРТ,1\nСМРТ,1,Петров,Пётр\n");
#ifndef _WIN32
  fs::create_symlink(dir / "In_4" / "a.txt", dir / "In_4" / "c.txt");
#endif
  start();
  app::BatchSummary s = app::BatchRun(session(), pack_state()).run();
  ASSERT_GE(s.results.size(), 2u);
  EXPECT_EQ(s.results[0].outcome, core::PackOutcome::converted);
  EXPECT_EQ(s.results[1].outcome, core::PackOutcome::no_output);
  EXPECT_EQ(with_dir(s.results[1].name_taken_by), "<DIR>/In_4/a.txt");
  EXPECT_NE(read(dir / "Out_7" / name).find(runtime::utf8_to_ansi("Морозов")), std::string::npos);
  std::string j = journal();
  EXPECT_NE(j.find("Выходной файл уже записан в этом пакете из пачки <DIR>/In_4/a.txt\nНе записали <DIR>/Out_7/" +
                   name + "\n"),
            std::string::npos)
      << j;
#ifndef _WIN32
  ASSERT_EQ(s.results.size(), 3u);
  EXPECT_EQ(s.results[2].outcome, core::PackOutcome::rejected);
  EXPECT_TRUE(s.results[2].link);
  EXPECT_EQ(s.rejected, 1u);
  EXPECT_NE(j.find("Не могу открыть пачку <DIR>/In_4/c.txt\nНе обычный файл\n"), std::string::npos) << j;
  fs::remove(dir / "In_4" / "c.txt");
#endif
  program.reset();

  // a.txt's XML would take the place of the pack listed before it.
  fs::remove(dir / "In_4" / "b.txt");
  pack(name, "not a pack\n");
  start();
  session().settings.output_folder = session().settings.input_folder;
  s = app::BatchRun(session(), pack_state()).run();
  EXPECT_EQ(read(dir / "In_4" / name), "not a pack\r\n");
  ASSERT_EQ(s.results.size(), 2u);
  EXPECT_EQ(s.results[1].outcome, core::PackOutcome::no_output);
  EXPECT_NE(journal().find("Выходной файл совпадает с входной пачкой <DIR>/In_4/" + name), std::string::npos);
}

// Packs converted ahead of their turn on several threads leave what converting them one after
// another leaves: journal, boxes, files and the pack state. A box the operator has to answer
// makes its pack wait for its turn; an abort there ends the batch, the packs after it
// unpublished and no temporary file left.
TEST_F(Batch, PacksConvertedAheadLeaveWhatOneAfterAnotherLeaves) {
  pack("1.txt", kHeader + "ДОКТ,СМРТ,1\nСМРТ,1,Морозов,Николай\n");
  pack("2.txt", "not a pack\n");
  pack("3.txt", kHeader + "ДОКТ,ЭЦПД,0\n");  // a warning, and the PFR name of 1.txt
  pack("4.txt", kHeader +                    // a period line of a wrong type: a stop box
                    "ДОКТ,КОНВ,1\nКОНВ,1,ОТМН,112-233-445 95,Иванов,Иван,Иванович,СТАНДАРТ,12.03.1950,,,,,0.00,25,3,"
                    "10,20.06.2010,1,,,\nРАБ1,1,Завод,РАБОТА,1\nПСТ ,1,01.01.1981,31.12.1985\n");
  pack("5.txt", "ЗГЛВ,П4.10,X,1\nИСТ4,ВЗЛ,075-001-000002\nПАЧК,3,,,01.01.2011\nДОКТ,СМРТ,1\nСМРТ,1,Петров\n");
  auto run = [&](std::size_t jobs, bool answers_by_rule, std::deque<core::Button> answers) {
    fs::remove_all(dir / "Out_7");
    start();
    op.log.clear();
    op.answers = std::move(answers);
    op.by_rule = answers_by_rule;
    app::BatchRun batch(session(), pack_state());
    batch.set_jobs(jobs);
    std::string left;
    try {
      for (const auto& r : batch.run().results) left += r.pack.filename().string() + "\n";
    } catch (const core::ProgramEnd& end) {
      left += "ended: " + end.text() + "\n";
    }
    left += runtime::path_to_ansi(pack_state().pack) + " " + pack_state().output_full_name + "\n";
    program.reset();  // the end of the program: a file still open is removed
    for (const auto& f : outputs()) left += f.filename().string() + ": " + read(f) + "\n";
    return journal() + op.joined_log() + with_dir(left);
  };
  const std::string one_after_another = run(1, false, {});
  EXPECT_EQ(run(4, true, {}), one_after_another);
  EXPECT_EQ(run(4, false, {}), one_after_another);
  // The boxes of 2.txt and 3.txt are answered, then the stop box of 4.txt ends the program.
  const std::deque<core::Button> abort_at_4 = {core::Button::yes, core::Button::yes, core::Button::ok,
                                               core::Button::abort};
  const std::string aborted = run(1, false, abort_at_4);
  EXPECT_NE(aborted.find("ended: "), std::string::npos) << aborted;
  EXPECT_EQ(aborted.find("000002"), std::string::npos) << "5.txt was published: " << aborted;
  EXPECT_EQ(run(4, false, abort_at_4), aborted);
}

TEST_F(Batch, ArchiveNamesAndCheckers) {
  pack("a.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  pack("b.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  start();
  auto& st = session().settings;
  st.dated_archive_name = 0;
  st.archive_name = "";
  st.check_batch_packs = 1;
  st.check_output_xml = 1;
  st.pack_checker = "/opt/check4";
  st.xml_checker = "/opt/check7";
  static_cast<void>(app::BatchRun(session(), pack_state()).run());  // the programs run are looked at
  ASSERT_EQ(programs.runs.size(), 4u);
  EXPECT_EQ(arguments(0), "U#|<DIR>/In_4/a.txt");
  EXPECT_TRUE(programs.runs[0].wait);
  EXPECT_EQ(arguments(1), "U#|<DIR>/In_4/b.txt");
  EXPECT_NE(arguments(2).find("|<DIR>/Arh/arhiv|"), std::string::npos);
  EXPECT_EQ(programs.runs[3].program, "/opt/check7");
  EXPECT_EQ(arguments(3), "<DIR>/Out_7/");
  programs.runs.clear();
  st.archive_name = "kvartal3";
  st.check_batch_packs = st.check_output_xml = 0;
  static_cast<void>(app::BatchRun(session(), pack_state()).run());  // the programs run are looked at
  EXPECT_NE(arguments(0).find("|<DIR>/Arh/kvartal3|"), std::string::npos);
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
  EXPECT_EQ(fakes::slashes(ini.get_setting("odna_pch", "path_in4")),
            fakes::slashes(runtime::path_to_ansi(dir / "in2")));
  EXPECT_EQ(fakes::slashes(ini.get_setting("odna_pch", "path_Out7")),
            fakes::slashes(runtime::path_to_ansi(dir / "out2")));
}

// The batch window's rules: the count follows the input folder chosen; the buttons are given up
// once "&OK" has run, and the window closes once.
TEST_F(Batch, WindowCountsTheChosenFolderAndClosesOnce) {
  pack("a.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  fs::create_directories(dir / "other");
  start();
  app::BatchForm form(session(), pack_state());
  EXPECT_EQ(form.fields().count, "1");
  op.folders = {dir / "other"};
  form.choose_input_folder();
  EXPECT_EQ(form.fields().count, "0");
  EXPECT_TRUE(form.ok());
  EXPECT_FALSE(form.ok_enabled() || form.folders_enabled() || form.cancel_enabled());
  EXPECT_EQ(op.log.back().find("box Сообщение: Пачек в каталоге: 0.\nСконвертировано: 0."), 0u) << op.log.back();
  EXPECT_FALSE(form.cancel());
  EXPECT_EQ(app::short_name(fs::path(u"пачка_за_май.txt")), u"ПАЧКА_ЗА.TXT");
  EXPECT_EQ(app::short_name(fs::path(u"ёж")), u"ЁЖ");
}

TEST(Programs, ParameterTextSplitsAsACommandLine) {
  using V = std::vector<std::string>;
  const std::pair<std::string_view, V> cases[] = {
      {" -add  /a/b c ", {"-add", "/a/b", "c"}},
      {"\"with blank\" x", {"with blank", "x"}},
      {"; rm -rf /", {";", "rm", "-rf", "/"}},  // no shell ever sees it
      {"", {}},
      {R"(C:\Program Files\z.exe)", {R"(C:\Program)", R"(Files\z.exe)"}},
      {R"("C:\Program Files\z.exe" -y)", {R"(C:\Program Files\z.exe)", "-y"}},
      {R"(a\\b)", {R"(a\\b)"}},        // backslashes not before a quote are kept
      {R"("a\"b" c)", {"a\"b", "c"}},  // an escaped quote
      {R"(a\\"b c")", {R"(a\b c)"}},   // 2n backslashes and a quote: n, and the quote opens
      {R"("a""b")", {"a\"b"}},         // "" inside quotes
      {"\"\" x", {"", "x"}},           // an empty argument
  };
  for (const auto& [text, args] : cases) EXPECT_EQ(core::split_command_line(text), args) << text;
}

TEST(Programs, WindowsCommandLineGivesEveryArgumentBack) {
  const std::vector<std::string> args = {"plain",         "with blank",    "",
                                         "quote\"inside", R"(trail\)",     R"(two\\"q)",
                                         "tab\there",     "x --all y.txt", R"(C:\in dir\*.*)"};
  std::vector<std::string> back =
      core::split_command_line(app::windows_command_line(R"(C:\Program Files\z.exe)", args));
  ASSERT_FALSE(back.empty());
  EXPECT_EQ(back.front(), R"(C:\Program Files\z.exe)");
  EXPECT_EQ(std::vector<std::string>(back.begin() + 1, back.end()), args);
}

namespace {

// The test program that writes the arguments it was given, one a line, into its first one.
fs::path argv_echo() {
#ifdef _WIN32
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path() / "argv_echo.exe";
#else
  return fs::read_symlink("/proc/self/exe").parent_path() / "argv_echo";
#endif
}

}  // namespace

TEST(Programs, EveryInsertedNameArrivesAsOneArgument) {
  // A name of this run's own: test runs of other build trees may run beside this one.
  fs::path mark = fs::temp_directory_path() / ("tolvex-argv-mark-" + std::to_string(std::random_device{}()));
  fs::remove(mark);
  app::ProcessRunner r;
  core::ProgramArguments args;
  args.name(runtime::path_to_ansi(mark)).parameters(R"( -add "a b" c\d )");
  args.name("in dir/*.*").name("x --all y.txt").name("say \"hi\"").name(R"(end\)").name("");
  r.run_program(runtime::path_to_ansi(argv_echo()), args, true);
  std::ifstream in(mark, std::ios::binary);
  std::stringstream got;
  got << in.rdbuf();
  EXPECT_EQ(got.str(), "-add\na b\nc\\d\nin dir/*.*\nx --all y.txt\nsay \"hi\"\nend\\\n\n");
  in.close();
  fs::remove(mark);
  r.run_program("/no/such/program", core::ProgramArguments().name("x"), true);  // not reported
  r.run_program("", core::ProgramArguments(), false);
}

#ifndef _WIN32
// An archiver's failure is known: waited for, from its result; started beside the program, from
// the runner asked later (the desktop programs ask it every second), and told in the journal
// and a box. Other programs are not watched.
TEST_F(Batch, AFailedArchiverIsToldWaitedForOrNot) {
  start();
  app::ProcessRunner r;
  EXPECT_EQ(r.run_program("/bin/false", core::ProgramArguments().archive("A"), true).status, 1);
  EXPECT_FALSE(r.run_program("/bin/true", core::ProgramArguments(), true).failed());
  EXPECT_FALSE(r.run_program("/no/such/program", core::ProgramArguments().archive("N"), true).started);
  r.run_program("/bin/false", core::ProgramArguments().archive("B"), false);
  r.run_program("/bin/true", core::ProgramArguments().archive("C"), false);
  r.run_program("/bin/false", core::ProgramArguments(), false);
  for (int i = 0; i < 500 && op.log.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    r.tell_failed_archivers(session());
  }
  EXPECT_EQ(op.joined_log(), "box Сообщение: Архиватор не записал архив B, код завершения 1\n");
  EXPECT_NE(journal().find("Не архивировали B"), std::string::npos) << journal();
  EXPECT_TRUE(r.take_failed_archivers().empty());
}
#endif
