// SPDX-License-Identifier: MIT
// The window of the batch conversion (all_pch) in Qt: the input and output folders, the number of
// packs, the pack being converted with its documents done, and a progress bar that moves while
// the batch runs, laid out and drawn; what it shows and does is app::BatchForm's.
#pragma once

#include <QDialog>

#include "app/batch_form.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tolvex::gui {

class QtOperator;

class BatchWindow : public QDialog {
 public:
  BatchWindow(core::Session& session, core::PackState& pack_state, QtOperator& op, QWidget* parent = nullptr);

  void run();

  QPushButton* in4_button() const { return in4_; }
  QPushButton* out7_button() const { return out7_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }
  QProgressBar* progress_bar() const { return bar_; }
  QLabel* documents_label() const { return documents_; }
  QLineEdit* field(const QString& name) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  // Shows what the form holds.
  void draw();
  void start_batch();
  // "Отмена", Esc, the frame's close: the form's answer (a stop asked while the batch runs).
  void cancel();
  void finish();

  core::Session& s_;
  QtOperator& op_;
  app::BatchForm form_;
  QPushButton *in4_ = nullptr, *out7_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QLabel* documents_ = nullptr;
  bool finished_ = false;
};

}  // namespace tolvex::gui
