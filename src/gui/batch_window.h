// SPDX-License-Identifier: MIT
// The window of the batch conversion (all_pch): the input and output folders, the number of
// packs, the pack being converted with its documents done, and a progress bar that moves while
// the batch runs ("Отмена" then stops it after the current pack), then a summary of what became
// of the packs.
#pragma once

#include <QDialog>

#include "app/batch.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tolvex::gui {

class QtOperator;

// The summary box's text: how many packs there were, and how many were converted, not
// converted (a kind answered with a message), rejected and failed.
std::string batch_summary_text(const app::BatchSummary& summary);
// Its details part: the packs under each of those headings.
std::string batch_summary_details(const app::BatchSummary& summary);

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
  void refresh();
  void show_progress(std::size_t current, std::size_t total, const std::filesystem::path& pack);
  void show_documents(long long done, long long announced);
  void start_batch();
  // "Отмена" while the batch runs: asks, then stops it after the current pack.
  void ask_stop();
  void finish();

  core::Session& s_;
  QtOperator& op_;
  app::BatchRun batch_;
  QPushButton *in4_ = nullptr, *out7_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QLabel* documents_ = nullptr;
  bool running_ = false;
  bool stopping_ = false;
  bool finished_ = false;
};

}  // namespace tolvex::gui
