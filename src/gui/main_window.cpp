// SPDX-License-Identifier: MIT
#include "gui/main_window.h"

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

#include "gui/batch_window.h"
#include "gui/one_pack_window.h"
#include "gui/qt_operator.h"
#include "gui/settings_window.h"
#include "gui/splash_window.h"
#include "gui/text.h"
#include "gui/widgets.h"
#include "gui/window_position.h"

namespace tolvex::gui {

namespace {

QPushButton* big_button(const QString& caption, const char* name, QWidget* parent) {
  QPushButton* b = button(caption, name, parent);
  b->setMinimumHeight(44);
  return b;
}

// The pack of a drag, if any.
std::optional<std::filesystem::path> dropped_file(const QMimeData* mime) {
  if (!mime || !mime->hasUrls()) return std::nullopt;
  std::vector<std::filesystem::path> files;
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile()) files.push_back(to_path(url.toLocalFile()));
  return app::MainForm::dropped_pack(files);
}

}  // namespace

QString guide_path() {
  QString installed = QCoreApplication::applicationDirPath() + "/../share/doc/tolvex/guide/index.html";
  if (QFileInfo(installed).isFile()) return QFileInfo(installed).canonicalFilePath();
  return QString::fromUtf8(TOLVEX_GUIDE_SOURCE);
}

QString main_title(const core::ClockTime& today) { return qs(app::main_title(today)); }

MainWindow::MainWindow(core::Session& session, core::PackState& pack_state, QtOperator& op, QWidget* parent)
    : QWidget(parent), s_(session), p_(pack_state), op_(op) {
  setObjectName("Main");
  setWindowTitle(qs(app::kProgramCaption));
  setAcceptDrops(true);
  auto* v = new QVBoxLayout(this);
  one_pack_button_ = big_button(qs(app::kOnePackCaption), "BUTTON1", this);
  batch_button_ = big_button(qs(app::kBatchCaption), "BUTTON3", this);
  settings_button_ = big_button(qs(app::kSettingsCaption), "BUTTON4", this);
  splash_ = button(QString(), "BUTTON_SPLASH", this);
  splash_->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
  splash_->setIconSize(QSize(32, 32));
  splash_->setToolTip(qs(app::kSplashTip));
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  help->setObjectName("GUIDE");
  connect(help, &QShortcut::activated, this, [this] { guide(); });
  exit_button_ = big_button(qs(app::kExitCaption), "BUTTON2", this);
  v->addWidget(one_pack_button_);
  v->addWidget(batch_button_);
  v->addWidget(settings_button_);
  for (std::string_view reminder : app::kReminders) {
    auto* l = new QLabel(qs(reminder), this);
    l->setAlignment(Qt::AlignCenter);
    l->setStyleSheet("color: #b00000; font-weight: bold;");
    v->addWidget(l);
  }
  v->addStretch(1);
  auto* row = new QHBoxLayout;
  row->addWidget(splash_);
  row->addStretch(1);
  row->addWidget(exit_button_);
  v->addLayout(row);

  connect(one_pack_button_, &QPushButton::clicked, this, [this] { one_pack(); });
  connect(batch_button_, &QPushButton::clicked, this, [this] { batch(); });
  connect(settings_button_, &QPushButton::clicked, this, [this] { settings(); });
  connect(splash_, &QPushButton::clicked, this, [this] { splash(); });
  connect(exit_button_, &QPushButton::clicked, this, [this] { close(); });
  fit_to_screen(*this);
  resize(size().expandedTo(QSize(640, 420)).boundedTo(room_on_screen(*this)));
}

void MainWindow::open() {
  setWindowTitle(main_title(s_.today));
  restore_position(s_.ini, "Main", *this, true);
  show();
  one_pack_button_->setFocus();  // the first action
}

void MainWindow::one_pack(const std::optional<std::filesystem::path>& pack) {
  form_.open(op_.ending(), [&] { OnePackWindow(s_, p_, op_, this).run(pack); });
}

void MainWindow::batch() {
  form_.open(op_.ending(), [&] { BatchWindow(s_, p_, op_, this).run(); });
}

void MainWindow::settings() {
  form_.open(op_.ending(), [&] { SettingsWindow(s_, op_, this).run(); });
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
  if (!form_.may_close(op_.ending())) return event->ignore();
  if (app::MainForm::keeps_position(op_.ending())) save_position(s_.ini, "Main", *this, true);
  QWidget::closeEvent(event);
  if (on_closed) on_closed();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (form_.takes_drop() && dropped_file(event->mimeData())) event->acceptProposedAction();
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
