// The start of the program without its windows: the program folder, the settings with their
// defaults, the journal opened, emptied and headed. The console program and the desktop
// program both start through here.
#pragma once

#include <filesystem>
#include <memory>

#include "core/clock.h"
#include "core/dispatch.h"
#include "core/journal.h"
#include "core/one_pack.h"
#include "core/operator.h"
#include "core/programs.h"
#include "core/settings.h"

namespace tolvex::app {

// The journal, relative to the program folder.
std::filesystem::path journal_path(const std::filesystem::path& program_folder);
// The settings file, relative to the program folder.
std::filesystem::path settings_path(const std::filesystem::path& program_folder);

class Program {
 public:
  // Starts in `folder` (the current directory): settings loaded, journal opened and started.
  // Ends with core::ProgramEnd when the journal cannot be opened or created.
  Program(const std::filesystem::path& folder, core::Operator& op, core::Clock& clock, core::ProgramRunner& programs);
  // The same with a dispatch table of the caller's (tests install converters of their own).
  Program(const std::filesystem::path& folder, core::Operator& op, core::Clock& clock, core::ProgramRunner& programs,
          core::DispatchTable table);
  ~Program();

  core::Session& session() { return *session_; }
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  core::IniStore ini_;
  core::Journal journal_;
  core::DispatchTable table_;
  std::unique_ptr<core::Session> session_;
};

}  // namespace tolvex::app
