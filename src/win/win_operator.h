// SPDX-License-Identifier: MIT
// The operator of the Windows desktop program: message boxes as task dialogs with the program's
// own button captions, the system's file and folder dialogs, and the end of the program.
#pragma once

#include <functional>
#include <optional>

#include "app/startup.h"
#include "core/conversion/operator.h"
#include "win/system.h"

namespace tolvex::win {

class WinOperator : public core::Operator {
 public:
  core::Button message(const core::MessageBox& box) override;
  std::optional<std::filesystem::path> choose_file(std::string_view title, std::string_view filter,
                                                   const std::filesystem::path& start) override;
  std::optional<std::filesystem::path> choose_folder(std::string_view title,
                                                     const std::filesystem::path& start) override;
  void progress(std::size_t current, std::size_t total, const std::filesystem::path& pack) override;
  void documents_progress(long long done, long long announced) override;

  // Runs a step of the core from a window; when the program must end, the main window is
  // destroyed, the message loop ends and false is returned.
  bool guard(const std::function<void()>& step);
  bool ending() const { return ending_.ending(); }
  const std::optional<core::ProgramEnd>& end() const { return ending_.end(); }

  // Where the batch window hears of the batch's progress, and the batch window or the converter
  // window of the documents done.
  using ProgressSink = std::function<void(std::size_t, std::size_t, const std::filesystem::path&)>;
  void set_progress_sink(ProgressSink sink) { progress_ = std::move(sink); }
  using DocumentsSink = std::function<void(long long, long long)>;
  void set_documents_sink(DocumentsSink sink) { documents_ = std::move(sink); }

  // A pack taken without the file dialog (dropped, named on the command line).
  void pack_taken(const std::filesystem::path& pack) { last_file_ = pack; }

 private:
  std::filesystem::path last_file_;
  app::ProgramEnding ending_;
  DWORD last_pump_ = 0;
  ProgressSink progress_;
  DocumentsSink documents_;
};

}  // namespace tolvex::win
