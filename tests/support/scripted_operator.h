// SPDX-License-Identifier: MIT
// Test doubles: an operator that answers from a script and logs what it was shown, a clock
// that gives a fixed time, and a program runner that records what it was asked to start.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/conversion/clock.h"
#include "core/conversion/driver.h"
#include "core/conversion/one_pack.h"
#include "core/conversion/operator.h"
#include "core/conversion/programs.h"

namespace tolvex::fakes {

class ScriptedOperator : public core::Operator {
 public:
  // Answers for message boxes, in order; when they run out a box is answered with its first
  // button, or with ignore when it offers one (as the console does).
  std::deque<core::Button> answers;
  // Buttons of the converter windows, in order; when they run out "&OK".
  std::deque<core::ConverterAction> actions;
  // Results of the file and folder dialogs; when they run out, cancel.
  std::deque<std::filesystem::path> files, folders;

  // What was shown, one line each, in UTF-8: "box TITLE: TEXT", "window TITLE", "wait", "closed".
  std::vector<std::string> log;
  std::vector<core::ConverterView> views;          // every view the converter windows showed
  std::vector<core::MessageBox> boxes;             // every box shown, details included
  std::vector<std::filesystem::path> file_starts;  // where each file dialog opened
  // Called with the number of each pack a batch starts (a test may stop the batch there).
  std::function<void(std::size_t)> on_progress;

  core::Button message(const core::MessageBox& box) override;
  // Answer boxes by the console's rule without being asked (so that a batch converts packs
  // with boxes into reports); set only when no answers are scripted.
  bool by_rule = false;
  bool answers_by_rule() const override { return by_rule; }
  std::optional<std::filesystem::path> choose_file(std::string_view title, std::string_view filter,
                                                   const std::filesystem::path& start) override;
  std::optional<std::filesystem::path> choose_folder(std::string_view title,
                                                     const std::filesystem::path& start) override;
  // The converter window of a run: shown, its buttons pressed from `actions` until the run no
  // longer waits, closed.
  void drive(core::DocumentRun& run);
  // "&OK" of the one-pack conversion with its converter window driven so.
  core::PackOutcome press_ok(core::OnePackConversion& one);
  void progress(std::size_t current, std::size_t, const std::filesystem::path&) override {
    if (on_progress) on_progress(current);
  }

  std::string joined_log() const;
};

class FixedClock : public core::Clock {
 public:
  core::ClockTime time{2026, 12, 8, 10, 15, 30, 0};
  core::ClockTime now() override { return time; }
};

class RecordingPrograms : public core::ProgramRunner {
 public:
  struct Run {
    std::string program;
    std::vector<std::string> arguments;
    bool wait;
    // The arguments joined with "|", so that where one ends shows.
    std::string joined() const {
      std::string out;
      for (const auto& a : arguments) out += (out.empty() ? "" : "|") + a;
      return out;
    }
  };
  std::vector<Run> runs;
  int status = 0;  // how every program waited for ends
  core::ProgramResult run_program(std::string_view program, const core::ProgramArguments& arguments,
                                  bool wait) override {
    runs.push_back({std::string(program), arguments.list(), wait});
    return {true, wait, wait ? status : 0};
  }
};

}  // namespace tolvex::fakes
