// SPDX-License-Identifier: MIT
#include "gui/splash_window.h"

#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "app/main_form.h"
#include "gui/text.h"
#include "gui/window_position.h"

namespace tolvex::gui {

SplashWindow::SplashWindow(const core::ClockTime& today, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), timer_(new QTimer(this)) {
  setObjectName("Splash_Pfr");
  setWindowTitle(qs(app::kSplashTitle));
  setStyleSheet("QDialog { background: #f4f7fb; border: 2px solid #2f5d8a; }");
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(28, 22, 28, 22);
  auto* icon = new QLabel(this);
  icon->setPixmap(windowIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignCenter);
  v->addWidget(icon);
  auto* title = new QLabel(qs(app::kProgramCaption), this);
  QFont f = title->font();
  f.setPointSize(f.pointSize() + 4);
  f.setBold(true);
  title->setFont(f);
  title->setAlignment(Qt::AlignCenter);
  v->addWidget(title);
  for (const std::string& line : app::splash_lines(today)) {
    auto* l = new QLabel(qs(line), this);
    l->setAlignment(Qt::AlignCenter);
    v->addWidget(l);
  }
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
