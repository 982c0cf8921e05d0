// SPDX-License-Identifier: MIT
// The operator of the desktop program: message boxes and file and folder dialogs through a
// dialog provider (the real Qt ones, or any other operator a test passes), the converter
// windows as real windows, and the batch's progress to the batch window.
#pragma once

#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <optional>

#include "app/converter_form.h"
#include "app/startup.h"
#include "core/conversion/driver.h"
#include "core/conversion/operator.h"
#include "core/conversion/settings.h"
#include "gui/converter_window.h"
#include "gui/qt_dialogs.h"

namespace tolvex::gui {

class QtOperator : public core::Operator {
 public:
  // `dialogs` answers the boxes and dialogs; nothing shows the real ones.
  explicit QtOperator(core::Operator* dialogs = nullptr);
  ~QtOperator() override;

  // Where the converter windows keep their positions (the program's settings file).
  void set_positions(core::IniStore* ini) { positions_ = ini; }

  using ProgressSink = std::function<void(std::size_t, std::size_t, const std::filesystem::path&)>;
  void set_progress_sink(ProgressSink sink) { progress_ = std::move(sink); }
  using DocumentsSink = std::function<void(long long, long long)>;
  void set_documents_sink(DocumentsSink sink) { documents_ = std::move(sink); }

  core::Button message(const core::MessageBox& box) override;
  std::optional<std::filesystem::path> choose_file(std::string_view title, std::string_view filter,
                                                   const std::filesystem::path& start) override;
  std::optional<std::filesystem::path> choose_folder(std::string_view title,
                                                     const std::filesystem::path& start) override;
  void progress(std::size_t current, std::size_t total, const std::filesystem::path& pack) override;
  // Shows the documents done in the converter window or the batch window and lets the windows
  // paint and answer their buttons, at most every kEventsEveryMs of the run.
  void documents_progress(long long done, long long announced) override;

  // Runs a step of the core from a window. When the program must end, every window closes and
  // the event loops end; false then.
  bool guard(const std::function<void()>& step);
  void end_program(const core::ProgramEnd& end);
  bool ending() const { return ending_.ending(); }
  const std::optional<core::ProgramEnd>& end() const { return ending_.end(); }

  // A pack taken without the file dialog (dropped, named on the command line): the dialog
  // opens on it next time, as on one chosen in it.
  void pack_taken(const std::filesystem::path& pack) { last_file_ = pack; }

  // Opens the converter window on a run that waits with its first document, and passes the
  // window's buttons to the run: the window shows each next document, and closes when the run
  // no longer waits; `ended` is called then (not when the program ends in a box of the run).
  // Returns at once: the window is driven by its own buttons.
  void open_converter(core::DocumentRun& run, std::function<void()> ended);

  // The converter window that is open, if any.
  ConverterWindow* converter_window() const { return window_.get(); }

 private:
  void close_windows(const core::ProgramEnd& end);
  core::Operator& dialogs() { return dialogs_ ? *dialogs_ : real_; }
  void close_converter();

  static constexpr int kEventsEveryMs = 40;

  core::Operator* dialogs_;
  QtDialogs real_;
  core::IniStore* positions_ = nullptr;
  ProgressSink progress_;
  DocumentsSink documents_;
  QElapsedTimer since_events_;
  // The pack chosen last: the file dialog opens in its folder with it selected.
  std::filesystem::path last_file_;
  std::unique_ptr<app::ConverterForm> form_;
  std::unique_ptr<ConverterWindow> window_;
  app::ProgramEnding ending_;
};

}  // namespace tolvex::gui
