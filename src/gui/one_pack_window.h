// SPDX-License-Identifier: MIT
// The window of the one-pack conversion (odna_pch): the input and output folders and files,
// the pack header under its captions in group boxes, the insurer data the operator completes
// (checked when a field is left; they reach the blocks the converter writes), "Начало:" and
// "Время работы:", a short status of what "&OK" made, "&OK" and "Отмена". The steps themselves
// are those of core::OnePackConversion. Every opening starts clean: the header of a pack read
// in an earlier opening or by the batch is not shown.
#pragma once

#include <QDialog>
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

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
  using Rows = std::vector<std::vector<std::string_view>>;
  QGroupBox* record_box(const QString& title, core::Record& record, const Rows& rows);
  QLineEdit* add_value(QGridLayout* grid, int row, int column, int span, const QString& prompt, QLineEdit* value);
  void take_entry(core::Record& record, std::size_t index, QLineEdit* edit);
  // `keep_entries`: the insurer fields keep what is typed in them (another entry was taken).
  void refresh(bool keep_entries = false);
  void choose_pack();
  void take_pack(const std::filesystem::path& pack);
  void after_pack(bool chosen, core::PackOutcome outcome);
  void choose_output();
  void convert_pack();
  // The rest of "&OK" once the converter window has closed: the closing lines and the status.
  void documents_done();
  void cancel();
  // The procedure ends (a cancelled dialog or a rejected pack); an output file still open gets
  // its closing lines.
  void end_procedure();
  void finish();
  void say(const QString& text);

  core::Session& s_;
  core::PackState& p_;
  QtOperator& op_;
  core::OnePackConversion conv_;
  std::map<QString, QLineEdit*> fields_;
  std::map<QString, core::Record*> records_;
  std::vector<QLineEdit*> entries_;
  std::map<QLineEdit*, std::pair<core::Record*, std::size_t>> entry_of_;  // an entry's record and field
  QPushButton *in4_ = nullptr, *out_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
  QLabel* status_ = nullptr;
  bool pack_read_ = false;  // a pack's header was read in this opening
  bool converted_ = false;  // "&OK" has run on it
  bool running_ = false;
  bool entry_refused_ = false;  // the last entry left was not taken
  bool finished_ = false;
};

}  // namespace tolvex::gui
