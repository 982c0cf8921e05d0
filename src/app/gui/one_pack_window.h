// The window of the one-pack conversion (odna_pch): the input and output folders and files,
// the pack header under its captions, the insurer data the operator completes (they reach the
// blocks the converter writes), "Начало:" and "Время работы:", "&OK" and "Отмена". The steps
// themselves are those of core::OnePackConversion.
#pragma once

#include <QDialog>
#include <filesystem>
#include <map>
#include <optional>

#include "core/one_pack.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tolvex::gui {

class QtOperator;

class OnePackWindow : public QDialog {
 public:
  OnePackWindow(core::Session& session, core::PackState& pack_state, QtOperator& op, QWidget* parent = nullptr);

  // Opens the window and waits until the procedure ends; a dropped pack is taken at once.
  void run(const std::optional<std::filesystem::path>& dropped = std::nullopt);

  QPushButton* in4_button() const { return in4_; }
  QPushButton* out_button() const { return out_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }
  // The field of a header record ("IST4:KOD_OGRN") or of the window ("PATH_IN4", "TYP_PFR").
  QLineEdit* field(const QString& name) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  QWidget* record_box(const QString& title, core::Record& record, int first_entry, int columns);
  void refresh();
  void choose_pack();
  void take_pack(const std::filesystem::path& pack);
  void after_pack(bool chosen, core::PackOutcome outcome);
  void choose_output();
  void ok();
  void cancel();
  // The procedure ends (a cancelled dialog or a rejected pack); an output file still open gets
  // its closing lines.
  void end_procedure();
  void finish();

  core::Session& s_;
  core::PackState& p_;
  QtOperator& op_;
  core::OnePackConversion conv_;
  std::map<QString, QLineEdit*> fields_;
  std::map<QString, core::Record*> records_;
  QPushButton *in4_ = nullptr, *out_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
  bool pack_opened_ = false;
  bool finished_ = false;
};

}  // namespace tolvex::gui
