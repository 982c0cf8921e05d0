// SPDX-License-Identifier: MIT
#include "scripted_operator.h"

#include <algorithm>

#include "runtime/codepage.h"

namespace tolvex::fakes {

using runtime::ansi_to_utf8;

core::Button ScriptedOperator::message(const core::MessageBox& box) {
  log.push_back("box " + ansi_to_utf8(box.title) + ": " + ansi_to_utf8(box.text));
  boxes.push_back(box);
  if (!answers.empty()) {
    core::Button b = answers.front();
    answers.pop_front();
    return b;
  }
  return core::rule_answer(box);
}

std::optional<std::filesystem::path> ScriptedOperator::choose_file(std::string_view title, std::string_view,
                                                                   const std::filesystem::path& start) {
  log.push_back("file dialog " + ansi_to_utf8(title));
  file_starts.push_back(start);
  if (files.empty()) return std::nullopt;
  auto p = files.front();
  files.pop_front();
  return p;
}

std::optional<std::filesystem::path> ScriptedOperator::choose_folder(std::string_view title,
                                                                     const std::filesystem::path&) {
  log.push_back("folder dialog " + ansi_to_utf8(title));
  if (folders.empty()) return std::nullopt;
  auto p = folders.front();
  folders.pop_front();
  return p;
}

void ScriptedOperator::drive(core::DocumentRun& run) {
  if (!run.waiting()) return;
  core::ConverterView view = run.view();
  log.push_back("window " + ansi_to_utf8(view.title));
  views.push_back(view);
  while (run.waiting()) {
    views.push_back(view);
    core::ConverterAction a = core::ConverterAction::ok;
    if (!actions.empty()) {
      a = actions.front();
      actions.pop_front();
    }
    log.push_back(a == core::ConverterAction::next ? "press next"
                  : a == core::ConverterAction::ok ? "press ok"
                                                   : "press cancel");
    run.press(a);
    if (run.waiting()) view = run.view();
  }
  log.push_back("closed " + ansi_to_utf8(view.procedure));
}

core::PackOutcome ScriptedOperator::press_ok(core::OnePackConversion& one) {
  if (core::DocumentRun* run = one.start_ok()) drive(*run);
  return one.finish_ok();
}

std::string ScriptedOperator::joined_log() const {
  std::string out;
  for (const auto& l : log) out += l + "\n";
  return out;
}

}  // namespace tolvex::fakes
