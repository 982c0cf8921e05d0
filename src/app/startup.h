// SPDX-License-Identifier: MIT
// The start of the program without its windows: the program folder, the settings with their
// defaults, the journal opened, emptied and headed. The console program and the desktop
// program both start through here.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "app/document_kinds.h"
#include "core/conversion/clock.h"
#include "core/conversion/dispatch.h"
#include "core/conversion/journal.h"
#include "core/conversion/one_pack.h"
#include "core/conversion/operator.h"
#include "core/conversion/programs.h"
#include "core/conversion/settings.h"

namespace tolvex::app {

// The journal, relative to the program folder.
std::filesystem::path journal_path(const std::filesystem::path& program_folder);
// The settings file, relative to the program folder.
std::filesystem::path settings_path(const std::filesystem::path& program_folder);

// The current directory, which is the program folder. When it cannot be told (the folder was
// removed while the program was being started in it) the operator is told and
// core::ProgramEnd (exit status 3) is thrown.
std::filesystem::path current_folder(core::Operator& op);
// Whether another copy of the program holds the journal of `program_folder` (it is locked):
// a second start then says so and ends, before any window or box.
bool journal_held_by_another(const std::filesystem::path& program_folder);
// "Журнал Report/tolvex.log занят другой копией программы", Windows-1251.
std::string journal_held_text();

class Program {
 public:
  // Starts in `folder` (the current directory): settings loaded, journal opened and started.
  // Ends with core::ProgramEnd when the journal cannot be opened or created.
  // `kinds` is the table of document kinds (tests pass rows of their own); it must outlive the
  // program.
  Program(const std::filesystem::path& folder, core::Operator& op, core::Clock& clock, core::ProgramRunner& programs,
          std::span<const core::DocumentKind> kinds = document_kinds());
  ~Program();

  core::Session& session() { return *session_; }
  core::PackState& pack_state() { return pack_state_; }
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  core::IniStore ini_;
  core::Journal journal_;
  std::unique_ptr<core::Session> session_;
  core::PackState pack_state_;
};

// The end of the program as a window front end meets it: steps of the core run from windows,
// the first end kept, and nothing more run once the program is ending.
class ProgramEnding {
 public:
  bool ending() const { return end_.has_value(); }
  const std::optional<core::ProgramEnd>& end() const { return end_; }
  // Keeps the first end of the program; false when it was ending already.
  bool take(const core::ProgramEnd& end) {
    if (end_) return false;
    end_ = end;
    return true;
  }
  // Runs a step of the core from a window: nothing once the program is ending; a step that ends
  // it has its end kept and `ended` told once. False when the program is ending.
  bool guard(const std::function<void()>& step, const std::function<void(const core::ProgramEnd&)>& ended) {
    if (ending()) return false;
    try {
      step();
      return true;
    } catch (const core::ProgramEnd& e) {
      if (take(e)) ended(e);
      return false;
    }
  }

 private:
  std::optional<core::ProgramEnd> end_;
};

}  // namespace tolvex::app
