// SPDX-License-Identifier: MIT
// A program folder in a temporary directory, started with the test doubles: for the tests of
// the application and of whole runs (links the application).
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/startup.h"
#include "pack_text.h"
#include "scripted_operator.h"
#include "temp_folder.h"

namespace tolvex::fakes {

class ProgramFolder : public TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    std::filesystem::create_directories(dir / "In_4");
  }
  void TearDown() override {
    program.reset();
    TempFolder::TearDown();
  }

  void start() { program = std::make_unique<app::Program>(dir, op, clock, programs); }
  core::Session& session() { return program->session(); }
  core::PackState& pack_state() { return program->pack_state(); }

  // A pack in In_4, written from UTF-8 text in code page 866 with CR LF.
  std::filesystem::path pack(const std::string& name, const std::string& utf8_lines) {
    return write(std::filesystem::path("In_4") / name, pack_bytes(utf8_lines));
  }

  // A Windows-1251 text as UTF-8 without CR, the folder written as <DIR>.
  std::string with_dir(const std::string& ansi) { return readable_text(ansi, dir); }
  std::string journal() { return with_dir(read(dir / "Report" / "tolvex.log")); }
  // The arguments of a program started, joined with "|".
  std::string arguments(std::size_t run) { return with_dir(programs.runs.at(run).joined()); }
  std::vector<std::filesystem::path> outputs() {
    std::vector<std::filesystem::path> v;
    if (std::filesystem::exists(dir / "Out_7"))
      for (const auto& e : std::filesystem::directory_iterator(dir / "Out_7")) v.push_back(e.path());
    std::sort(v.begin(), v.end());
    return v;
  }

  ScriptedOperator op;
  FixedClock clock;
  RecordingPrograms programs;
  std::unique_ptr<app::Program> program;
};

}  // namespace tolvex::fakes
