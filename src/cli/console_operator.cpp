// SPDX-License-Identifier: MIT
#include "cli/console_operator.h"

#include <algorithm>

#include "runtime/paths.h"
#include "runtime/platform.h"

namespace tolvex::cli {

core::Button ConsoleOperator::message(const core::MessageBox& box) {
  std::string_view title = box.title;
  // A leading blank of a title is the box's own; the console line reads better without it.
  while (!title.empty() && title.front() == ' ') title.remove_prefix(1);
  runtime::write_console(err_, runtime::printable(std::string(title) + ": " + box.text) + "\n");
  std::fflush(err_);
  return core::rule_answer(box);
}

void ConsoleOperator::progress(std::size_t current, std::size_t total, const std::filesystem::path& pack) {
  if (!show_progress_) return;
  runtime::write_console(err_, "[" + std::to_string(current) + "/" + std::to_string(total) + "] " +
                                   runtime::printable(runtime::path_to_ansi(pack.filename())) + "\n");
  std::fflush(err_);
}

}  // namespace tolvex::cli
