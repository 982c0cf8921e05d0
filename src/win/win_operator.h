// SPDX-License-Identifier: MIT
// The operator of the Windows desktop program: message boxes as task dialogs with the program's
// own button captions, the system's file and folder dialogs, and the end of the program.
#pragma once

#include <optional>

#include "app/window_operator.h"
#include "win/system.h"

namespace tolvex::win {

class WinOperator : public app::WindowOperator {
 public:
  core::Button message(const core::MessageBox& box) override;
  std::optional<std::filesystem::path> choose_folder(std::string_view title,
                                                     const std::filesystem::path& start) override;

 protected:
  std::optional<std::filesystem::path> file_dialog(std::string_view title, std::string_view filter,
                                                   const std::filesystem::path& start) override;
  // The message loop ends (the main window's and every window's own).
  void close_windows(const core::ProgramEnd& end) override;
  void let_windows_paint() override;
};

}  // namespace tolvex::win
