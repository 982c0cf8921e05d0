// SPDX-License-Identifier: MIT
// Pictures of the windows for the README, made offscreen with the example packs: the main
// window, the one-pack window, the converter windows of АДВ-8 and СЗВ-К, the batch window with
// its summary and the settings window with its pages. They land in $TOLVEX_SCREENSHOT_DIR (docs/screenshots
// when the README's are remade), otherwise in a temporary folder.
#include <QDir>
#include <QMessageBox>
#include <QPixmap>
#include <QTabWidget>

#include "gui/batch_window.h"
#include "gui/converter_window.h"
#include "gui/main_window.h"
#include "gui/one_pack_window.h"
#include "gui/qt_dialogs.h"
#include "gui/settings_window.h"
#include "gui_support.h"

using namespace tolvex;
using namespace tolvex::guitest;

namespace {

QString shot_dir() {
  QString d = qEnvironmentVariable("TOLVEX_SCREENSHOT_DIR");
  if (d.isEmpty()) d = QDir::tempPath() + "/tolvex-screenshots";
  QDir().mkpath(d);
  return d;
}

void save(const QPixmap& pix, const char* name) {
  QVERIFY(!pix.isNull());
  QVERIFY(pix.save(shot_dir() + "/" + name, "PNG"));
}

// The one-pack window with an example pack read, and the converter window "&OK" opens on it.
void one_pack_and_converter(const char* pack, const char* one_pack_shot, const char* converter_shot, int tab) {
  ExampleFolder f("operator", true);
  gui::OnePackWindow one(f.session(), f.pack_state(), f.op);
  UiScript script;
  script
      .then([&] { return one.isVisible() && !one.field("DOKT:TYP_DOK")->text().isEmpty(); },
            [&] {
              if (one_pack_shot) save(one.grab(), one_pack_shot);
              one.ok_button()->click();
            })
      .then([&] { return f.op.converter_window() && f.op.converter_window()->waiting(); },
            [&] {
              gui::ConverterWindow* c = f.op.converter_window();
              if (c->tabs()) c->tabs()->setCurrentIndex(tab);
              QCoreApplication::processEvents();
              save(c->grab(), converter_shot);
              (c->cancel_button() ? c->cancel_button() : c->ok_button())->click();
            })
      .then([&] { return !f.op.converter_window(); }, [&] { one.cancel_button()->click(); });
  script.start();
  one.run(f.dir / "In_4" / pack);
  QVERIFY(script.finished());
}

}  // namespace

class Screenshots : public QObject {
  Q_OBJECT
 private slots:
  void windows() {
    // Each in a program folder of its own, one after another under the same name.
    one_pack_and_converter("adv8-01.txt", "one_pack.png", "converter.png", 0);
    one_pack_and_converter("szvk-01.txt", nullptr, "converter_szvk.png", 1);

    ExampleFolder f("operator", true);
    gui::MainWindow main(f.session(), f.pack_state(), f.op);
    main.open();
    save(main.grab(), "main.png");
    main.close();

    gui::SettingsWindow settings(f.session(), f.op);
    settings.show();
    save(settings.grab(), "settings.png");
    // The pages the operator's guide explains one by one.
    auto* pages = settings.findChild<QTabWidget*>();
    QVERIFY(pages && pages->count() == 5);
    const char* page_shots[] = {nullptr, "settings_check4.png", "settings_check7.png", "settings_archive.png"};
    for (int i = 1; i < 4; ++i) {
      pages->setCurrentIndex(i);
      QCoreApplication::processEvents();
      save(settings.grab(), page_shots[i]);
    }
    settings.hide();

    // The batch over the example packs, and its summary with the details open.
    gui::BatchWindow batch(f.session(), f.pack_state(), f.op);
    UiScript script;
    script.then([&] { return batch.isVisible(); }, [&] { batch.ok_button()->click(); });
    script.start();
    batch.run();
    QVERIFY(script.finished());
    QMessageBox box;
    gui::fill_message_box(box, f.dialogs.boxes.back());
    box.show();
    for (QAbstractButton* b : box.findChildren<QAbstractButton*>())
      if (b->text().contains("...")) b->click();  // the details
    QCoreApplication::processEvents();
    save(box.grab(), "batch.png");
  }
};

int run_screenshots(int argc, char** argv) {
  Screenshots t;
  return QTest::qExec(&t, argc, argv);
}

#include "screenshots.moc"
