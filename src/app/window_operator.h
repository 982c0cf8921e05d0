// SPDX-License-Identifier: MIT
// The operator of a desktop program's windows, whatever toolkit draws them: the end of the
// program met in a window's step, the pack chosen last (the file dialog opens on it), where the
// batch window and the converter window hear of the progress, and how often the windows paint
// while a run goes on. A front end adds its boxes, dialogs and windows.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "app/startup.h"
#include "core/conversion/operator.h"

namespace tolvex::app {

class WindowOperator : public core::Operator {
 public:
  // Runs a step of the core from a window. When the program must end, every window closes and
  // the event loops end; false then, and for every step after.
  bool guard(const std::function<void()>& step);
  bool ending() const { return ending_.ending(); }
  const std::optional<core::ProgramEnd>& end() const { return ending_.end(); }

  // A pack taken without the file dialog (dropped, named on the command line): the dialog
  // opens on it next time, as on one chosen in it.
  void pack_taken(const std::filesystem::path& pack) { last_file_ = pack; }
  // The file dialog opens on the pack chosen last when it lies in the folder asked for.
  std::optional<std::filesystem::path> choose_file(std::string_view title, std::string_view filter,
                                                   const std::filesystem::path& start) final;

  // Where the batch window hears of the batch's progress, and the batch window or the converter
  // window of the documents done.
  using ProgressSink = std::function<void(std::size_t, std::size_t, const std::filesystem::path&)>;
  void set_progress_sink(ProgressSink sink) { progress_ = std::move(sink); }
  using DocumentsSink = std::function<void(long long, long long)>;
  void set_documents_sink(DocumentsSink sink) { documents_ = std::move(sink); }

  // Each pack of the batch is shown and the windows paint and answer their buttons; the
  // documents done likewise, at most every kPaintEvery of the run (and always the last).
  void progress(std::size_t current, std::size_t total, const std::filesystem::path& pack) override;
  void documents_progress(long long done, long long announced) override;

 protected:
  // The toolkit's file dialog, opened on `start` (a folder, or a pack in it).
  virtual std::optional<std::filesystem::path> file_dialog(std::string_view title, std::string_view filter,
                                                           const std::filesystem::path& start) = 0;
  // Every window closes and the event loops end with the program's exit status.
  virtual void close_windows(const core::ProgramEnd& end) = 0;
  // Lets the windows paint and answer their buttons.
  virtual void let_windows_paint() = 0;
  // The documents done shown where the front end shows them beside the sink.
  virtual void show_documents(long long /*done*/, long long /*announced*/) {}

 private:
  static constexpr std::chrono::milliseconds kPaintEvery{40};
  void painted();

  ProgramEnding ending_;
  std::filesystem::path last_file_;
  ProgressSink progress_;
  DocumentsSink documents_;
  std::optional<std::chrono::steady_clock::time_point> painted_at_;
};

}  // namespace tolvex::app
