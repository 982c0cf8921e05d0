// SPDX-License-Identifier: MIT
#include "app/window_operator.h"

#include <system_error>

namespace tolvex::app {

bool WindowOperator::guard(const std::function<void()>& step) {
  return ending_.guard(step, [this](const core::ProgramEnd& e) { close_windows(e); });
}

std::optional<std::filesystem::path> WindowOperator::choose_file(std::string_view title, std::string_view filter,
                                                                 const std::filesystem::path& start) {
  std::error_code ec;
  bool same_folder = !last_file_.empty() && std::filesystem::equivalent(last_file_.parent_path(), start, ec);
  auto chosen = file_dialog(title, filter, same_folder ? last_file_ : start);
  if (chosen) last_file_ = *chosen;
  return chosen;
}

void WindowOperator::progress(std::size_t current, std::size_t total, const std::filesystem::path& pack) {
  if (progress_) progress_(current, total, pack);
  let_windows_paint();
  painted();
}

void WindowOperator::documents_progress(long long done, long long announced) {
  if (painted_at_ && std::chrono::steady_clock::now() - *painted_at_ < kPaintEvery && done < announced) return;
  show_documents(done, announced);
  if (documents_) documents_(done, announced);
  let_windows_paint();
  painted();
}

void WindowOperator::painted() { painted_at_ = std::chrono::steady_clock::now(); }

}  // namespace tolvex::app
