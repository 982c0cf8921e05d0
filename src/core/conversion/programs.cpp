// SPDX-License-Identifier: MIT
#include "core/conversion/programs.h"

namespace tolvex::core {

ProgramArguments& ProgramArguments::parameters(std::string_view text) {
  for (auto& a : split_command_line(text)) list_.push_back(std::move(a));
  return *this;
}

ProgramArguments& ProgramArguments::name(std::string_view name) {
  list_.emplace_back(name);
  return *this;
}

std::vector<std::string> split_command_line(std::string_view text) {
  std::vector<std::string> args;
  const std::size_t n = text.size();
  std::size_t i = 0;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  for (;;) {
    while (i < n && blank(text[i])) ++i;
    if (i == n) break;
    std::string arg;
    bool quoted = false;
    while (i < n && (quoted || !blank(text[i]))) {
      char c = text[i];
      if (c == '\\') {
        std::size_t k = 0;
        while (i + k < n && text[i + k] == '\\') ++k;
        if (i + k < n && text[i + k] == '"') {
          arg.append(k / 2, '\\');
          if (k % 2 == 1) {
            arg.push_back('"');
            i += k + 1;
          } else {
            i += k;  // the quote opens or closes a quoted part
          }
        } else {
          arg.append(k, '\\');
          i += k;
        }
      } else if (c == '"') {
        if (quoted && i + 1 < n && text[i + 1] == '"') {
          arg.push_back('"');
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg.push_back(c);
        ++i;
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

}  // namespace tolvex::core
