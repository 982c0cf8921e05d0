// SPDX-License-Identifier: MIT
// The desktop program's windows driven as an operator drives them: buttons clicked, fields
// typed and left; the file and folder dialogs and the message boxes answered by a script.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMimeData>
#include <QProgressBar>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QUrl>

#include "gui/batch_window.h"
#include "gui/converter_window.h"
#include "gui/main_window.h"
#include "gui/one_pack_window.h"
#include "gui/settings_window.h"
#include "gui/window_position.h"
#include "gui_support.h"
#include "runtime/paths.h"

namespace fs = std::filesystem;
using namespace tolvex;
using namespace tolvex::guitest;
using namespace tolvex::runtime::literals;

namespace {

const std::string kFourQuestionnaires = kHeader + "ДОКТ,АНКТ,4\nАНК1,Иванов\nАНК1,Петров\nАНК1,Сидоров\nАНК1,Орлов\n";

bool converter_waiting(gui::QtOperator& op) { return op.converter_window() && op.converter_window()->waiting(); }

QString field_text(gui::ConverterWindow* w, int index) {
  auto edits = w->findChildren<QLineEdit*>();
  return index < edits.size() ? edits[index]->text() : QString();
}

int count(const std::string& text, std::string_view what) {
  int n = 0;
  for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
  return n;
}

void click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

void leave(QLineEdit* e, const QString& text) {
  e->setFocus();
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Backspace);
  if (!text.isEmpty()) {
    // Typed as one key event carrying the text, so that Cyrillic reaches the field as typing.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(e, &press);
  }
  QTest::keyClick(e, Qt::Key_Return);
}

}  // namespace

class OperatorPath : public QObject {
  Q_OBJECT
 private slots:
  // Main window, one-pack window, a pack chosen, its header shown, the operator's entries,
  // "&OK", then "Отмена": the XML file and the journal are written through the program's start.
  void whole_path_through_the_program() {
    Folder f("whole-path");
    auto p = f.pack("p1.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
    app::Program program(f.dir, f.op, f.clock, f.programs);
    core::Session& s = program.session();
    core::PackState& pack = program.pack_state();
    f.op.set_positions(&s.ini);
    f.dialogs.files.push_back(p);
    gui::MainWindow main(s, pack, f.op);
    main.open();
    QCOMPARE(main.windowTitle(), u("Конвертация пачек ПФР 4 формата в файл 7 формата XML Сегодня 08/12/2026"));

    UiScript script;
    gui::OnePackWindow* w = nullptr;
    script
        .then([&] { return (w = visible_window<gui::OnePackWindow>()) != nullptr; }, [&] { click(w->in4_button()); },
              "choose the pack")
        .then([&] { return !w->field("IST4:INN")->text().isEmpty(); },
              [&] {
                QCOMPARE(w->windowTitle(), u("Конвертация одной пачки"));
                QCOMPARE(w->field("IST4:NAME")->text(), u("ООО Ромашка"));
                QCOMPARE(w->field("TYP_PFR")->text(), u("ЭЦПД"));
                QCOMPARE(w->field("IN4_FILE")->text(), gui::qs_path(p));
                QVERIFY(w->field("OUT7_FILE")->text().endsWith(QString::fromStdString(kOutName)));
                QCOMPARE(w->field("T_RAB_N")->text(), u("10:15:30"));
                // The operator's fields are white and editable; the pack's look read-only.
                for (const char* name : {"IST4:INN", "IST4:SNAME", "IST4:TIP_OGRN", "PCH:D_OPISI"})
                  QVERIFY2(w->field(name)->isReadOnly(), name);
                QVERIFY(!w->field("IST4:PODR_NAME")->isReadOnly());
                QVERIFY(w->field("IST4:INN")->palette().color(QPalette::Base) !=
                        w->field("IST4:PODR_NAME")->palette().color(QPalette::Base));
                // The ОГРН type follows the code when the field is left.
                leave(w->field("IST4:KOD_OGRN"), "304500116000157");
                QCOMPARE(w->field("IST4:TIP_OGRN")->text(), u("ЕГРИП"));
                leave(w->field("IST4:KOD_OGRN"), "1027700132195");
                QCOMPARE(w->field("IST4:TIP_OGRN")->text(), u("ЕГРЮЛ"));
                // A value that fails its check is refused with a message and not taken; the field
                // keeps it, selected, with the focus back in it (left by Tab or by Enter).
                for (auto [name, typed, key] : {std::tuple{"IST4:KOD_OGRN", "10277001321", Qt::Key_Tab},
                                                {"IST4:UCH_D_P", "31.02.2010", Qt::Key_Return}}) {
                  auto taken = [&](std::string_view n) {
                    core::Record& r = pack.header.ist4;
                    return std::string(core::trim_right(r.field(r.layout().index(n.substr(5)))));
                  };
                  std::size_t boxes = f.dialogs.log.size();
                  std::string before(taken(name));
                  QLineEdit* e = w->field(name);
                  e->setFocus();
                  e->selectAll();
                  QTest::keyClicks(e, typed);
                  QTest::keyClick(e, key);
                  QCOMPARE(std::string(taken(name)), before);
                  QCOMPARE(f.dialogs.log.size(), boxes + 1);
                  QVERIFY(f.dialogs.log.back().find("Введенное значение не принято.") != std::string::npos);
                  QCOMPARE(e->selectedText(), e->text());
                  QVERIFY(!e->text().isEmpty() && u(typed).startsWith(e->text()));
                  QVERIFY2(e->hasFocus(), name);
                }
                // "&OK" checks a refused value again and does not run.
                std::size_t boxes = f.dialogs.log.size();
                click(w->ok_button());
                QCOMPARE(f.dialogs.log.size(), boxes + 1);
                leave(w->field("IST4:KOD_OGRN"), "1027700132195");
                leave(w->field("IST4:UCH_D_P"), "15.07.2010");
                QCOMPARE(std::string(pack.header.ist4.value("UCH_D_P")), std::string("15.07.2010"));
                leave(w->field("IST4:PODR_NAME"), u("Отдел кадров"));
                QCOMPARE(runtime::ansi_to_utf8(pack.header.ist4.value("PODR_NAME")), std::string("Отдел кадров"));
                QCOMPARE(std::string(pack.header.ist4.value("KOD_OGRN")), std::string("1027700132195"));
                click(w->ok_button());
                QVERIFY(!fs::exists(f.dir / "Out_7" / kOutName) ||
                        Folder::read(f.dir / "Out_7" / kOutName).find("</ФайлПФР>"_w) != std::string::npos);
                click(w->cancel_button());
              },
              "header shown, OK, cancel");
    script.start();
    click(main.one_pack_button());
    QVERIFY2(script.finished(), qPrintable(script.pending()));
    QVERIFY(visible_window<gui::OnePackWindow>() == nullptr);

    QCOMPARE(f.outputs(), std::vector<fs::path>{f.dir / "Out_7" / kOutName});
    std::string xml = Folder::read(f.dir / "Out_7" / kOutName);
    QVERIFY(xml.find("</ФайлПФР>"_w) != std::string::npos);
    std::string j = f.journal();
    QVERIFY(j.find("0 Выбрали <DIR>/In_4/p1.txt\n") != std::string::npos);
    QVERIFY(j.find(" Закрыли в конце<DIR>/Out_7/" + kOutName) != std::string::npos);
    QVERIFY(j.find(" Архивировали <DIR>/Out_7/" + kOutName) != std::string::npos);
    QVERIFY(j.find(" Закрыли по Отмене ") != std::string::npos);
    QVERIFY(f.dialogs.joined_log().find("Извините! Этот тип документа ПФР пока не обрабатывается !!") !=
            std::string::npos);
    QCOMPARE(f.programs.runs.size(), std::size_t(1));  // the archiver
    main.close();
  }

  // A pack that is not a pack: its message, and the window closes.
  void rejected_pack_ends_the_window() {
    Folder f("rejected");
    f.start();
    auto p = f.pack("junk.txt", "hello\n");
    f.dialogs.files.push_back(p);
    gui::OnePackWindow w(f.session(), f.pack_state(), f.op);
    UiScript script;
    script.then([&] { return w.isVisible(); }, [&] { click(w.in4_button()); }, "choose");
    script.start();
    w.run();
    QVERIFY(script.finished());
    QVERIFY(!w.isVisible());
    QCOMPARE(QString::fromStdString(f.dialogs.log.back()),
             u("box Сообщение: Это не файл пачки ПФР. Проверьте входной каталог !!! "));
    QVERIFY(f.outputs().empty());
  }

  // Cancelling the file dialog ends the procedure; an output file left open by an earlier pack
  // of the same window gets its closing lines, not a cut-off file.
  void cancelled_dialog_closes_a_pending_file() {
    Folder f("cancelled-dialog");
    f.start();
    auto p = f.pack("p1.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
    f.dialogs.files.push_back(p);  // then the second dialog is cancelled
    gui::OnePackWindow w(f.session(), f.pack_state(), f.op);
    UiScript script;
    script.then([&] { return w.isVisible(); }, [&] { click(w.in4_button()); }, "first pack")
        .then([&] { return !w.field("IST4:INN")->text().isEmpty(); }, [&] { click(w.in4_button()); }, "cancel");
    script.start();
    w.run();
    QVERIFY(script.finished());
    QVERIFY(!w.isVisible());
    std::string xml = Folder::read(f.dir / "Out_7" / kOutName);
    QVERIFY(xml.find("</ФайлПФР>"_w) != std::string::npos);
    QVERIFY(!f.pack_state().out.is_open());
  }

  // Each opening starts clean: no earlier pack is shown, "&OK" says why it cannot run, then
  // what it made; the file dialog opens on the pack chosen last.
  void one_pack_opens_clean_and_says_what_ok_did() {
    Folder f("clean");
    f.start();
    auto p = f.pack("p1.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
    f.dialogs.files = {p, p};
    for (int opening = 0; opening < 2; ++opening) {
      gui::OnePackWindow w(f.session(), f.pack_state(), f.op);
      UiScript script;
      script
          .then([&] { return w.isVisible(); },
                [&] {
                  QCOMPARE(w.focusWidget(), w.in4_button());  // the first action
                  for (const char* name : {"IN4_FILE", "OUT7_FILE", "IST4:INN", "DOKT:TYP_DOK", "TYP_PFR", "T_RAB_N"})
                    QVERIFY2(w.field(name)->text().isEmpty(), name);
                  QVERIFY(w.field("IST4:KOD_OGRN")->isReadOnly());  // nothing to complete yet
                  click(w.ok_button());
                  QVERIFY(f.dialogs.log.back().find("Входная пачка не выбрана.") != std::string::npos);
                  click(w.in4_button());
                },
                "clean, then the pack")
          .then([&] { return !w.field("IST4:INN")->text().isEmpty(); },
                [&] {
                  QVERIFY(!w.field("IST4:KOD_OGRN")->isReadOnly());
                  QCOMPARE(w.status()->text(), u("Документы типа ЭЦПД (ЭЦПД) не конвертируются. «OK» закроет файл ") +
                                                   QString::fromStdString(kOutName) +
                                                   u(": в нем будет только опись пачки."));
                  click(w.ok_button());
                  QCOMPARE(w.status()->text(), u("Документы типа ЭЦПД не конвертируются: в файле ") +
                                                   QString::fromStdString(kOutName) + u(" только опись пачки."));
                  QVERIFY(w.field("IST4:KOD_OGRN")->isReadOnly());
                  click(w.ok_button());
                  QVERIFY(f.dialogs.log.back().find("Эта пачка уже сконвертирована в файл ") != std::string::npos);
                  click(w.cancel_button());
                },
                "ok, status, ok again");
      script.start();
      w.run();
      QVERIFY2(script.finished(), qPrintable(script.pending()));
    }
    QCOMPARE(f.dialogs.file_starts.size(), std::size_t(2));
    QCOMPARE(f.dialogs.file_starts[1], p);
    // The journal is that of the process-wide pack name: the second choice closes the first.
    QVERIFY(f.journal().find("0 Зак.ст. <DIR>/In_4/p1.txt\n") != std::string::npos);
  }

  // Qt's own dialogs speak Russian when its translations are installed.
  void qt_dialogs_speak_russian() {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm"))
      QSKIP("Qt's Russian translations (qt6-translations-l10n) are not installed");
    QFileDialog d(nullptr, u("Выбор входного файла"), QDir::tempPath());
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setFileMode(QFileDialog::ExistingFile);
    auto* buttons = d.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    QCOMPARE(buttons->button(QDialogButtonBox::Open)->text().remove('&'), u("Открыть"));
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text().remove('&'), u("Отмена"));
    // Sizes, dates and kinds of the files in Russian whatever the locale the program runs in
    // (the tests run under C.UTF-8).
    QCOMPARE(QLocale::system().language(), QLocale::Russian);
    QCOMPARE(QLocale::system().formattedDataSize(2048), u("2,00 KiB"));
    QVERIFY(!QLocale::system().formattedDataSize(100).contains("byte"));
    QCOMPARE(QLocale::system().toString(QDate(2026, 12, 8), QLocale::ShortFormat), u("08.12.2026"));
    QFileSystemModel files;
    QModelIndex folder = files.setRootPath(QDir::tempPath());
    QTRY_VERIFY(files.rowCount(folder) > 0);
    QModelIndex sub;
    for (int r = 0; r < files.rowCount(folder) && !sub.isValid(); ++r)
      if (files.isDir(files.index(r, 0, folder))) sub = files.index(r, 2, folder);
    if (sub.isValid()) QCOMPARE(files.data(sub).toString(), u("Папка"));
#ifndef _WIN32
    QCOMPARE(gui::qt_filter(a("Файлы исполняемые|*.exe")), u("Все файлы (*);;Файлы исполняемые (*.exe)"));
#endif
  }

  // The main window's buttons answer their accelerators; F1 opens the operator's guide.
  void main_window_accelerators() {
    Folder f("accelerators");
    f.start();
    gui::MainWindow main(f.session(), f.pack_state(), f.op);
    main.open();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QCOMPARE(main.settings_button()->shortcut(), QKeySequence(Qt::ALT | Qt::Key(0x041D)));  // Alt+Н
    QCOMPARE(main.one_pack_button()->shortcut(), QKeySequence(Qt::ALT | Qt::Key(0x041E)));  // Alt+О
    // F1 asks the system's browser for the operator's guide, a page that is there.
    QList<QUrl> asked;
    main.open_url = [&](const QUrl& url) {
      asked << url;
      return true;
    };
    QTest::keyClick(&main, Qt::Key_F1);
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].isLocalFile() && asked[0].toLocalFile().endsWith("/guide/index.html"));
    QVERIFY(QFileInfo(asked[0].toLocalFile()).isFile());
    QCOMPARE(asked[0].toLocalFile(), gui::guide_path());
    bool opened = false;
    UiScript script;
    script.then([&] { return visible_window<gui::SettingsWindow>() != nullptr; },
                [&] {
                  opened = true;
                  visible_window<gui::SettingsWindow>()->ok_button()->click();
                });
    script.start();
    QTest::sendKeyEvent(QTest::Click, &main, Qt::Key(0x041D), u("н"), Qt::AltModifier);
    QTRY_VERIFY(script.finished());
    QVERIFY(opened);
    // The window opens on its first button; Enter presses the button that has the focus.
    QCOMPARE(main.focusWidget(), main.one_pack_button());
    opened = false;
    UiScript by_enter;
    by_enter.then([&] { return visible_window<gui::SettingsWindow>() != nullptr; },
                  [&] {
                    opened = true;
                    visible_window<gui::SettingsWindow>()->ok_button()->click();
                  });
    by_enter.start();
    main.settings_button()->setFocus();
    QTest::keyClick(main.settings_button(), Qt::Key_Return);
    QTRY_VERIFY(by_enter.finished());
    QVERIFY(opened);
    main.close();
  }

  // A pack dropped on the main window opens the one-pack window with its header read.
  void dropped_pack_is_converted() {
    Folder f("dropped");
    f.start();
    auto p = f.pack("p1.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
    gui::MainWindow main(f.session(), f.pack_state(), f.op);
    main.open();
    QMimeData mime;
    mime.setUrls(QList<QUrl>{QUrl::fromLocalFile(gui::qs_path(p))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&main, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&main, &drop);
    QString shown;
    UiScript script;
    gui::OnePackWindow* w = nullptr;
    script.then([&] { return (w = visible_window<gui::OnePackWindow>()) && !w->field("TYP_PFR")->text().isEmpty(); },
                [&] {
                  shown = w->field("IN4_FILE")->text();
                  click(w->ok_button());
                  click(w->cancel_button());
                },
                "dropped pack shown");
    script.start();
    QTRY_VERIFY(script.finished());
    QTRY_VERIFY(visible_window<gui::OnePackWindow>() == nullptr);
    QCOMPARE(shown, gui::qs_path(p));
    QVERIFY(f.dialogs.joined_log().find("file dialog") == std::string::npos);
    QCOMPARE(f.outputs().size(), std::size_t(1));
    main.close();
  }
};

class ConverterWindows : public QObject {
  Q_OBJECT
 private slots:
  // "Следующая" twice, then "&OK": the first document at once, one per press, the rest at
  // once; what the operator typed into the insurer fields reaches the documents.
  void next_twice_then_ok() {
    Folder f("next-next-ok");
    f.start();
    f.dialogs.files.push_back(f.pack("a.txt", kFourQuestionnaires));
    gui::OnePackWindow w(f.session(), f.pack_state(), f.op);
    QStringList names;
    UiScript script;
    script.then([&] { return w.isVisible(); }, [&] { click(w.in4_button()); }, "choose")
        .then([&] { return !w.field("IST4:INN")->text().isEmpty(); },
              [&] {
                leave(w.field("IST4:KOD_OGRN"), "1027700132195");
                click(w.ok_button());
              },
              "ok in the one-pack window")
        .then([&] { return converter_waiting(f.op); },
              [&] {
                gui::ConverterWindow* c = f.op.converter_window();
                QCOMPARE(c->windowTitle(), u("Конвертация анкет АДВ-1  в формат 7  XML"));
                QCOMPARE(c->next_button()->text(), u("Следующая"));
                QCOMPARE(c->ok_button()->text(), u("&OK"));
                QCOMPARE(c->cancel_button()->text(), u("Отмена"));
                QVERIFY(c->tabs() == nullptr);
                auto* table = c->findChild<QTableWidget*>();
                QVERIFY(table);
                QCOMPARE(table->horizontalHeaderItem(1)->text(), u("текст"));
                names << field_text(c, 0);
                click(c->next_button());
              },
              "first document")
        .then([&] { return converter_waiting(f.op) && field_text(f.op.converter_window(), 0) != names.back(); },
              [&] {
                names << field_text(f.op.converter_window(), 0);
                click(f.op.converter_window()->next_button());
              },
              "second")
        .then([&] { return converter_waiting(f.op) && field_text(f.op.converter_window(), 0) != names.back(); },
              [&] {
                names << field_text(f.op.converter_window(), 0);
                click(f.op.converter_window()->ok_button());
              },
              "third, then OK")
        .then([&] { return !f.op.converter_window(); }, [&] { click(w.cancel_button()); }, "close");
    script.start();
    w.run();
    QVERIFY2(script.finished(), qPrintable(script.pending()));
    QCOMPARE(names, QStringList({u("Иванов"), u("Петров"), u("Сидоров")}));
    std::string xml = Folder::read(f.dir / "Out_7" / kOutName);
    QCOMPARE(count(xml, "<АНКЕТА_ЗЛ>"_w), 4);
    QCOMPARE(count(xml, "<ОГРН>1027700132195</ОГРН>"_w), 4);
    std::string j = f.journal();
    QVERIFY(j.find("1 анкета АДВ-1\n002 анкета АДВ-1\n003 анкета АДВ-1\n") != std::string::npos);
    QVERIFY(j.find("004 анкета АДВ-1\n") != std::string::npos);
    // The converter window keeps its position in its own section.
    QVERIFY(!f.ini("load_adv1", "Maximize").empty());
  }

  // A pack holding more documents than it announces: the announced ones are converted and the
  // status warns of the rest.
  void documents_beyond_kol_dok_are_told() {
    Folder f("left-out");
    f.start();
    f.dialogs.files.push_back(f.pack("a.txt", kHeader + "ДОКТ,АНКТ,2\nАНК1,Иванов\nАНК1,Петров\nАНК1,Орлов\n"));
    gui::OnePackWindow w(f.session(), f.pack_state(), f.op);
    UiScript script;
    script.then([&] { return w.isVisible(); }, [&] { click(w.in4_button()); }, "choose")
        .then([&] { return !w.field("IST4:INN")->text().isEmpty(); }, [&] { click(w.ok_button()); }, "ok")
        .then([&] { return converter_waiting(f.op); }, [&] { click(f.op.converter_window()->ok_button()); }, "all")
        .then([&] { return !f.op.converter_window(); },
              [&] {
                QCOMPARE(w.status()->text(), u("Записан файл ") + QString::fromStdString(kOutName) +
                                                 u(": документов 2 из 2. ВНИМАНИЕ: в пачке документов больше, чем "
                                                   "указано в ней (2); остальные не конвертированы (см. журнал)."));
                click(w.cancel_button());
              },
              "status");
    script.start();
    w.run();
    QVERIFY2(script.finished(), qPrintable(script.pending()));
    QCOMPARE(count(Folder::read(f.dir / "Out_7" / kOutName), "<АНКЕТА_ЗЛ>"_w), 2);
  }

  // "Отмена" in the converter window: the documents not yet converted are not written, the
  // file is closed properly; "Отмена" in the one-pack window closes it.
  void cancel_in_each_window() {
    Folder f("cancel");
    f.start();
    f.dialogs.files.push_back(f.pack("a.txt", kFourQuestionnaires));
    gui::OnePackWindow w(f.session(), f.pack_state(), f.op);
    UiScript script;
    script.then([&] { return w.isVisible(); }, [&] { click(w.in4_button()); }, "choose")
        .then([&] { return !w.field("IST4:INN")->text().isEmpty(); }, [&] { click(w.ok_button()); }, "ok")
        .then([&] { return converter_waiting(f.op); }, [&] { click(f.op.converter_window()->next_button()); }, "next")
        .then([&] { return converter_waiting(f.op); }, [&] { click(f.op.converter_window()->cancel_button()); },
              "cancel")
        .then([&] { return !f.op.converter_window(); }, [&] { click(w.cancel_button()); }, "cancel one-pack");
    script.start();
    w.run();
    QVERIFY2(script.finished(), qPrintable(script.pending()));
    QVERIFY(!w.isVisible());
    std::string xml = Folder::read(f.dir / "Out_7" / kOutName);
    QCOMPARE(count(xml, "<АНКЕТА_ЗЛ>"_w), 2);
    QVERIFY(xml.find("</ФайлПФР>"_w) != std::string::npos);
    QVERIFY(f.journal().find(" Закрыли по Отмене ") != std::string::npos);
    QVERIFY(!f.ini("odna_pch", "Maximize").empty());
  }

  // The window built from any converter's view: pages as tabs with their captions, a
  // one-document kind with "&OK" alone, the frame answering as "Отмена" or "&OK".
  void window_from_a_view() {
    core::ConverterView v;
    v.procedure = "load_szv_k";
    v.title = a("Чтение СЗВ-К из одной пачки");
    v.next_caption = a("Следующая");
    v.pages = {{a("Периоды"), {}, {{"", {a("тип"), "N"}, {{"РАБ", "1"}, {"РАБ", "2"}}}}},
               {a("Сведения"),
                {{"", {{a("фамилия:"), a("Иванов")}}},
                 {a("Старые данные:"), {{a("имя:"), a("Иван")}}},
                 {a("Изменившиеся данные:"), {{a("имя:"), a("Иоанн")}}, true}},
                {{a("Календарные периоды стажа"), {a("с")}, {}}}}};
    v.started = "10:15:30";
    v.elapsed = "00:00:01";
    gui::ConverterWindow w(v);
    w.show();
    QVERIFY(w.tabs());
    QCOMPARE(w.tabs()->count(), 2);
    QCOMPARE(w.tabs()->tabText(1), u("Сведения"));
    // Groups are framed under their captions; one marked "beside" stands to the right.
    auto boxes = w.tabs()->widget(1)->findChildren<QGroupBox*>();
    QCOMPARE(boxes.size(), 3);
    QCOMPARE(boxes[0]->title(), u("Старые данные:"));
    QCOMPARE(boxes[1]->title(), u("Изменившиеся данные:"));
    QCOMPARE(boxes[0]->mapTo(&w, QPoint()).y(), boxes[1]->mapTo(&w, QPoint()).y());
    QVERIFY(boxes[1]->mapTo(&w, QPoint()).x() > boxes[0]->mapTo(&w, QPoint()).x());
    QCOMPARE(w.findChild<QLabel*>("T_RAB_N")->text(), u("10:15:30"));
    QVERIFY(!w.progress_bar()->isVisible());
    // The shortcut of "&OK" answers as the button does; the frame tells the run it was closed.
    std::vector<std::optional<core::ConverterAction>> pressed;
    w.on_pressed([&](std::optional<core::ConverterAction> a) { pressed.push_back(a); });
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTimer::singleShot(0, [&] { QTest::keyClick(&w, Qt::Key_O, Qt::AltModifier); });
    QTRY_COMPARE_WITH_TIMEOUT(pressed.size(), std::size_t{1}, 3000);
    QVERIFY(pressed[0] == core::ConverterAction::ok);
    w.close();
    QCOMPARE(pressed.size(), std::size_t{2});
    QVERIFY(!pressed[1]);
    QVERIFY(w.isVisible());  // whoever drives the run closes it, not the frame

    v.next_caption.clear();
    v.title = a("Конвертация  АДВ-11 в формат 7 XML");
    v.pages = {{"", {{"", {{a("год:"), "2005", 4, a("АКСИМУМ")}}}}, {}}};
    gui::ConverterWindow single(v);
    single.show();
    QVERIFY(!single.next_button());
    QVERIFY(!single.cancel_button());
    QVERIFY(!single.tabs());
    QCOMPARE(single.windowTitle(), u("Конвертация  АДВ-11 в формат 7 XML"));

    // The run of the remaining documents: their progress, and nothing to press meanwhile.
    w.show_progress(3, 10);
    QVERIFY(w.progress_bar()->isVisible());
    QCOMPARE(w.progress_bar()->value(), 3);
    QCOMPARE(w.progress_bar()->maximum(), 10);
    QVERIFY(!w.ok_button()->isEnabled() && !w.next_button()->isEnabled());
    w.close();
    QVERIFY(w.isVisible());
  }
};

class SettingsAndBatch : public QObject {
  Q_OBJECT
 private slots:
  void settings_written_on_leave() {
    Folder f("settings");
    f.start();
    std::string sep(runtime::separator());
    std::string pf = runtime::path_to_ansi(f.dir) + sep;
    f.dialogs.folders.push_back(f.dir / "Out");
    gui::SettingsWindow w(f.session(), f.op);
    UiScript script;
    script.then([&] { return w.isVisible(); },
                [&] {
                  QCOMPARE(w.windowTitle(), u("Настройки"));
                  QCOMPARE(w.pages()->count(), 5);
                  QCOMPARE(w.pages()->tabText(4), u("Просмотр"));
                  QCOMPARE(w.edit("PROGRAM_FOLDER")->text(), gui::qs(pf));
                  QVERIFY(w.edit("PROGRAM_FOLDER")->hasFocus());
                  // A cleared folder takes its default, shown and written.
                  leave(w.edit("path_in4"), "");
                  QCOMPARE(w.edit("path_in4")->text(), gui::qs(pf + "In_4" + sep));
                  leave(w.edit("path_Report"), "");
                  QCOMPARE(w.edit("path_Report")->text(), gui::qs(pf + "Report" + sep));
                  leave(w.edit("path_Arhiv"), "");
                  QCOMPARE(w.edit("path_Arhiv")->text(), QString());
                  leave(w.edit("path_out7"), "/typed/out");
                  click(w.browse("path_out7"));
                  QCOMPARE(w.edit("path_out7")->text(), gui::qs_path(f.dir / "Out") + "/");
                  w.check("fl_p4")->click();
                  w.check("zip_dt")->click();  // on at start-up: now off
                  QCOMPARE(w.edit("imj_Arh")->text(), u("arhiv"));
                  QCOMPARE(w.edit("SAMPLE")->text(), u(" -add arhiv"));
                  // Typed and not yet left: written when the window closes.
                  w.edit("par_ChPSN")->setFocus();
                  QTest::keyClicks(w.edit("par_ChPSN"), "K");
                  click(w.cancel_button());
                },
                "edit and cancel");
    script.start();
    w.run();
    QVERIFY(script.finished());
    // "Отмена" undoes nothing.
    QCOMPARE(f.ini("odna_pch", "path_in4"), pf + "In_4" + sep);
    QCOMPARE(f.ini("odna_pch", "path_Report"), pf + "Report" + sep);
    QVERIFY(f.session().ini.has_setting("odna_pch", "path_Arhiv"));
    QCOMPARE(f.ini("odna_pch", "path_Arhiv"), std::string());
    QCOMPARE(f.ini("odna_pch", "path_out7"), runtime::path_to_ansi(f.dir / "Out") + sep);
    QCOMPARE(f.ini("odna_pch", "fl_p4"), std::string("1"));
    QCOMPARE(f.ini("odna_pch", "zip_dt"), std::string("0"));
    QCOMPARE(f.ini("odna_pch", "par_ChPSN"), std::string(" U# K"));
    QCOMPARE(f.session().settings.check_one_pack, 1);
    QVERIFY(!f.ini("set_mode", "Maximize").empty());
  }

  void batch_converts_and_sums_up() {
    Folder f("batch");
    f.start();
    // (a.txt a pack number of its own: one batch gives a PFR name once)
    f.pack("a.txt", "ЗГЛВ,П4.10,X,1\nИСТ4,ВЗЛ,075-001-000001\nПАЧК,13,,,15.07.2010\nДОКТ,ЭЦПД,0\n");
    f.pack("b.txt", "not a pack\n");
    f.pack("c.txt", kFourQuestionnaires);
    f.pack("d.txt", kFourQuestionnaires);  // c.txt's PFR name: refused, and the details say whose
    // More documents than announced (a pack number of its own).
    f.pack("0.txt",
           "ЗГЛВ,П4.10,X,1\nИСТ4,ВЗЛ,075-001-000001\nПАЧК,14,,,15.07.2010\nДОКТ,АНКТ,1\nАНК1,Иванов\nАНК1,"
           "Петров\n");
    fs::create_directories(f.dir / "In_4" / "sub");
    gui::BatchWindow w(f.session(), f.pack_state(), f.op);
    std::vector<int> seen;
    f.op.set_progress_sink({});
    UiScript script;
    script.then([&] { return w.isVisible(); },
                [&] {
                  QCOMPARE(w.windowTitle(), u("Пакетная обработка пачек 4 формата ПФР  в 7 формат XML"));
                  QCOMPARE(w.field("FL_PAKET")->text(), u("1"));
                  QCOMPARE(w.field("KOL_PCH")->text(), u("5"));
                  click(w.ok_button());
                },
                "ok");
    script.start();
    w.run();
    QVERIFY(script.finished());
    QVERIFY(!w.isVisible());
    QCOMPARE(w.field("TEK_N_PCH")->text(), u("005"));
    QCOMPARE(w.field("FIL:NAME")->text(), u("d.txt"));
    QCOMPARE(w.progress_bar()->value(), w.progress_bar()->maximum());
    std::string summary = f.dialogs.log.back();
    QCOMPARE(QString::fromStdString(summary),
             u("box Сообщение: Пачек в каталоге: 5.\nСконвертировано: 1.\n"
               "Сконвертировано, но не все документы (их больше, чем указано в пачке): 1.\n"
               "Не конвертируются (тип документа пока не обрабатывается): 1.\n"
               "Отвергнуто (не пачка 4 формата): 1.\nНе записано (выходной файл не создан): 1."));
    QCOMPARE(gui::qs(f.dialogs.boxes.back().details), u("Сконвертированы:\n    c.txt (АДВ-1)\n\nСконвертированы "
                                                        "указанные в пачке документы, остальные не конвертированы "
                                                        "(см. журнал):\n    0.txt (АДВ-1)\n\nНе конвертируются (в "
                                                        "файле XML только опись пачки):\n    a.txt (ЭЦПД)\n\n"
                                                        "Отвергнуты (не пачка 4 формата):\n    b.txt\n\n"
                                                        "Не записаны:\n    d.txt (АДВ-1): имя файла XML уже "
                                                        "дано пачке c.txt\n"));
    QCOMPARE(count(Folder::read(f.dir / "Out_7" / kOutName), "<АНКЕТА_ЗЛ>"_w), 4);
    QVERIFY(f.journal().find("Конец пакета ") != std::string::npos);
    QVERIFY(!f.ini("all_pch", "Maximize").empty());
  }

  void batch_cancel_converts_nothing() {
    Folder f("batch-cancel");
    f.start();
    f.pack("a.txt", kHeader + "ДОКТ,ЭЦПД,0\n");
    f.dialogs.folders.push_back(f.dir / "In_4");
    gui::BatchWindow w(f.session(), f.pack_state(), f.op);
    UiScript script;
    script.then([&] { return w.isVisible(); },
                [&] {
                  click(w.in4_button());
                  QCOMPARE(w.field("PATH_IN4")->text(), gui::qs_path(f.dir / "In_4"));
                  click(w.out7_button());  // cancelled: nothing changes
                  click(w.cancel_button());
                },
                "cancel");
    script.start();
    w.run();
    QVERIFY(script.finished());
    QVERIFY(f.outputs().empty());
    QVERIFY(f.journal().find("Начало пакета") == std::string::npos);
    QCOMPARE(f.ini("odna_pch", "path_in4"), runtime::path_to_ansi(f.dir / "In_4"));
  }

  // "Отмена" while the batch runs asks first; on "&Да" the batch ends after the current pack.
  void batch_stops_after_the_current_pack() {
    Folder f("batch-stop");
    f.start();
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) f.pack(name, kFourQuestionnaires);
    gui::BatchWindow w(f.session(), f.pack_state(), f.op);
    f.dialogs.answers = {core::Button::no, core::Button::yes};
    f.dialogs.on_progress = [&](std::size_t current) {
      if (current == 2 || current == 3) {
        QVERIFY(w.cancel_button()->isEnabled());
        click(w.cancel_button());
      }
    };
    UiScript script;
    script.then([&] { return w.isVisible(); }, [&] { click(w.ok_button()); }, "ok");
    script.start();
    w.run();
    QVERIFY(script.finished());
    QCOMPARE(count(f.dialogs.joined_log(), "Остановить пакетную обработку?"), 2);
    QCOMPARE(count(Folder::read(f.dir / "Out_7" / kOutName), "<АНКЕТА_ЗЛ>"_w), 4);
    QVERIFY(f.dialogs.log.back().find("остановлена оператором: обработано пачек 2 из 4.") != std::string::npos);
    QVERIFY(f.journal().find("Пакет остановлен оператором, обработано пачек: 2 из 4\n") != std::string::npos);
  }
};

class WindowPositions : public QObject {
  Q_OBJECT
 private slots:
  void saved_and_restored() {
    Folder f("positions");
    f.start();
    core::IniStore& ini = f.session().ini;
    {
      gui::MainWindow main(f.session(), f.pack_state(), f.op);
      main.open();
      main.move(120, 80);
      main.resize(700, 450);
      main.close();
    }
    QCOMPARE(f.ini("Main", "XPos"), std::string("120"));
    QCOMPARE(f.ini("Main", "Width"), std::string("700"));
    QCOMPARE(f.ini("Main", "Maximize"), std::string("No"));
    gui::MainWindow again(f.session(), f.pack_state(), f.op);
    again.open();
    QCOMPARE(again.pos(), QPoint(120, 80));
    QCOMPARE(again.size(), QSize(700, 450));

    // A window closed maximized keeps only that state.
    again.setWindowState(Qt::WindowMaximized);
    gui::save_position(ini, "Main", again, true);
    QCOMPARE(f.ini("Main", "Maximize"), std::string("Yes"));
    QVERIFY(!ini.has_setting("Main", "XPos"));
    QVERIFY(!ini.has_setting("Main", "Height"));
    QWidget other;
    gui::restore_position(ini, "Main", other, true);
    QVERIFY(other.windowState() & Qt::WindowMaximized);
    again.setWindowState(Qt::WindowNoState);
    again.close();

    // Saved on a larger screen: back onto this one, no larger than it.
    core::save_window_position(ini, "Main", {false, false, 3000, 2000, 2500, 1600});
    gui::MainWindow moved(f.session(), f.pack_state(), f.op);
    moved.open();
    QRect screen = moved.screen()->availableGeometry();
    QVERIFY(screen.contains(moved.frameGeometry()));
    moved.close();

    // A size saved smaller than the content needs (at another scale) comes back as large as the
    // content wants, where the screen has room.
    core::save_window_position(ini, "odna_pch", {false, false, 10, 10, 300, 120});
    gui::OnePackWindow small(f.session(), f.pack_state(), f.op);
    gui::restore_position(ini, "odna_pch", small, true);
    QSize room = gui::room_on_screen(small);
    QCOMPARE(small.size(), small.sizeHint().expandedTo(small.minimumSizeHint()).boundedTo(room));
    QVERIFY(small.width() > 300 && small.height() > 120);

    // A window that is not resizable keeps no size.
    QWidget fixed;
    fixed.move(5, 6);
    gui::save_position(ini, "Splash_Pfr", fixed, false);
    QCOMPARE(f.ini("Splash_Pfr", "YPos"), std::string("6"));
    QVERIFY(!ini.has_setting("Splash_Pfr", "Width"));
  }
};

int run_window_tests(int argc, char** argv) {
  int failed = 0;
  {
    OperatorPath t;
    failed += QTest::qExec(&t, argc, argv);
  }
  {
    ConverterWindows t;
    failed += QTest::qExec(&t, argc, argv);
  }
  {
    SettingsAndBatch t;
    failed += QTest::qExec(&t, argc, argv);
  }
  {
    WindowPositions t;
    failed += QTest::qExec(&t, argc, argv);
  }
  return failed;
}

#include "windows_test.moc"
