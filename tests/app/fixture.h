// A program folder in a temporary directory, started with the test doubles.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "app/startup.h"
#include "pack_text.h"
#include "runtime/codepage.h"
#include "scripted_operator.h"
#include "temp_folder.h"

namespace tolvex::fakes {

// A text with paths in it as it reads on Linux ("\\" becomes "/" on Windows), so that one
// expectation serves both platforms.
inline std::string slashes(std::string text) {
#ifdef _WIN32
  for (auto& c : text)
    if (c == '\\') c = '/';
#endif
  return text;
}

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
    std::string bytes = pack_bytes(utf8_lines);
    auto p = dir / "In_4" / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }

  // A Windows-1251 text as UTF-8 without CR, the folder written as <DIR>.
  std::string with_dir(const std::string& ansi) {
    std::string t = runtime::ansi_to_utf8(ansi), out;
    for (char c : t)
      if (c != '\r') out.push_back(c);
    std::string d = dir.string();
    for (std::size_t at = 0; (at = out.find(d, at)) != std::string::npos;) out.replace(at, d.size(), "<DIR>");
    return slashes(out);
  }
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

inline const std::string kHeader =
    "ЗГЛВ,\"П4.10\",\"АРМ-Бухгалтер\",1.0\n"
    "ИСТ4,ВЗЛ,075-001-000001,7701234567,770101001,\"ООО Ромашка\"\n"
    "ПАЧК,12,ВНЕШ,ОПИСЬ,15.07.2010,1\n";
inline const std::string kOutName = "PFR-700-Y-2010-ORG-075-001-000001-DCK-00012-DPT-000000-DCK-00000.XML";

}  // namespace tolvex::fakes
