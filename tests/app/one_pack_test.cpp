// SPDX-License-Identifier: MIT
// The one-pack procedure as its window drives it, and the start of the program.
#include <functional>
#include <set>

#include "app/converter_form.h"
#include "app/document_kinds.h"
#include "app/insurer_entry.h"
#include "app/one_pack_form.h"
#include "program_folder.h"
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "core/conversion/one_pack.h"
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
  EXPECT_FALSE(app::journal_held_by_another(dir));
  start();
  // The desktop program asks first, and says so without the warning below.
  EXPECT_TRUE(app::journal_held_by_another(dir));
  EXPECT_EQ(with_dir(app::journal_held_text()), "Журнал Report/tolvex.log занят другой копией программы");
  fakes::ScriptedOperator other;
  try {
    app::Program second(dir, other, clock, programs);
    FAIL() << "the program should have ended";
  } catch (const core::ProgramEnd& end) {
    EXPECT_EQ(with_dir(end.text()), "Журнал Report/tolvex.log занят другой копией программы");
  }
  ASSERT_EQ(other.log.size(), 1u);
  EXPECT_EQ(other.log[0], "box Ошибка доступа к файлу: Файл (Report" + std::string(runtime::separator()) +
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

TEST_F(OnePack, SettingsFileThatCannotBeReadIsNeverReplaced) {
  struct Case {
    const char* what;
    std::function<void(const fs::path&)> make;
    const char* box;
  };
  const Case cases[] = {
      {"a folder", [](const fs::path& p) { fs::create_directories(p); },
       "box Сообщение: Не могу прочитать файл настроек tolvex.ini. Ошибка: Нет доступа (5)"},
      {"over 1 MB", [](const fs::path& p) { std::ofstream(p, std::ios::binary) << std::string(1024 * 1024 + 1, ';'); },
       "box Сообщение: Файл настроек tolvex.ini больше 1 Мб и не м.б. прочитан"},
  };
  for (const auto& c : cases) {
    fs::remove_all(dir / "tolvex.ini");
    c.make(dir / "tolvex.ini");
    auto before = fs::last_write_time(dir / "tolvex.ini");
    op.log.clear();
    try {
      start();
      ADD_FAILURE() << c.what << ": the program should have ended";
    } catch (const core::ProgramEnd& end) {
      EXPECT_EQ(end.exit_status(), 3);
      EXPECT_EQ(runtime::ansi_to_utf8(end.text()), "Ошибка чтения файла настроек!");
    }
    EXPECT_EQ(op.joined_log(), std::string(c.box) + "\n") << c.what;
    EXPECT_EQ(fs::last_write_time(dir / "tolvex.ini"), before) << c.what;
    EXPECT_FALSE(fs::exists(dir / "Report")) << c.what;  // the journal of the last run is left as it was
  }
}

TEST_F(OnePack, ChoosePackThenOkConvertsAndArchives) {
  auto p = pack("p1.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  start();
  op.files.push_back(p);
  core::OnePackConversion one(session(), pack_state());
  EXPECT_EQ(one.choose_pack(), core::PackOutcome::converted);
  EXPECT_TRUE(one.header_ready());
  EXPECT_EQ(runtime::ansi_to_utf8(pack_state().typ_pfr()), "ЭЦПД");
  // The chosen folder becomes the input folder and is written to the settings.
  EXPECT_EQ(fakes::slashes(session().ini.get_setting("odna_pch", "path_in4")),
            fakes::slashes(runtime::path_to_ansi(dir / "In_4") + std::string(runtime::separator())));
  EXPECT_EQ(op.press_ok(one), core::PackOutcome::not_converted);  // ЭЦПД: the frame only
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
            "0 Создали <DIR>/Out_7/" +
                kOutName +
                "\n"
                "0 Очистили <DIR>/Out_7/" +
                kOutName +
                "\n"
                "0 Закрыли входной <DIR>/In_4/p1.txt\n"
                "Время 0\n"
                "0 Закрыли в конце<DIR>/Out_7/" +
                kOutName +
                "\n"
                "0 Архивировали <DIR>/Out_7/" +
                kOutName + "\n");
  EXPECT_EQ(op.joined_log(),
            "file dialog Выбор входного файла\n"
            "box ПРЕДУПРЕЖДЕНИЕ !!!: Извините! Этот тип документа ПФР пока не обрабатывается !!\n"
            "box Процедура не написана: Эта Процедура load_ecpd пока  не написана.\n");
  ASSERT_EQ(programs.runs.size(), 1u);
  const auto& arh = programs.runs[0];
  EXPECT_EQ(arh.program,
            core::default_setting(core::Setting::archiver, runtime::with_separator(runtime::path_to_ansi(dir))));
  EXPECT_EQ(arguments(0), "-add|<DIR>/Arh/261208_1015|<DIR>/In_4/p1.txt|<DIR>/Out_7/" + kOutName);
  EXPECT_FALSE(arh.wait);
}

TEST_F(OnePack, CheckersRunWhenSwitchedOn) {
  auto p = pack("p1.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  start();
  auto& st = session().settings;
  st.check_one_pack = 1;
  st.check_output_xml = 1;
  st.dated_archive_name = 0;
  st.pack_checker = "/opt/check4";
  st.xml_checker = "/opt/check7";
  core::OnePackConversion one(session(), pack_state());
  EXPECT_EQ(one.take_pack(p), core::PackOutcome::converted);
  EXPECT_EQ(op.press_ok(one), core::PackOutcome::not_converted);
  ASSERT_EQ(programs.runs.size(), 3u);
  EXPECT_EQ(programs.runs[0].program, "/opt/check4");
  EXPECT_EQ(arguments(0), "<DIR>/In_4/p1.txt|U#");
  EXPECT_TRUE(programs.runs[0].wait);
  EXPECT_NE(arguments(1).find("|<DIR>/Arh/arhiv|"), std::string::npos);  // zip_dt 0
  EXPECT_EQ(programs.runs[2].program, "/opt/check7");
  EXPECT_EQ(arguments(2), "<DIR>/Out_7/" + kOutName);
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
  EXPECT_EQ(fakes::slashes(session().ini.get_setting("odna_pch", "path_out7")),
            fakes::slashes(runtime::path_to_ansi(dir / "elsewhere")));
  EXPECT_EQ(one.take_pack(p), core::PackOutcome::converted);
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
  EXPECT_EQ(op.press_ok(one), core::PackOutcome::not_converted);
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
  EXPECT_EQ(one.convert_all_documents(p), core::PackOutcome::not_converted);  // ЭЦПД: the frame only
  std::string j = journal();
  EXPECT_EQ(j.find("Создали"), std::string::npos);
  EXPECT_NE(j.find("0 Очистили <DIR>/Out_7/" + kOutName), std::string::npos);
  EXPECT_EQ(read(dir / "Out_7" / kOutName).rfind("<?xml", 0), 0u);
}

namespace {

// A faulty converter: its one document opens an element and leaves it open.
class LeavesElementOpen : public core::Converter {
 public:
  using Converter::Converter;
  std::string_view window_title() const override { return "open"; }
  std::string_view journal_text() const override { return " open"; }
  core::ReadResult read_document(core::PackReader& pack) override {
    return core::ReadResult::from_code(pack.read_line(), false);
  }
  void write_document(core::XmlWriter& xml) override { open_.reset(new core::XmlWriter::Block(xml.block("OPEN"))); }

 private:
  std::unique_ptr<core::XmlWriter::Block> open_;
};
std::unique_ptr<core::Converter> make_leaves_open(const core::ConverterContext& c) {
  return std::make_unique<LeavesElementOpen>(c);
}
constexpr core::DocumentKind kLeavesOpen[] = {{"АНКТ"_w, "АДВ-1"_w, "АНКЕТА_ЗЛ"_w, "load_adv1", &make_leaves_open}};

}  // namespace

// A document that leaves its elements open cannot be trusted: the pack is reported, its XML never
// takes the PFR name, and an earlier file of that name stays as it was.
TEST_F(OnePack, DocumentLeftOpenIsNotPublished) {
  auto p = pack("p1.txt", kHeader + "ДОКТ,АНКТ,1\nАНК1,1\n");
  fs::create_directories(dir / "Out_7");
  std::ofstream(dir / "Out_7" / kOutName, std::ios::binary) << "earlier";
  program = std::make_unique<app::Program>(dir, op, clock, programs, kLeavesOpen);
  op.answers = {core::Button::ignore};
  core::OnePackConversion one(session(), pack_state());
  EXPECT_EQ(one.convert_all_documents(p), core::PackOutcome::no_output);
  EXPECT_EQ(outputs(), std::vector<fs::path>{dir / "Out_7" / kOutName});
  EXPECT_EQ(read(dir / "Out_7" / kOutName), "earlier");
  std::string j = journal();
  EXPECT_NE(j.find("Ошибка вложенности XML в документе 1: глубина 1\n"), std::string::npos) << j;
  EXPECT_NE(j.find("0 Не записали <DIR>/Out_7/" + kOutName + "\n"), std::string::npos) << j;
  EXPECT_EQ(j.find("Закрыли в конце"), std::string::npos) << j;
}

TEST_F(OnePack, OutputThatCannotBeCreatedIsReportedAndNothingIsLeft) {
  auto p = pack("p1.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
  std::ofstream(dir / "blocked", std::ios::binary) << "a file, not a folder";
  start();
  session().settings.output_folder = runtime::path_to_ansi(dir / "blocked" / "sub") + std::string(runtime::separator());
  core::OnePackConversion one(session(), pack_state());
  EXPECT_EQ(one.convert_all_documents(p), core::PackOutcome::no_output);
  std::string j = journal();
  EXPECT_NE(j.find("Не могу создать выходной файл <DIR>/blocked/sub/" + kOutName + "\n"), std::string::npos) << j;
  EXPECT_EQ(j.find("Закрыли в конце"), std::string::npos);
  EXPECT_NE(op.joined_log().find("box Stop: Не могу создать выходной файл "), std::string::npos);
}

TEST_F(OnePack, NoPackNamedAndPackThatCannotBeOpened) {
  start();
  core::OnePackConversion one(session(), pack_state());
  EXPECT_EQ(one.convert_all_documents({}), core::PackOutcome::no_pack);
  EXPECT_EQ(one.convert_all_documents(dir / "In_4"), core::PackOutcome::unreadable);  // a directory
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

TEST_F(OnePack, OutputThatWouldReplaceItsOwnPackIsRefused) {
  fs::create_directories(dir / "Out_7");
  auto p = dir / "Out_7" / kOutName;
  std::ofstream(p, std::ios::binary) << fakes::pack_bytes(kHeader + "ДОКТ,ЭЦПД,0\n");
  std::string bytes = read(p);
  start();
  EXPECT_EQ(core::OnePackConversion(session(), pack_state()).convert_all_documents(p), core::PackOutcome::no_output);
  EXPECT_EQ(read(p), bytes);
  EXPECT_EQ(outputs(), std::vector<fs::path>{p});  // no temporary file left beside it
  std::string line = "Выходной файл совпадает с входной пачкой <DIR>/Out_7/" + kOutName;
  EXPECT_NE(journal().find("\n" + line + "\n"), std::string::npos) << journal();
  EXPECT_NE(with_dir(runtime::utf8_to_ansi(op.joined_log())).find("box Сообщение: " + line + "\n"), std::string::npos);
}

TEST_F(OnePack, OnlyRegularFilesAreReadAsPacks) {
  // Each is refused at once, before a byte is read: nothing waits for a writer or reads forever.
#ifdef _WIN32
  std::vector<fs::path> specials = {"NUL"};
#else
  fs::path fifo = dir / "In_4" / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::vector<fs::path> specials = {fifo, "/dev/zero"};
#endif
  start();
  for (const auto& p : specials) {
    op.log.clear();
    EXPECT_EQ(core::OnePackConversion(session(), pack_state()).convert_all_documents(p), core::PackOutcome::unreadable)
        << p;
    EXPECT_EQ(op.joined_log(),
              "box Stop: Не могу открыть пачку Не обычный файл\n"
              "box Сообщение: Это не файл пачки ПФР. Проверьте входной каталог !!! \n")
        << p;
  }
  EXPECT_NE(journal().find("\nНе обычный файл\n"), std::string::npos);
  EXPECT_TRUE(outputs().empty());
}

TEST_F(OnePack, ControlCharactersFromThePackNeverReachTheJournal) {
  // A lone LF inside line 1 and an escape sequence in line 4 would start lines of their own.
  std::string line1 = "ЗГЛВ,\"П4.10\",\"АРМ\n0 Закрыли FORGED\",1.0";
  std::string bytes =
      fakes::pack_bytes(line1 + "\nИСТ4,ВЗЛ,075-001-000001\nПАЧК,12,,,15.07.2010\nДОКТ,ЭЦПД,0\x1b[31m\n");
  // pack_bytes ended every LF with CR: the LF inside line 1 goes back to being alone.
  bytes.replace(bytes.find("\r\n0 "), 2, "\n");
  std::string name = "p1.txt";
#ifndef _WIN32
  name = "x\n0 Закрыли FORGED.txt";
#endif
  auto p = dir / "In_4" / runtime::ansi_to_path(runtime::utf8_to_ansi(name));
  std::ofstream(p, std::ios::binary) << bytes;
  start();
  EXPECT_EQ(core::OnePackConversion(session(), pack_state()).convert_all_documents(p),
            core::PackOutcome::not_converted);
  std::string j = journal();
  EXPECT_EQ(j.find("\n0 Закрыли FORGED"), std::string::npos) << j;
  EXPECT_EQ(j.find('\x1b'), std::string::npos) << j;
  EXPECT_NE(j.find("\nЗГЛВ,\"П4.10\",\"АРМ?0 Закрыли FORGED\",1.0\n"), std::string::npos) << j;
  EXPECT_NE(j.find("\nДОКТ,ЭЦПД,0?[31m\n"), std::string::npos) << j;
}

TEST_F(OnePack, AbortInAStopBoxEndsTheProgramAndLeavesNoModeBehind) {
  auto p = pack("p1.txt", kHeader + "ДОКТ,СМРТ,1\nСМРТ,1,Морозов,Николай\n");
  start();
  op.answers = {core::Button::abort};
  core::OnePackConversion one(session(), pack_state());
  EXPECT_THROW(static_cast<void>(one.convert_all_documents(dir / "missing.txt")), core::ProgramEnd);
  // The window's run of the next pack still waits for the operator.
  EXPECT_EQ(one.take_pack(p), core::PackOutcome::converted);
  EXPECT_EQ(op.press_ok(one), core::PackOutcome::converted);
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
  core::RecordOf<core::IST4> ist4;
  ist4.set("KOD_OGRN", "304770000123456");
  core::OnePackConversion::classify_ogrn(ist4);
  EXPECT_EQ(ist4.value("TIP_OGRN"), "ЕГРИП"_w);
  ist4.set("KOD_OGRN", "1027700132195");
  core::OnePackConversion::classify_ogrn(ist4);
  EXPECT_EQ(ist4.value("TIP_OGRN"), "ЕГРЮЛ"_w);
}

// The one-pack window's rules as both desktop programs draw them: what it shows when, the
// entries taken or refused (on leaving and again at "&OK"), and the converter window's buttons.
TEST_F(OnePack, WindowFormsDriveThePackAndItsConverterWindow) {
  auto p = pack("p.txt", kHeader + "ДОКТ,АНКТ,2\nАНК1,0,01.01.2011,Иванов,Иван\nАНК1,1,02.02.2012,Петров,Пётр\n");
  start();
  app::OnePackForm form(session(), pack_state());
  auto u = [&](std::string_view name) { return runtime::ansi_to_utf8(form.value(name)); };
  EXPECT_FALSE(form.entries_open());
  EXPECT_FALSE(form.begin_ok([](std::string_view) { return std::string(); }, nullptr));
  EXPECT_EQ(op.log.back(),
            "box Сообщение: Входная пачка не выбрана. Нажмите «Входная пачка» и выберите пачку 4 формата.");
  form.take_pack(p);
  EXPECT_TRUE(form.entries_open());
  EXPECT_EQ(form.in4_file(), p);
  EXPECT_EQ(u("IST4:NAME"), "ООО Ромашка");
  EXPECT_EQ(u("TYP_PFR"), "АДВ-1");
  EXPECT_EQ(u("T_RAB_N"), "10:15:30");
  EXPECT_EQ(runtime::ansi_to_utf8(form.status()),
            "Заголовок пачки прочитан, документов в пачке: 2. «OK» конвертирует документы.");
  EXPECT_FALSE(form.leave_entry("IST4:KOD_OGRN", "123"));
  EXPECT_EQ(u("IST4:KOD_OGRN"), "");
  EXPECT_TRUE(form.leave_entry("IST4:KOD_OGRN", " 304500116000157 "));
  EXPECT_EQ(u("IST4:TIP_OGRN"), "ЕГРИП");
  EXPECT_TRUE(form.leave_entry("IST4:INN", "1"));  // not an entry: nothing taken
  EXPECT_EQ(u("IST4:INN"), "7701234567");
  // "&OK" checks again what is typed in an entry that was not left.
  std::string refused;
  auto typed = [&](std::string_view name) { return name == "IST4:PODR_KOD" ? std::string("12-3") : form.value(name); };
  EXPECT_FALSE(form.begin_ok(typed, &refused));
  EXPECT_EQ(refused, "IST4:PODR_KOD");
  ASSERT_TRUE(form.begin_ok([&](std::string_view name) { return form.value(name); }, &refused));
  EXPECT_FALSE(form.buttons_enabled());
  EXPECT_FALSE(form.entries_open());
  core::DocumentRun* run = form.start_ok();
  ASSERT_NE(run, nullptr);
  app::ConverterForm converter(*run);
  EXPECT_TRUE(app::has_next(converter.view()));
  EXPECT_EQ(converter.section(), "load_adv1");
  EXPECT_EQ(converter.press(core::ConverterAction::next), app::ConverterForm::Step::shows_next);
  EXPECT_EQ(converter.press(std::nullopt), app::ConverterForm::Step::closes);  // the frame: "Отмена"
  EXPECT_EQ(converter.press(core::ConverterAction::ok), app::ConverterForm::Step::ignored);
  form.end_ok();
  EXPECT_TRUE(form.buttons_enabled());
  EXPECT_EQ(runtime::ansi_to_utf8(form.status()), "Записан файл " + kOutName + ": документов 2 из 2.");
  EXPECT_FALSE(form.begin_ok(typed, nullptr));  // converted already
  EXPECT_FALSE(form.ended());
  form.cancel();
  EXPECT_TRUE(form.ended());
}

// What the operator types into the insurer fields is checked when the field is left.
TEST(InsurerEntry, ChecksOnLeavingTheField) {
  struct Row {
    const char* field;
    const char* value;
    bool accepted;
  } rows[] = {
      {"KOD_OGRN", "1027700132195", true},
      {"KOD_OGRN", "304500116000157", true},
      {"KOD_OGRN", "", true},
      {"KOD_OGRN", "10277001321", false},
      {"KOD_OGRN", "30450011600015", false},
      {"KOD_OGRN", "10277001321O5", false},
      {"LIC_DATA", "29.02.2012", true},
      {"LIC_DATA", "29.02.2011", false},
      {"UCH_D_P", "15.07.2010", true},
      {"UCH_D_P", "15.7.2010", false},
      {"UCH_D_SN", "31.04.2010", false},
      {"UCH_D_SN", "00.00.0000", false},
      {"PODR_KOD", "001", true},
      {"PODR_KOD", "1234567", false},
      {"PODR_KOD", "12-3", false},
      {"PODR_NAME", "Отдел кадров, склад", true},
      {"LIC_NUM", "А-123/45", true},
  };
  for (const Row& r : rows) {
    auto error = app::insurer_entry_error(r.field, runtime::utf8_to_ansi(r.value));
    EXPECT_EQ(!error.has_value(), r.accepted) << r.field << " " << r.value;
  }
  EXPECT_EQ(runtime::ansi_to_utf8(*app::insurer_entry_error("KOD_OGRN", "123")),
            "ОГРН - это 13 цифр (ЕГРЮЛ) или 15 цифр (ЕГРИП). Введенное значение не принято.");
  EXPECT_TRUE(app::is_insurer_entry("PODR_KOD"));
  EXPECT_FALSE(app::is_insurer_entry("SNAME"));
  EXPECT_FALSE(app::is_insurer_entry("TIP_OGRN"));
  EXPECT_FALSE(app::is_insurer_entry("INN"));
}
