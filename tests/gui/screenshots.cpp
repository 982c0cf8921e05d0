// Pictures of the main, one-pack, converter, batch and settings windows for the README, made
// offscreen. They land in $TOLVEX_SCREENSHOT_DIR (docs/screenshots when the README's are
// remade), otherwise in a temporary folder.
#include <QDir>
#include <QPixmap>
#include <QTabWidget>

#include "app/gui/batch_window.h"
#include "app/gui/converter_window.h"
#include "app/gui/main_window.h"
#include "app/gui/one_pack_window.h"
#include "app/gui/settings_window.h"
#include "gui_support.h"

using namespace tolvex;
using namespace tolvex::guitest;
using namespace tolvex::runtime::literals;

namespace {

QString shot_dir() {
  QString d = qEnvironmentVariable("TOLVEX_SCREENSHOT_DIR");
  if (d.isEmpty()) d = QDir::tempPath() + "/tolvex-screenshots";
  QDir().mkpath(d);
  return d;
}

void save(QWidget& w, const char* name) {
  QPixmap pix = w.grab();
  QVERIFY(!pix.isNull());
  QVERIFY(pix.save(shot_dir() + "/" + name, "PNG"));
}

core::ConverterView statement_view() {
  core::ConverterView v;
  v.procedure = "load_adv10";
  v.title = a("Конвертация  АДВ-10 в формат 7 XML");
  v.next_caption = a("Следущая");
  core::ViewPage p;
  p.fields = {{a("№ в пачке:"), "1"},        {a("из"), "1"},          {a("пачек:"), "3"},
              {a("застрах. лиц:"), "25"},    {a("задолженность:"), "0.00"}, {a("категория:"), a("НР")},
              {a("квартал:"), "4"},          {a("год:"), "2010"},     {a("валюта:"), a("РУБ")},
              {a("заработок:"), "1250000.00"}, {a("больничные:"), "14200.00"}, {a("начислено:"), "175000.00"},
              {a("уплачено:"), "175000.00"}, {a("дата заполнения:"), "15.01.2011"}, {a("месяцев:"), "3"}};
  core::ViewList months{"", {a("тип"), a("мес"), a("ср.кол."), a("доход"), a("больн."), a("р"), a("начисл."), a("уплач.")}, {}};
  const char* m[] = {"10", "11", "12"};
  for (const char* mm : m)
    months.rows.push_back({a("МЕСЦ"), mm, "25", "416666.67", "4733.33", "1", "58333.33", "58333.33"});
  p.lists.push_back(months);
  v.pages = {p};
  v.started = "10:15:30";
  v.elapsed = "00:00:02";
  return v;
}

}  // namespace

class Screenshots : public QObject {
  Q_OBJECT
 private slots:
  void windows() {
    Folder f("screenshots");
    f.start();
    f.dialogs.files.push_back(f.pack("PFR12.txt", kHeader + "ДОКТ,АНКТ,1\nАНК1,Иванов\n"));
    gui::MainWindow main(f.session(), f.pack_state(), f.op);
    main.open();
    main.resize(660, 380);
    save(main, "main.png");

    gui::OnePackWindow one(f.session(), f.pack_state(), f.op);
    UiScript script;
    script.then([&] { return one.isVisible(); }, [&] { QTest::mouseClick(one.in4_button(), Qt::LeftButton); })
        .then([&] { return !one.field("IST4:INN")->text().isEmpty(); },
              [&] {
                one.resize(1040, 760);
                save(one, "one_pack.png");
                one.close();
              });
    script.start();
    one.run();
    QVERIFY(script.finished());

    gui::ConverterWindow conv(statement_view());
    conv.resize(980, 420);
    conv.show();
    save(conv, "converter.png");
    conv.hide();

    gui::SettingsWindow settings(f.session(), f.op);
    settings.resize(780, 560);
    settings.show();
    save(settings, "settings.png");
    settings.pages()->setCurrentIndex(1);
    save(settings, "settings_check4.png");
    settings.hide();

    gui::BatchWindow batch(f.session(), f.pack_state(), f.op);
    batch.show();
    save(batch, "batch.png");
    batch.hide();
    main.close();
  }
};

int run_screenshots(int argc, char** argv) {
  Screenshots t;
  return QTest::qExec(&t, argc, argv);
}

#include "screenshots.moc"
