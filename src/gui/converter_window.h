// SPDX-License-Identifier: MIT
// The window of a converter, built from what the converter shows of its current document: the
// title, the record fields with their prompts, the lists with their columns, the pages as tabs,
// "Начало:" and "Время:", and the buttons its kind has ("Следующая", "&OK", "Отмена"; "&OK"
// alone for a one-document kind).
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "core/conversion/operator.h"

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
  // Told of every button pressed, and of the window closed by its frame (nothing then). The
  // window waits for no button: whoever drives the run answers them.
  using Pressed = std::function<void(std::optional<core::ConverterAction>)>;
  void on_pressed(Pressed pressed) { pressed_ = std::move(pressed); }
  // The buttons are answered (while a button's work is done they are not).
  bool waiting() const { return !busy_; }

  QPushButton* next_button() const { return next_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }
  QTabWidget* tabs() const { return tabs_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void answer(std::optional<core::ConverterAction> a);
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
  Pressed pressed_;
  bool running_ = false;  // "&OK" converts the remaining documents
  bool busy_ = false;     // a button's work is being done
};

}  // namespace tolvex::gui
