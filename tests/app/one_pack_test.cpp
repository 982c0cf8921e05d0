// The one-pack procedure as its window drives it, and the start of the program.
#include "fixture.h"

#include <set>

#include "app/document_kinds.h"
#include "core/one_pack.h"
#include "runtime/paths.h"

namespace fs = std::filesystem;
using namespace tolvex;
using namespace tolvex::runtime::literals;
using fakes::kHeader;
using fakes::kOutName;

namespace {

class OnePack : public fakes::ProgramFolder {};

}  // namespace

TEST_F(OnePack, StartMakesReportFolderAndEmptiesTheJournal) {
  fs::create_directories(dir / "Report");
  std::ofstream(dir / "Report" / "tolvex.log", std::ios::binary) << "old run\r\n";
  start();
  program.reset();
  start();
  EXPECT_EQ(journal(), "Журнал конвертации пачек 4 формата ПФР в 7 формат 08/12/2026\n\n");
  program.reset();
  fs::remove_all(dir / "Report");
  start();  // a missing journal folder is made
  EXPECT_TRUE(fs::exists(dir / "Report" / "tolvex.log"));
  EXPECT_TRUE(op.log.empty());
}

TEST_F(OnePack, JournalHeldByAnotherRunEndsTheProgram) {
  start();
  fakes::ScriptedOperator other;
  EXPECT_THROW(app::Program(dir, other, clock, programs), core::ProgramEnd);
  ASSERT_EQ(other.log.size(), 1u);
  EXPECT_EQ(other.log[0],
            "box Ошибка доступа к файлу: Файл (Report" + std::string(runtime::separator()) +
                "tolvex.log) не м.б. открыт.  Ошибка: Файл уже заблокирован (32).");
}

TEST_F(OnePack, JournalThatCannotBeMadeShowsWarningFour) {
  std::ofstream(dir / "Report", std::ios::binary) << "a file where the folder should be";
  try {
    start();
    FAIL() << "the program should have ended";
  } catch (const core::ProgramEnd& end) {
    EXPECT_EQ(runtime::ansi_to_utf8(end.text()), "Ошибка создания Файла!");
  }
  ASSERT_EQ(op.log.size(), 1u);
  EXPECT_EQ(op.log[0].rfind("box  Ошибка создания Файла: Ошибка: (", 0), 0u) << op.log[0];
}

TEST_F(OnePack, ChoosePackThenOkConvertsAndArchives) {
  auto p = pack("p1.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  start();
  op.files.push_back(p);
  core::OnePackConversion one(session(), pack_state());
  core::PackOutcome outcome{};
  ASSERT_TRUE(one.choose_pack(&outcome));
  EXPECT_EQ(outcome, core::PackOutcome::converted);
  EXPECT_TRUE(one.header_ready());
  EXPECT_EQ(runtime::ansi_to_utf8(pack_state().typ_pfr()), "ЭЦПД");
  // The chosen folder becomes the input folder and is written to the settings.
  EXPECT_EQ(fakes::slashes(session().ini.get_setting("odna_pch", "path_in4")), fakes::slashes(runtime::path_to_ansi(dir / "In_4") + std::string(runtime::separator())));
  one.ok();
  EXPECT_EQ(outputs(), std::vector<fs::path>{dir / "Out_7" / kOutName});
  EXPECT_EQ(journal(),
            "Журнал конвертации пачек 4 формата ПФР в 7 формат 08/12/2026\n\n"
            "0 Выбрали <DIR>/In_4/p1.txt\n"
            "<DIR>/In_4/p1.txt\n"
            "Начало 10:15:30\n"
            "ЗГЛВ,\"П4.10\",\"АРМ-Бухгалтер\",1.0\n"
            "ИСТ4,ВЗЛ,075-001-000001,7701234567,770101001,\"ООО Ромашка\"\n"
            "ДОКТ,ЭЦПД,0\n"
            "0 Зак.стар../out_7/out.xml\n"
            "0 Создали <DIR>/Out_7/" + kOutName + "\n"
            "0 Очистили <DIR>/Out_7/" + kOutName + "\n"
            "0 Закрыли входной <DIR>/In_4/p1.txt\n"
            "Время 0\n"
            "0 Закрыли в конце<DIR>/Out_7/" + kOutName + "\n"
            "0 Архивировали <DIR>/Out_7/" + kOutName + "\n");
  EXPECT_EQ(op.joined_log(),
            "file dialog Выбор входного файла\n"
            "box ПРЕДУПРЕЖДЕНИЕ !!!: Извините! Этот тип документа ПФР пока не обрабатывается !!\n"
            "box Процедура не написана: Эта Процедура load_ecpd пока  не написана.\n");
  ASSERT_EQ(programs.runs.size(), 1u);
  const auto& arh = programs.runs[0];
  EXPECT_EQ(arh.program, core::default_setting("path_Arh_prg", runtime::with_separator(runtime::path_to_ansi(dir))));
  EXPECT_EQ(fakes::slashes(arh.parameters), " -add " + fakes::slashes(runtime::path_to_ansi(dir)) + "/Arh/261208_1015 " + fakes::slashes(runtime::path_to_ansi(p)) + " " +
                                fakes::slashes(runtime::path_to_ansi(dir / "Out_7" / kOutName)));
  EXPECT_FALSE(arh.wait);
}

TEST_F(OnePack, CheckersRunWhenSwitchedOn) {
  auto p = pack("p1.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  start();
  auto& st = session().settings;
  st.fl_p4 = 1;
  st.fl_p7zap = 1;
  st.zip_dt = 0;
  st.path_ChPSN = "/opt/check4";
  st.path_ChXML = "/opt/check7";
  core::OnePackConversion one(session(), pack_state());
  one.take_pack(p);
  one.ok();
  ASSERT_EQ(programs.runs.size(), 3u);
  EXPECT_EQ(programs.runs[0].program, "/opt/check4");
  EXPECT_EQ(fakes::slashes(programs.runs[0].parameters), fakes::slashes(runtime::path_to_ansi(p)) + "  U#");
  EXPECT_TRUE(programs.runs[0].wait);
  EXPECT_NE(fakes::slashes(programs.runs[1].parameters).find("/Arh/arhiv "), std::string::npos);  // zip_dt 0
  EXPECT_EQ(programs.runs[2].program, "/opt/check7");
  EXPECT_EQ(fakes::slashes(programs.runs[2].parameters), " " + fakes::slashes(runtime::path_to_ansi(dir / "Out_7" / kOutName)));
  EXPECT_FALSE(programs.runs[2].wait);
}

TEST_F(OnePack, CancelledDialogsEndTheProcedureQuietly) {
  start();
  core::OnePackConversion one(session(), pack_state());
  EXPECT_FALSE(one.choose_pack());
  EXPECT_FALSE(one.choose_output_folder());
  EXPECT_EQ(journal(), "Журнал конвертации пачек 4 формата ПФР в 7 формат 08/12/2026\n\n");
}

TEST_F(OnePack, OutputFolderChosenIsWrittenAndUsedForTheNextPack) {
  auto p = pack("p1.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  start();
  op.folders.push_back(dir / "elsewhere");
  core::OnePackConversion one(session(), pack_state());
  ASSERT_TRUE(one.choose_output_folder());
  EXPECT_EQ(fakes::slashes(session().ini.get_setting("odna_pch", "path_out7")), fakes::slashes(runtime::path_to_ansi(dir / "elsewhere")));
  one.take_pack(p);
  one.cancel();
  // Exactly one separator between the folder and the name; the folder is made.
  EXPECT_TRUE(fs::exists(dir / "elsewhere" / kOutName));
  EXPECT_NE(journal().find("0 Выбрали <DIR>/elsewhere\n"), std::string::npos);
  EXPECT_NE(journal().find("0 Закрыли по Отмене <DIR>/elsewhere/" + kOutName + "\n"), std::string::npos);
}

TEST_F(OnePack, SecondPackClosesTheFirstAndItsUnfinishedOutput) {
  auto p1 = pack("p1.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  auto p2 = pack("p2.txt", "ЗГЛВ,П4.10,X,1\nИСТ4,ВЗЛ,075-001-000002\nПАЧК,3,,,01.01.2011\nДОКТ,ЭЦПД,0\n");
  start();
  core::OnePackConversion one(session(), pack_state());
  op.files = {p1, p2};
  ASSERT_TRUE(one.choose_pack());
  ASSERT_TRUE(one.choose_pack());
  one.ok();
  // The first output was never finished: nothing is left under its name.
  EXPECT_EQ(outputs().size(), 1u);
  EXPECT_EQ(outputs()[0].filename().string(), "PFR-700-Y-2011-ORG-075-001-000002-DCK-00003-DPT-000000-DCK-00000.XML");
  std::string j = journal();
  EXPECT_NE(j.find("0 Зак.ст. <DIR>/In_4/p1.txt\n"), std::string::npos);
  EXPECT_NE(j.find("0 Зак.стар.<DIR>/Out_7/" + kOutName + "\n"), std::string::npos);
}

TEST_F(OnePack, ExistingOutputIsOnlyEmptiedAndReplacedWhole) {
  auto p = pack("p1.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  fs::create_directories(dir / "Out_7");
  std::ofstream(dir / "Out_7" / kOutName, std::ios::binary) << "earlier";
  start();
  core::OnePackConversion one(session(), pack_state());
  EXPECT_EQ(one.convert_batch(p), core::PackOutcome::converted);
  std::string j = journal();
  EXPECT_EQ(j.find("Создали"), std::string::npos);
  EXPECT_NE(j.find("0 Очистили <DIR>/Out_7/" + kOutName), std::string::npos);
  EXPECT_EQ(read(dir / "Out_7" / kOutName).rfind("<?xml", 0), 0u);
}

TEST_F(OnePack, OutputThatCannotBeCreatedIsReportedAndNothingIsLeft) {
  auto p = pack("p1.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  std::ofstream(dir / "blocked", std::ios::binary) << "a file, not a folder";
  start();
  session().settings.path_out7 = runtime::path_to_ansi(dir / "blocked" / "sub") + std::string(runtime::separator());
  core::OnePackConversion one(session(), pack_state());
  EXPECT_EQ(one.convert_batch(p), core::PackOutcome::no_output);
  std::string j = journal();
  EXPECT_NE(j.find("Не могу создать выходной файл <DIR>/blocked/sub/" + kOutName + "\n"), std::string::npos) << j;
  EXPECT_EQ(j.find("Закрыли в конце"), std::string::npos);
  EXPECT_NE(op.joined_log().find("box Stop: Не могу создать выходной файл "), std::string::npos);
}

TEST_F(OnePack, NoPackNamedAndPackThatCannotBeOpened) {
  start();
  core::OnePackConversion one(session(), pack_state());
  EXPECT_EQ(one.convert_batch({}), core::PackOutcome::no_pack);
  EXPECT_EQ(one.convert_batch(dir / "In_4"), core::PackOutcome::rejected);  // a directory
  EXPECT_EQ(op.joined_log(),
            "box ПРЕДУПРЕЖДЕНИЕ !!!: Не выбран файл пачки 4 формата\n"
            "box Stop: Не могу открыть пачку Нет доступа\n"
            "box Сообщение: Это не файл пачки ПФР. Проверьте входной каталог !!! \n");
  EXPECT_EQ(journal(),
            "Журнал конвертации пачек 4 формата ПФР в 7 формат 08/12/2026\n\n"
            "Не выбран файл пачки 4 формата\n"
            "Не могу открыть пачку <DIR>/In_4\n"
            "Нет доступа\n"
            "<DIR>/In_4\n"
            "Начало 10:15:30\n"
            "Это не файл пачка ПФР. Проверьте входной каталог !!!\n");
  EXPECT_TRUE(outputs().empty());
}

TEST_F(OnePack, AbortInAStopBoxEndsTheProgramAndLeavesNoModeBehind) {
  auto p = pack("p1.txt", kHeader + "ДОКТ,СМРТ,1\nСМРТ,1,Морозов,Николай\n");
  start();
  op.answers = {core::Button::abort};
  core::OnePackConversion one(session(), pack_state());
  EXPECT_THROW(one.convert_batch(dir / "missing.txt"), core::ProgramEnd);
  // The window's run of the next pack still waits for the operator.
  one.take_pack(p);
  one.ok();
  EXPECT_NE(op.joined_log().find("window Конвертация справки о смерти АДВ-8"), std::string::npos) << op.joined_log();
}

// Every row of the table of document kinds is complete, has a code and a procedure of its own,
// is found by its code, and makes a converter that is message-only exactly when the row says so.
TEST(DocumentKinds, EveryRowCompleteAndFoundByItsOwnCode) {
  const auto kinds = app::document_kinds();
  std::set<std::string_view> codes, procedures;
  core::PackHeader header;
  fakes::ScriptedOperator op;
  core::Journal journal;
  for (const auto& k : kinds) {
    SCOPED_TRACE(std::string(k.procedure));
    EXPECT_FALSE(core::is_blank(k.code) || k.form_name.empty() || k.inventory_type.empty() || k.procedure.empty());
    EXPECT_TRUE(codes.insert(k.code).second);
    EXPECT_TRUE(procedures.insert(k.procedure).second);
    EXPECT_EQ(core::find_kind(kinds, std::string(k.code) + "  "), &k);
    ASSERT_NE(k.factory, nullptr);
    auto conv = k.factory({header, op, journal});
    ASSERT_NE(conv, nullptr);
    EXPECT_EQ(conv->message_only(), !k.converted());
  }
  EXPECT_EQ(core::find_kind(kinds, "ХЛАМ"_w), nullptr);
}

TEST_F(OnePack, OgrnTypeByLength) {
  core::Record ist4(core::IST4);
  ist4.set("KOD_OGRN", "304770000123456");
  core::OnePackConversion::classify_ogrn(ist4);
  EXPECT_EQ(ist4.value("TIP_OGRN"), "ЕГРИП"_w);
  ist4.set("KOD_OGRN", "1027700132195");
  core::OnePackConversion::classify_ogrn(ist4);
  EXPECT_EQ(ist4.value("TIP_OGRN"), "ЕГРЮЛ"_w);
}
