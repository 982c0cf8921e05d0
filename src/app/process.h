// SPDX-License-Identifier: MIT
// Starting the archiver and the checkers as separate processes, without a shell: the program
// path is the program, and each argument reaches it as one argument (on Windows through a
// command line quoted so that the program's own parsing gives the arguments back).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/conversion/one_pack.h"
#include "core/conversion/programs.h"

namespace tolvex::app {

// The Windows command line of a program and its arguments: each one quoted, when it needs
// it, so that split_command_line gives exactly the same arguments back.
std::string windows_command_line(std::string_view program, const std::vector<std::string>& arguments);

class ProcessRunner : public core::ProgramRunner {
 public:
  ~ProcessRunner() override;
  core::ProgramResult run_program(std::string_view program, const core::ProgramArguments& arguments,
                                  bool wait) override;

  // An archiver started without waiting that has ended with a failure since the last call: the
  // archive it was to make and how it ended. Asked from time to time by the desktop program,
  // which tells the operator.
  struct FailedArchiver {
    std::string archive;  // Windows-1251
    int status = 0;
  };
  std::vector<FailedArchiver> take_failed_archivers();
  // Those failures told, each in the journal and in a box; nothing while a box of an earlier
  // failure is still open. The desktop programs call it every second, in the operator's guard.
  void tell_failed_archivers(core::Session& s);

 private:
  struct Running {
    long long process;    // the process id; on Windows its handle
    std::string archive;  // watched when not empty
  };
  void reap();
  std::vector<Running> running_;  // programs started without waiting, collected when they end
  std::vector<FailedArchiver> failed_;
  bool telling_ = false;
};

}  // namespace tolvex::app
