#include "cli/console_operator.h"

#include <algorithm>

#include "runtime/codepage.h"

namespace tolvex::cli {

core::Button ConsoleOperator::message(const core::MessageBox& box) {
  std::string title = runtime::ansi_to_utf8(box.title);
  std::string text = runtime::ansi_to_utf8(box.text);
  // A leading blank of a title is the box's own; the console line reads better without it.
  while (!title.empty() && title.front() == ' ') title.erase(title.begin());
  std::fprintf(err_, "%s: %s\n", title.c_str(), text.c_str());
  std::fflush(err_);
  const auto& b = box.buttons;
  if (std::find(b.begin(), b.end(), core::Button::ignore) != b.end()) return core::Button::ignore;
  return b.empty() ? core::Button::ok : b.front();
}

void ConsoleOperator::progress(std::size_t current, std::size_t total, const std::filesystem::path& pack) {
  if (!show_progress_) return;
  auto u8 = pack.filename().u8string();
  std::fprintf(err_, "[%zu/%zu] %s\n", current, total, reinterpret_cast<const char*>(u8.c_str()));
  std::fflush(err_);
}

}  // namespace tolvex::cli
