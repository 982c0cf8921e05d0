// The window of the batch conversion (all_pch): the input and output folders, the number of
// packs, the pack being converted and a progress bar that moves while the batch runs, then a
// summary of what was converted and what was rejected.
#pragma once

#include <QDialog>

#include "app/batch.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tolvex::gui {

class QtOperator;

// The summary box's text: how many packs were converted, and each one that was not, with why.
std::string batch_summary_text(const app::BatchSummary& summary);

class BatchWindow : public QDialog {
 public:
  BatchWindow(core::Session& session, core::PackState& pack_state, QtOperator& op, QWidget* parent = nullptr);

  void run();

  QPushButton* in4_button() const { return in4_; }
  QPushButton* out7_button() const { return out7_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }
  QProgressBar* progress_bar() const { return bar_; }
  QLineEdit* field(const QString& name) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void refresh();
  void show_progress(std::size_t current, std::size_t total, const std::filesystem::path& pack);
  void start_batch();
  void finish();

  core::Session& s_;
  QtOperator& op_;
  app::BatchRun batch_;
  QPushButton *in4_ = nullptr, *out7_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
  QProgressBar* bar_ = nullptr;
  bool running_ = false;
  bool finished_ = false;
};

}  // namespace tolvex::gui
