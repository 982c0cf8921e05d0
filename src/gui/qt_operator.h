// SPDX-License-Identifier: MIT
// The operator of the desktop program: message boxes and file and folder dialogs through a
// dialog provider (the real Qt ones, or any other operator a test passes), the converter
// windows as real windows, and the batch's progress to the batch window.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "app/converter_form.h"
#include "app/window_operator.h"
#include "core/conversion/driver.h"
#include "core/conversion/settings.h"
#include "gui/converter_window.h"
#include "gui/qt_dialogs.h"

namespace tolvex::gui {

class QtOperator : public app::WindowOperator {
 public:
  // `dialogs` answers the boxes and dialogs; nothing shows the real ones.
  explicit QtOperator(core::Operator* dialogs = nullptr);
  ~QtOperator() override;

  // Where the converter windows keep their positions (the program's settings file).
  void set_positions(core::IniStore* ini) { positions_ = ini; }

  core::Button message(const core::MessageBox& box) override;
  std::optional<std::filesystem::path> choose_folder(std::string_view title,
                                                     const std::filesystem::path& start) override;
  void progress(std::size_t current, std::size_t total, const std::filesystem::path& pack) override;

  // Opens the converter window on a run that waits with its first document, and passes the
  // window's buttons to the run: the window shows each next document, and closes when the run
  // no longer waits; `ended` is called then (not when the program ends in a box of the run).
  // Returns at once: the window is driven by its own buttons.
  void open_converter(core::DocumentRun& run, std::function<void()> ended);

  // The converter window that is open, if any.
  ConverterWindow* converter_window() const { return window_.get(); }

 protected:
  std::optional<std::filesystem::path> file_dialog(std::string_view title, std::string_view filter,
                                                   const std::filesystem::path& start) override;
  void close_windows(const core::ProgramEnd& end) override;
  void let_windows_paint() override;
  // The documents done in the converter window.
  void show_documents(long long done, long long announced) override;

 private:
  core::Operator& dialogs() { return dialogs_ ? *dialogs_ : real_; }
  void close_converter();

  core::Operator* dialogs_;
  QtDialogs real_;
  core::IniStore* positions_ = nullptr;
  std::unique_ptr<app::ConverterForm> form_;
  std::unique_ptr<ConverterWindow> window_;
};

}  // namespace tolvex::gui
