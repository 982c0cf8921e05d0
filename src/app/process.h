// SPDX-License-Identifier: MIT
// Starting the archiver and the checkers as separate processes, without a shell: the program
// path is the program, and each argument reaches it as one argument (on Windows through a
// command line quoted so that the program's own parsing gives the arguments back).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/programs.h"

namespace tolvex::app {

// The Windows command line of a program and its arguments: each one quoted, when it needs
// it, so that split_command_line gives exactly the same arguments back.
std::string windows_command_line(std::string_view program, const std::vector<std::string>& arguments);

class ProcessRunner : public core::ProgramRunner {
 public:
  ~ProcessRunner() override;
  void run_program(std::string_view program, const core::ProgramArguments& arguments, bool wait) override;

 private:
  void reap();
  std::vector<long> running_;  // programs started without waiting, collected when they end
};

}  // namespace tolvex::app
