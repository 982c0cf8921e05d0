// SPDX-License-Identifier: MIT
// The main window (Main): the one-pack conversion, the batch, the settings, the information
// window and the exit, with the two reminders; each button has its accelerator, and F1 opens the
// operator's guide. A pack file dropped on it is converted as if it had been chosen in the
// one-pack window.
#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/main_form.h"
#include "core/conversion/one_pack.h"

class QPushButton;
class QUrl;

namespace tolvex::gui {

class QtOperator;

// "Конвертация пачек ПФР 4 формата в файл 7 формата XML Сегодня dd/mm/yyyy".
QString main_title(const core::ClockTime& today);

// The operator's guide: the page installed beside the program (<prefix>/share/doc/tolvex/guide/),
// otherwise the one of the source tree the program was built from.
QString guide_path();

class MainWindow : public QWidget {
 public:
  MainWindow(core::Session& session, core::PackState& pack_state, QtOperator& op, QWidget* parent = nullptr);

  // Restores the position and shows the window.
  void open();

  QPushButton* one_pack_button() const { return one_pack_button_; }
  QPushButton* batch_button() const { return batch_button_; }
  QPushButton* settings_button() const { return settings_button_; }
  QPushButton* splash_button() const { return splash_; }
  QPushButton* exit_button() const { return exit_button_; }

  // The one-pack window; a pack named (dropped, or given on the command line) is taken at once.
  void one_pack(const std::optional<std::filesystem::path>& pack = std::nullopt);
  void batch();
  void settings();
  void splash();
  // F1: the operator's guide in the system's browser.
  void guide();

  // Opens a page in the system's browser (QDesktopServices); a test puts its own here.
  std::function<bool(const QUrl&)> open_url;

  // Called when the window has closed (the program then ends).
  std::function<void()> on_closed;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  core::Session& s_;
  core::PackState& p_;
  QtOperator& op_;
  QPushButton *one_pack_button_, *batch_button_, *settings_button_, *splash_, *exit_button_;
  app::MainForm form_;
};

}  // namespace tolvex::gui
