// SPDX-License-Identifier: MIT
// The whole conversion of an arbitrary pack body behind a valid header, for every document
// code of the dispatch table and an unknown one: no crash, the depth back at 0 after every
// document (checked by the driver), no file outside the output folder, and well-formed XML.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/startup.h"
#include "core/conversion/one_pack.h"
#include "fuzz_support.h"
#include "runtime/codepage.h"
#include "scripted_operator.h"

namespace fs = std::filesystem;
using namespace tolvex;
using namespace tolvex::runtime::literals;

namespace {

// The operator answers as the console does: ignore where a box offers it, else its first
// button; "&OK" in the converter window.
struct Fixture {
  fs::path dir = fs::temp_directory_path() / ("tolvex-fuzz-conv-" + std::to_string(getpid()));
  fakes::ScriptedOperator op;
  core::SystemClock clock;
  core::NoPrograms programs;
  std::unique_ptr<app::Program> program;
  Fixture() {
    fs::remove_all(dir);
    fs::create_directories(dir / "In_4");
    program = std::make_unique<app::Program>(dir, op, clock, programs);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture f;
  if (size < 2) return 0;
  core::Session& s = f.program->session();
  const auto kinds = s.kinds;
  std::string code = data[0] % (kinds.size() + 1) < kinds.size() ? std::string(kinds[data[0] % (kinds.size() + 1)].code)
                                                                 : std::string("ХЛАМ"_w);
  std::string kol = std::to_string(data[1] % 20);
  std::string header = std::string("ЗГЛВ,П4.10,Фаззер,1.0\r\nИСТ4,ВЗЛ,075-001-000001,7701234567,770101001,ООО\r\n"_w) +
                       std::string("ПАЧК,1,ВНЕШ,ОПИСЬ,01.01.2011,1,2010,НР,,,,,1,2010,1,1,1,1,0\r\nДОКТ,"_w) + code +
                       "," + kol + "\r\n";
  fs::path pack = f.dir / "In_4" / "pack.txt";
  {
    std::ofstream out(pack, std::ios::binary | std::ios::trunc);
    out << runtime::ansi_to_oem(header);
    out.write(reinterpret_cast<const char*>(data + 2), static_cast<std::streamsize>(size - 2));
  }
  core::PackOutcome o = core::OnePackConversion(s, f.program->pack_state()).convert_all_documents(pack);
  std::size_t files = 0;
  for (const auto& e : fs::directory_iterator(f.dir / "Out_7")) {
    ++files;
    std::ifstream in(e.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    fuzzing::require_well_formed(text.str(), "conversion");
    fs::remove(e.path());
  }
  bool written = o == core::PackOutcome::converted || o == core::PackOutcome::documents_left_out ||
                 o == core::PackOutcome::not_converted;
  fuzzing::require(files == (written ? 1u : 0u), "one XML file per converted pack");
  // Nothing written anywhere else in the program folder.
  for (const auto& e : fs::directory_iterator(f.dir)) {
    auto n = e.path().filename().string();
    fuzzing::require(n == "In_4" || n == "Out_7" || n == "Report" || n == "tolvex.ini", "a file outside the output");
  }
  // Keep the journal and what the operator was shown small between runs.
  f.program->session().journal.start("01/01/2026");
  f.op = fakes::ScriptedOperator();
  return 0;
}
