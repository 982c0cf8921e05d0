// SPDX-License-Identifier: MIT
// The windows as an operator sees them on a 1366×768 laptop, with every example pack: each
// window fits the screen with its buttons in sight, every value field shows its whole text,
// and nothing scrolls sideways; the lists open at their first row with a scroll bar when their
// rows do not all fit. At the scale factors 1.25 and 1.5 (CTest runs them too) the fit, the
// buttons, the lists and the sideways scrolling are asked for (the content may scroll down there).
#include <QAbstractScrollArea>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>

#include "gui/batch_window.h"
#include "gui/converter_window.h"
#include "gui/main_window.h"
#include "gui/one_pack_window.h"
#include "gui/settings_window.h"
#include "gui/widgets.h"
#include "gui_support.h"

namespace fs = std::filesystem;
using namespace tolvex;
using namespace tolvex::guitest;

namespace {

// Room a laptop's task bar and a window's title bar take from the screen.
constexpr int kTaskBar = 40;
constexpr int kTitleBar = 40;

bool scaled() { return !qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"); }

// What is wrong with the window as it is shown now (its current tab only).
QStringList problems(QWidget* w) {
  QStringList out;
  QRect screen = w->screen()->availableGeometry();
  if (!screen.contains(w->frameGeometry()))
    out << QString("window %1 at %2,%3 %4x%5 off the screen")
               .arg(w->objectName())
               .arg(w->frameGeometry().x())
               .arg(w->frameGeometry().y())
               .arg(w->frameGeometry().width())
               .arg(w->frameGeometry().height());
  if (!scaled()) {
    // Its natural size leaves room for a task bar: nothing has to shrink to fit.
    QSize hint = w->sizeHint();
    if (hint.width() > screen.width() - 16 || hint.height() > screen.height() - kTaskBar - kTitleBar)
      out << QString("window %1 wants %2x%3").arg(w->objectName()).arg(hint.width()).arg(hint.height());
  }
  for (QPushButton* b : w->findChildren<QPushButton*>()) {
    if (!b->isVisible()) continue;
    QRect r(b->mapTo(w, QPoint(0, 0)), b->size());
    if (!w->rect().contains(r) || !screen.contains(QRect(b->mapToGlobal(QPoint(0, 0)), b->size())))
      out << "button out of sight: " + b->text();
    QString caption = b->text().remove('&');
    int needed = b->fontMetrics().horizontalAdvance(caption) + (b->icon().isNull() ? 0 : b->iconSize().width()) + 8;
    if (!scaled() && b->width() < needed) out << "button cut: " + b->text();
  }
  for (QAbstractScrollArea* a : w->findChildren<QAbstractScrollArea*>())
    if (a->isVisible() && a->horizontalScrollBar()->isVisible())
      out << "scrolls sideways: " + QString(a->metaObject()->className()) + " " + a->objectName();
  for (QTableWidget* t : w->findChildren<QTableWidget*>()) {
    if (!t->isVisible()) continue;
    if (t->verticalScrollBar()->value() != 0) out << "list not at its first row";
    int rows = t->rowCount() * t->verticalHeader()->defaultSectionSize();
    if (rows > t->viewport()->height() && !t->verticalScrollBar()->isVisible()) out << "list without a scroll bar";
  }
  if (scaled()) return out;
  for (QLineEdit* e : w->findChildren<QLineEdit*>()) {
    if (!e->isVisible()) continue;
    int text = e->fontMetrics().horizontalAdvance(e->displayText());
    if (text > gui::text_room(e))
      out << QString("%1 \"%2\" needs %3 px, has %4").arg(e->objectName(), e->text()).arg(text).arg(gui::text_room(e));
  }
  for (QTableWidget* t : w->findChildren<QTableWidget*>()) {
    if (!t->isVisible()) continue;
    for (int r = 0; r < t->rowCount(); ++r)
      for (int c = 0; c < t->columnCount(); ++c)
        if (QTableWidgetItem* it = t->item(r, c);
            it && t->fontMetrics().horizontalAdvance(it->text()) > t->columnWidth(c))
          out << QString("list cell \"%1\" wider than its column").arg(it->text());
  }
  return out;
}

// The problems of every tab of the window.
QStringList problems_of_every_tab(QWidget* w, const QString& what) {
  QStringList out;
  auto tabs = w->findChildren<QTabWidget*>();
  if (tabs.isEmpty()) {
    for (const QString& p : problems(w)) out << what + ": " + p;
    return out;
  }
  for (QTabWidget* t : tabs)
    for (int i = 0; i < t->count(); ++i) {
      t->setCurrentIndex(i);
      QCoreApplication::processEvents();
      for (const QString& p : problems(w)) out << what + " [" + t->tabText(i) + "]: " + p;
    }
  return out;
}

}  // namespace

class WindowLayout : public QObject {
  Q_OBJECT
 private slots:
  // The one-pack window and the converter window of every example pack, as "&OK" shows them.
  void one_pack_and_converter_windows() {
    QStringList found;
    for (const fs::path& example : example_packs()) {
      ExampleFolder f("layout-" + example.stem().string());
      QString name = gui::qs_path(example.filename());
      gui::OnePackWindow w(f.session(), f.pack_state(), f.op);
      QString read;  // the status once the header is read
      UiScript script;
      script
          .then([&] { return w.isVisible() && !w.field("DOKT:TYP_DOK")->text().isEmpty(); },
                [&] {
                  read = w.status()->text();
                  found << problems_of_every_tab(&w, "one pack " + name);
                  QVERIFY(!w.field("IST4:KOD_OGRN")->isReadOnly());
                  click_later(w.ok_button());
                },
                "header shown")
          .then([&] { return converter_waiting() || w.status()->text() != read; },
                [&] {
                  if (gui::ConverterWindow* c = f.op.converter_window()) {
                    found << problems_of_every_tab(c, "converter " + name);
                    click_later(c->cancel_button() ? c->cancel_button() : c->ok_button());
                  }
                },
                "converter shown")
          .then([&] { return !f.op.converter_window() && w.status()->text() != read; },
                [&] {
                  found << problems(&w);
                  w.cancel_button()->click();
                },
                "status shown");
      current_ = &f.op;
      script.start();
      w.run(f.dir / "In_4" / example.filename());
      QVERIFY2(script.finished(), qPrintable(name + ": " + script.pending()));
    }
    QVERIFY2(found.isEmpty(), qPrintable(found.join("\n")));
  }

  void main_batch_and_settings_windows() {
    ExampleFolder f("layout-others");
    QStringList found;
    gui::MainWindow main(f.session(), f.pack_state(), f.op);
    main.open();
    found << problems_of_every_tab(&main, "main");
    main.close();
    {
      gui::SettingsWindow settings(f.session(), f.op);
      UiScript script;
      script.then([&] { return settings.isVisible(); },
                  [&] {
                    found << problems_of_every_tab(&settings, "settings");
                    settings.ok_button()->click();
                  });
      script.start();
      settings.run();
      QVERIFY(script.finished());
    }
    gui::BatchWindow batch(f.session(), f.pack_state(), f.op);
    UiScript script;
    script.then([&] { return batch.isVisible(); },
                [&] {
                  found << problems_of_every_tab(&batch, "batch");
                  batch.ok_button()->click();
                });
    script.start();
    batch.run();
    QVERIFY(script.finished());
    QVERIFY2(found.isEmpty(), qPrintable(found.join("\n")));
  }

 private:
  bool converter_waiting() const { return current_->converter_window() && current_->converter_window()->waiting(); }
  // A button clicked once the step that found it has returned.
  static void click_later(QPushButton* b) {
    QTimer::singleShot(0, b, [b] { b->click(); });
  }

  gui::QtOperator* current_ = nullptr;
};

int run_layout_tests(int argc, char** argv) {
  WindowLayout t;
  return QTest::qExec(&t, argc, argv);
}

#include "layout_test.moc"
