// Starting the archiver and the checkers as separate processes, without a shell: the program
// path is the program, the parameter text is split at blanks into its arguments (double
// quotes keep blanks inside one argument).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/programs.h"

namespace tolvex::app {

// The arguments of a parameter text.
std::vector<std::string> split_parameters(std::string_view parameters);

class ProcessRunner : public core::ProgramRunner {
 public:
  ~ProcessRunner() override;
  void run_program(std::string_view program, std::string_view parameters, bool wait) override;

 private:
  void reap();
  std::vector<long> running_;  // programs started without waiting, collected when they end
};

}  // namespace tolvex::app
