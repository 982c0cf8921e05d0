// SPDX-License-Identifier: MIT
#include "app/gui/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include "app/gui/batch_window.h"
#include "app/gui/one_pack_window.h"
#include "app/gui/qt_operator.h"
#include "app/gui/settings_window.h"
#include "app/gui/splash_window.h"
#include "app/gui/text.h"
#include "app/gui/widgets.h"
#include "app/gui/window_position.h"

namespace tolvex::gui {

namespace {

QPushButton* big_button(const QString& caption, const char* name, QWidget* parent) {
  QPushButton* b = button(caption, name, parent);
  b->setMinimumHeight(44);
  return b;
}

// The first local file of a drag, if any.
std::optional<std::filesystem::path> dropped_file(const QMimeData* mime) {
  if (!mime || !mime->hasUrls()) return std::nullopt;
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) return to_path(url.toLocalFile());
  return std::nullopt;
}

}  // namespace

QString guide_path() {
  QString installed = QCoreApplication::applicationDirPath() + "/../share/doc/tolvex/guide/index.html";
  if (QFileInfo(installed).isFile()) return QFileInfo(installed).canonicalFilePath();
  return QString::fromUtf8(TOLVEX_GUIDE_SOURCE);
}

QString main_title(const core::ClockTime& today) {
  QString date = today.year == 0 ? QString(" ") : QString::fromStdString(core::dd_mm_yyyy(today));
  return QString::fromUtf8("Конвертация пачек ПФР 4 формата в файл 7 формата XML Сегодня ") + date;
}

MainWindow::MainWindow(core::Session& session, core::PackState& pack_state, QtOperator& op, QWidget* parent)
    : QWidget(parent), s_(session), p_(pack_state), op_(op) {
  setObjectName("Main");
  setWindowTitle(QString::fromUtf8("Конвертор пачек ПФР 4 формата в 7 формат XML"));
  setAcceptDrops(true);
  auto* v = new QVBoxLayout(this);
  button1_ = big_button(QString::fromUtf8("Конвертор &одной пачки   4 формата в одну пачку        7 формата XML"),
                        "BUTTON1", this);
  button3_ = big_button(
      QString::fromUtf8("Конвертор &ВСЕХ пачек   4 формата в каталоге IN_4 в файлы 7 формата XML в каталог OUT_7"),
      "BUTTON3", this);
  button4_ = big_button(QString::fromUtf8("&Настройки"), "BUTTON4", this);
  splash_ = button(QString(), "BUTTON_SPLASH", this);
  splash_->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
  splash_->setIconSize(QSize(32, 32));
  splash_->setToolTip(QString::fromUtf8("Информация"));
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  help->setObjectName("GUIDE");
  connect(help, &QShortcut::activated, this, [this] { guide(); });
  button2_ = big_button(QString::fromUtf8("Вы&ход"), "BUTTON2", this);
  v->addWidget(button1_);
  v->addWidget(button3_);
  v->addWidget(button4_);
  auto* reminder1 =
      new QLabel(QString::fromUtf8("Обязательно вначале проверить пачки 4 формата программой CheckPSN !!!"), this);
  auto* reminder2 = new QLabel(QString::fromUtf8("НЕ ЗАБЫВАЙТЕ снимать с пачки ЭЦПД !!!"), this);
  for (QLabel* l : {reminder1, reminder2}) {
    l->setAlignment(Qt::AlignCenter);
    l->setStyleSheet("color: #b00000; font-weight: bold;");
    v->addWidget(l);
  }
  v->addStretch(1);
  auto* row = new QHBoxLayout;
  row->addWidget(splash_);
  row->addStretch(1);
  row->addWidget(button2_);
  v->addLayout(row);

  connect(button1_, &QPushButton::clicked, this, [this] { one_pack(); });
  connect(button3_, &QPushButton::clicked, this, [this] { batch(); });
  connect(button4_, &QPushButton::clicked, this, [this] { settings(); });
  connect(splash_, &QPushButton::clicked, this, [this] { splash(); });
  connect(button2_, &QPushButton::clicked, this, [this] { close(); });
  fit_to_screen(*this);
  resize(size().expandedTo(QSize(640, 420)).boundedTo(room_on_screen(*this)));
}

void MainWindow::open() {
  setWindowTitle(main_title(s_.today));
  restore_position(s_.ini, "Main", *this, true);
  show();
  button1_->setFocus();  // the first action
}

void MainWindow::one_pack(const std::optional<std::filesystem::path>& pack) {
  if (busy_ || op_.ending()) return;
  busy_ = true;
  {
    OnePackWindow w(s_, p_, op_, this);
    w.run(pack);
  }
  busy_ = false;
}

void MainWindow::batch() {
  if (busy_ || op_.ending()) return;
  busy_ = true;
  {
    BatchWindow w(s_, p_, op_, this);
    w.run();
  }
  busy_ = false;
}

void MainWindow::settings() {
  if (busy_ || op_.ending()) return;
  busy_ = true;
  {
    SettingsWindow w(s_, op_, this);
    w.run();
  }
  busy_ = false;
}

void MainWindow::splash() {
  SplashWindow w(s_.today, this);
  w.setWindowIcon(windowIcon());
  w.run(&s_.ini);
}

void MainWindow::guide() {
  QUrl page = QUrl::fromLocalFile(guide_path());
  if (open_url)
    open_url(page);
  else
    QDesktopServices::openUrl(page);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (busy_ && !op_.ending()) return event->ignore();
  if (!op_.ending()) save_position(s_.ini, "Main", *this, true);
  QWidget::closeEvent(event);
  if (on_closed) on_closed();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!busy_ && dropped_file(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  auto file = dropped_file(event->mimeData());
  if (!file) return;
  event->acceptProposedAction();
  // The drop event is left first; the conversion window opens after it.
  std::filesystem::path pack = *file;
  QMetaObject::invokeMethod(
      this, [this, pack] { one_pack(pack); }, Qt::QueuedConnection);
}

}  // namespace tolvex::gui
