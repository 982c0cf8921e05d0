// SPDX-License-Identifier: MIT
// The information window (Splash_Pfr): what the program is, today's date and the reminders. It
// closes by itself after five seconds, at a mouse click, or when it loses the focus.
#pragma once

#include <QDialog>

#include "app/main_form.h"
#include "core/conversion/clock.h"
#include "core/conversion/settings.h"

class QTimer;

namespace tolvex::gui {

class SplashWindow : public QDialog {
 public:
  static constexpr int kCloseAfterMs = app::kSplashCloseAfterMs;

  SplashWindow(const core::ClockTime& today, QWidget* parent = nullptr);

  // Shows the window and waits until it closes; its position is kept in `ini` when given.
  void run(core::IniStore* ini);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QTimer* timer_;
  bool was_active_ = false;
};

}  // namespace tolvex::gui
