// Starting the external programs (the archiver and the two checkers). The conversion asks
// through this interface; the application supplies the real process start.
#pragma once

#include <string_view>

namespace tolvex::core {

class ProgramRunner {
 public:
  virtual ~ProgramRunner() = default;
  // Starts `program` with the parameter text (a command line of program, blank, parameters,
  // each without trailing blanks), waiting for its end when `wait` is set. A program that
  // cannot be started is not reported.
  virtual void run_program(std::string_view program, std::string_view parameters, bool wait) = 0;
};

// Starts nothing (a run with the external programs switched off).
class NoPrograms : public ProgramRunner {
 public:
  void run_program(std::string_view, std::string_view, bool) override {}
};

}  // namespace tolvex::core
