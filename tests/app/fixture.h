// A program folder in a temporary directory, started with the test doubles.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "app/startup.h"
#include "runtime/codepage.h"
#include "pack_text.h"
#include "scripted_operator.h"

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

class ProgramFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          (std::string("tolvex-app-") + ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() +
           "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "In_4");
  }
  void TearDown() override {
    program.reset();
    std::filesystem::remove_all(dir);
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

  static std::string read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // The journal as UTF-8 without CR, the folder written as <DIR>.
  std::string journal() {
    std::string t = runtime::ansi_to_utf8(read(dir / "Report" / "tolvex.log")), out;
    for (char c : t)
      if (c != '\r') out.push_back(c);
    std::string d = dir.string();
    for (std::size_t at = 0; (at = out.find(d, at)) != std::string::npos;) out.replace(at, d.size(), "<DIR>");
    return slashes(out);
  }
  std::vector<std::filesystem::path> outputs() {
    std::vector<std::filesystem::path> v;
    if (std::filesystem::exists(dir / "Out_7"))
      for (const auto& e : std::filesystem::directory_iterator(dir / "Out_7")) v.push_back(e.path());
    std::sort(v.begin(), v.end());
    return v;
  }

  std::filesystem::path dir;
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
