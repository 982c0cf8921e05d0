// SPDX-License-Identifier: MIT
// The console's operator: message boxes are written to the error stream as "TITLE: TEXT" in
// the terminal's encoding and answered without waiting (yes/OK for information and warnings,
// ignore for a stop box); there are no dialogs and no converter windows.
#pragma once

#include <cstdio>

#include "core/conversion/operator.h"

namespace tolvex::cli {

class ConsoleOperator : public core::Operator {
 public:
  explicit ConsoleOperator(std::FILE* err = stderr, bool show_progress = true)
      : err_(err), show_progress_(show_progress) {}

  core::Button message(const core::MessageBox& box) override;
  bool answers_by_rule() const override { return true; }
  std::optional<std::filesystem::path> choose_file(std::string_view, std::string_view,
                                                   const std::filesystem::path&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> choose_folder(std::string_view, const std::filesystem::path&) override {
    return std::nullopt;
  }
  void progress(std::size_t current, std::size_t total, const std::filesystem::path& pack) override;

 private:
  std::FILE* err_;
  bool show_progress_;
};

}  // namespace tolvex::cli
