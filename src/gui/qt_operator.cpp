// SPDX-License-Identifier: MIT
#include "gui/qt_operator.h"

#include <QApplication>

#include "gui/window_position.h"

namespace tolvex::gui {

QtOperator::QtOperator(core::Operator* dialogs) : dialogs_(dialogs) {}

QtOperator::~QtOperator() = default;

core::Button QtOperator::message(const core::MessageBox& box) { return dialogs().message(box); }

std::optional<std::filesystem::path> QtOperator::file_dialog(std::string_view title, std::string_view filter,
                                                             const std::filesystem::path& start) {
  return dialogs().choose_file(title, filter, start);
}

std::optional<std::filesystem::path> QtOperator::choose_folder(std::string_view title,
                                                               const std::filesystem::path& start) {
  return dialogs().choose_folder(title, start);
}

void QtOperator::open_converter(core::DocumentRun& run, std::function<void()> ended) {
  close_converter();
  form_ = std::make_unique<app::ConverterForm>(run);
  window_ = std::make_unique<ConverterWindow>(form_->view(), QApplication::activeWindow());
  if (positions_) restore_position(*positions_, form_->section(), *window_, true);
  window_->on_pressed([this, ended = std::move(ended)](std::optional<core::ConverterAction> action) {
    app::ConverterForm::Step step = form_->press(*this, action);
    if (step == app::ConverterForm::Step::shows_next) window_->show_view(form_->view());
    if (step != app::ConverterForm::Step::closes) return;
    std::function<void()> then = ended;  // this function goes with the window
    close_converter();
    then();
  });
  window_->show();
}

void QtOperator::close_converter() {
  if (!window_) return;
  if (positions_) save_position(*positions_, form_->section(), *window_, true);
  window_->hide();
  // Deleted once the button that closed it has done its work.
  window_.release()->deleteLater();
  form_.reset();
}

void QtOperator::progress(std::size_t current, std::size_t total, const std::filesystem::path& pack) {
  if (dialogs_) dialogs_->progress(current, total, pack);
  WindowOperator::progress(current, total, pack);
}

void QtOperator::show_documents(long long done, long long announced) {
  if (form_) form_->progress(done, announced);
  if (window_) window_->show_progress(done, announced);
}

void QtOperator::let_windows_paint() { QCoreApplication::processEvents(); }

// Every window closes and the event loops end with the program's exit status.
void QtOperator::close_windows(const core::ProgramEnd& end) {
  if (window_) window_->hide();
  for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
  QCoreApplication::exit(end.exit_status());
}

}  // namespace tolvex::gui
