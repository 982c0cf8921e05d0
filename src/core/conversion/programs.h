// SPDX-License-Identifier: MIT
// Starting the external programs (the archiver and the two checkers). The conversion asks
// through this interface; the application supplies the real process start.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvex::core {

// The arguments of an external program, in their order. A parameter text of the settings
// ("-add", " U# ") is split into arguments as a command line is; a file or folder name the
// program inserts is always exactly one argument, whatever blanks or quotes it holds.
class ProgramArguments {
 public:
  ProgramArguments& parameters(std::string_view text);
  ProgramArguments& name(std::string_view name);
  const std::vector<std::string>& list() const { return list_; }
  // The archive the program makes (Windows-1251), not an argument of its own: a started archiver
  // that fails is reported under this name, also when it was not waited for.
  ProgramArguments& archive(std::string_view archive) {
    archive_ = archive;
    return *this;
  }
  const std::string& archive() const { return archive_; }

 private:
  std::vector<std::string> list_;
  std::string archive_;
};

// What became of a program started.
struct ProgramResult {
  bool started = false;
  bool ended = false;  // waited for: `status` is how it ended
  int status = 0;      // its exit status; 128 and the signal's number when a signal ended it
  bool failed() const { return started && ended && status != 0; }
};

// A command-line text split into its arguments by the rules of the Windows command line:
// blanks and tabs separate arguments outside double quotes; a double quote opens or closes a
// quoted part and is dropped; backslashes are kept, except that 2n backslashes before a double
// quote become n, and 2n+1 become n followed by a literal double quote; "" inside a quoted part
// is a literal double quote.
std::vector<std::string> split_command_line(std::string_view text);

class ProgramRunner {
 public:
  virtual ~ProgramRunner() = default;
  // Starts `program` (its path without trailing blanks) with the arguments, waiting for its
  // end when `wait` is set. A program that cannot be started is not reported.
  virtual ProgramResult run_program(std::string_view program, const ProgramArguments& arguments, bool wait) = 0;
};

// Starts nothing (a run with the external programs switched off).
class NoPrograms : public ProgramRunner {
 public:
  ProgramResult run_program(std::string_view, const ProgramArguments&, bool) override { return {}; }
};

}  // namespace tolvex::core
