// SPDX-License-Identifier: MIT
// tolvex: the desktop program. The program folder is the current directory: the Russian texts
// of the runtime, the information window, the windowless start (settings, journal), then the
// main window until it is closed. `tolvex PACK` opens the one-pack window with that pack.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <filesystem>
#include <optional>

#include "app/process.h"
#include "app/startup.h"
#include "core/conversion/messages.h"
#include "gui/main_window.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_operator.h"
#include "gui/runtime_texts.h"
#include "gui/splash_window.h"
#include "gui/text.h"
#include "runtime/codepage.h"
#include "runtime/platform.h"

namespace fs = std::filesystem;
using namespace tolvex;

namespace {

// "Icon/pfr1.ico" of the program folder when there is one, otherwise the program's own.
QIcon program_icon(const fs::path& folder) {
  QString own = gui::qs_path(folder / "Icon" / "pfr1.ico");
  if (QFileInfo(own).isFile()) {
    QIcon icon(own);
    if (!icon.isNull()) return icon;
  }
  return QIcon(":/tolvex/tolvex.png");
}

}  // namespace

int main(int argc, char** argv) {
  runtime::start_process();
  std::optional<gui::RussianSystemLocale> russian(std::in_place);
  QApplication app(argc, argv);
  russian.reset();
  QApplication::setApplicationName("tolvex");
  QApplication::setApplicationVersion(TOLVEX_VERSION);
  QApplication::setDesktopFileName("io.github.tolvex.Tolvex");
  QApplication::setQuitOnLastWindowClosed(false);
  gui::install_runtime_texts();
  QCommandLineParser options;
  options.setApplicationDescription(QString::fromUtf8("Конвертор пачек ПФР 4 формата в 7 формат XML"));
  options.addHelpOption();
  options.addVersionOption();
  options.addPositionalArgument("PACK", QString::fromUtf8("пачка 4 формата: открыть с ней окно одной пачки"));
  options.process(app);
  gui::QtOperator op;
  fs::path folder;
  try {
    folder = app::current_folder(op);
  } catch (const core::ProgramEnd& end) {
    return end.exit_status();
  }
  std::optional<fs::path> pack;
  if (!options.positionalArguments().isEmpty()) pack = folder / gui::to_path(options.positionalArguments().front());
  QApplication::setWindowIcon(program_icon(folder));
  if (app::journal_held_by_another(folder)) {
    // A second start: the copy that runs keeps its journal; this one says so and ends.
    gui::QtDialogs boxes;
    core::info_box(boxes, core::kTitleMessage, app::journal_held_text());
    return 0;
  }

  core::SystemClock clock;
  {
    core::IniStore positions(app::settings_path(folder));
    gui::SplashWindow splash(clock.now());
    splash.run(&positions);
  }

  app::ProcessRunner programs;
  try {
    app::Program program(folder, op, clock, programs);
    op.set_positions(&program.session().ini);
    gui::MainWindow window(program.session(), program.pack_state(), op);
    window.on_closed = [] { QCoreApplication::quit(); };
    window.open();
    // The archiver runs beside the program: when it fails, the operator and the journal hear of it.
    QTimer archivers;
    QObject::connect(&archivers, &QTimer::timeout,
                     [&] { op.guard([&] { programs.tell_failed_archivers(program.session()); }); });
    archivers.start(1000);
    if (pack) QTimer::singleShot(0, &window, [&window, &pack] { window.one_pack(pack); });
    int rc = QApplication::exec();
    if (op.ending()) return op.end()->exit_status();
    return rc;
  } catch (const core::ProgramEnd& end) {
    return end.exit_status();
  }
}
