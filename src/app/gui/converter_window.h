// SPDX-License-Identifier: MIT
// The window of a converter, built from what the converter shows of its current document: the
// title, the record fields with their prompts, the lists with their columns, the pages as tabs,
// "Начало:" and "Время:", and the buttons its kind has ("Следующая", "&OK", "Отмена"; "&OK"
// alone for a one-document kind).
#pragma once

#include <QDialog>
#include <optional>

#include "core/operator.h"

class QEventLoop;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace tolvex::gui {

class ConverterWindow : public QDialog {
 public:
  explicit ConverterWindow(const core::ConverterView& view, QWidget* parent = nullptr);

  // Shows another document.
  void show_view(const core::ConverterView& view);
  // During the run of the remaining documents ("&OK"): how many of the announced ones are
  // done; the buttons wait until the run ends.
  void show_progress(long long done, long long announced);
  QProgressBar* progress_bar() const { return progress_; }
  // Waits for a button; closing the window by its frame counts as "Отмена" ("&OK" where that
  // is the only button).
  core::ConverterAction wait_for_action();
  bool waiting() const { return loop_ != nullptr; }

  QPushButton* next_button() const { return next_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }
  QTabWidget* tabs() const { return tabs_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void answer(core::ConverterAction a);
  QWidget* page_widget(const core::ViewPage& page, int room);

  QVBoxLayout* body_ = nullptr;
  QWidget* content_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QLabel* started_ = nullptr;
  QLabel* elapsed_ = nullptr;
  QPushButton* next_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QEventLoop* loop_ = nullptr;
  bool running_ = false;
  std::optional<core::ConverterAction> action_;
};

}  // namespace tolvex::gui
