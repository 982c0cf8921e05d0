// SPDX-License-Identifier: MIT
// The settings window (set_mode): five pages of folders, checkers, archive and viewer settings.
// Every control writes its setting when the operator leaves it (app::SettingsForm); "&OK" and
// "Отмена" only close the window.
#pragma once

#include <QDialog>
#include <utility>
#include <vector>

#include "app/settings_form.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace tolvex::gui {

class QtOperator;

class SettingsWindow : public QDialog {
 public:
  SettingsWindow(core::Session& session, QtOperator& op, QWidget* parent = nullptr);

  void run();

  // A control by its object name: its setting's key, "SAMPLE", "PROGRAM_FOLDER".
  QLineEdit* edit(const QString& key) const;
  QCheckBox* check(const QString& key) const;
  // The "..." button of a field.
  QPushButton* browse(const QString& key) const;
  QTabWidget* pages() const { return pages_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void add_field(QVBoxLayout* page, core::Setting setting);
  void add_check(QVBoxLayout* page, core::Setting setting);
  void refresh();
  void finish();

  core::Session& s_;
  QtOperator& op_;
  app::SettingsForm form_;
  QTabWidget* pages_ = nullptr;
  std::vector<std::pair<core::Setting, QLineEdit*>> fields_;
  std::vector<std::pair<core::Setting, QCheckBox*>> checks_;
  QLineEdit *program_folder_ = nullptr, *sample_ = nullptr;
  QPushButton *ok_ = nullptr, *cancel_ = nullptr;
  bool finished_ = false;
};

}  // namespace tolvex::gui
