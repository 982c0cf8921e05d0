// SPDX-License-Identifier: MIT
#include "app/gui/splash_window.h"

#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "app/document_kinds.h"
#include "app/gui/runtime_texts.h"
#include "app/gui/text.h"
#include "app/gui/window_position.h"

namespace tolvex::gui {

SplashWindow::SplashWindow(const core::ClockTime& today, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), timer_(new QTimer(this)) {
  setObjectName("Splash_Pfr");
  setWindowTitle(QString::fromUtf8("Информация"));
  setStyleSheet("QDialog { background: #f4f7fb; border: 2px solid #2f5d8a; }");
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(28, 22, 28, 22);
  auto* icon = new QLabel(this);
  icon->setPixmap(windowIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignCenter);
  v->addWidget(icon);
  auto* title = new QLabel(QString::fromUtf8("Конвертор пачек ПФР 4 формата в 7 формат XML"), this);
  QFont f = title->font();
  f.setPointSize(f.pointSize() + 4);
  f.setBold(true);
  title->setFont(f);
  title->setAlignment(Qt::AlignCenter);
  v->addWidget(title);
  // The forms converted, in the order of the table of document kinds.
  std::string forms;
  for (const auto& k : app::document_kinds())
    if (k.converted()) forms += (forms.empty() ? "" : ", ") + std::string(k.form_name);
  for (const QString& line :
       {QString::fromUtf8("Персонифицированный учет: пачки 4 формата (код 866) в файлы 7 формата XML (Windows-1251)"),
        qs(forms)}) {
    auto* l = new QLabel(line, this);
    l->setAlignment(Qt::AlignCenter);
    v->addWidget(l);
  }
  auto* date = new QLabel(QString::fromUtf8("Сегодня ") + long_date(today), this);
  date->setAlignment(Qt::AlignCenter);
  v->addWidget(date);
  auto* version = new QLabel(QString("tolvex ") + TOLVEX_VERSION, this);
  version->setAlignment(Qt::AlignCenter);
  v->addWidget(version);
  setFixedSize(sizeHint());

  timer_->setSingleShot(true);
  timer_->setInterval(kCloseAfterMs);
  connect(timer_, &QTimer::timeout, this, [this] { accept(); });
}

void SplashWindow::run(core::IniStore* ini) {
  if (ini) restore_position(*ini, "Splash_Pfr", *this, false);
  timer_->start();
  QTimer::singleShot(0, this, [this] {
    raise();
    activateWindow();
  });
  exec();
  timer_->stop();
  if (ini) save_position(*ini, "Splash_Pfr", *this, false);
}

void SplashWindow::mousePressEvent(QMouseEvent*) { accept(); }

void SplashWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) {
    if (isActiveWindow()) {
      was_active_ = true;
    } else if (was_active_ && isVisible()) {
      accept();  // the focus went elsewhere
    }
  }
  QDialog::changeEvent(event);
}

}  // namespace tolvex::gui
