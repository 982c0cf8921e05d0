// SPDX-License-Identifier: MIT
// The Qt window of the one-pack conversion (odna_pch), drawn from app::OnePackForm: the input
// and output folders and files, the pack header under its captions in group boxes, the insurer
// data the operator completes, "Начало:" and "Время работы:", the status line, "&OK" and
// "Отмена".
#pragma once

#include <QDialog>
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "app/one_pack_form.h"
#include "core/conversion/one_pack.h"

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tolvex::gui {

class QtOperator;

class OnePackWindow : public QDialog {
 public:
  OnePackWindow(core::Session& session, core::PackState& pack_state, QtOperator& op, QWidget* parent = nullptr);

  // Opens the window and waits until the procedure ends; a pack named (dropped on the main
  // window or given on the command line) is taken at once.
  void run(const std::optional<std::filesystem::path>& pack = std::nullopt);

  QPushButton* in4_button() const { return in4_; }
  QPushButton* out_button() const { return out_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }
  // The field of a header record ("IST4:KOD_OGRN") or of the window ("PATH_IN4", "TYP_PFR").
  QLineEdit* field(const QString& name) const;
  // The status line: what the last "&OK" made, or why it could not run.
  QLabel* status() const { return status_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  QGroupBox* record_box(const app::HeaderGroup& group);
  QLineEdit* add_value(QGridLayout* grid, int row, int column, int span, const QString& prompt, QLineEdit* value);
  // An insurer entry left: false when its value was refused.
  bool take_entry(QLineEdit* edit);
  // `keep_entries`: the insurer fields keep what is typed in them (another entry was taken).
  void refresh(bool keep_entries = false);
  // After a step: the window closes when the procedure has ended, otherwise shows the form.
  void after_step();
  void choose_pack();
  void take_pack(const std::filesystem::path& pack);
  void choose_output();
  void convert_pack();
  // The rest of "&OK" once the converter window has closed: the closing lines and the status.
  void documents_done();
  void cancel();
  void finish();

  core::Session& s_;
  core::PackState& p_;
  QtOperator& op_;
  app::OnePackForm form_;
  std::map<QString, QLineEdit*> fields_;
  std::vector<QLineEdit*> entries_;
  std::map<QLineEdit*, std::string> entry_of_;  // an entry's header field ("IST4:KOD_OGRN")
  QPushButton *in4_ = nullptr, *out_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
  QLabel* status_ = nullptr;
  bool finished_ = false;
};

}  // namespace tolvex::gui
