// Golden cases: a pack in, the expected XML, journal and operator messages out, grouped by what
// they try: tests/golden/<kind>/<case>/ for the documents of one kind (adv1, adv10, szvk ...: the
// procedure's name without "load_" and "_"), frame/<case>/ for what only the pack's frame and
// inventory decide, rejected/<case>/ for packs refused before any document. Each case folder holds:
//   pack.txt          the pack as UTF-8 text with LF line ends; it is written in code page 866
//                     with CR LF line ends (pack.bin instead: the pack's bytes exactly)
//   case.txt          optional: mode=batch|interactive|cancel, actions=next,next,ok (converter
//                     window buttons), pack_name=NAME (the pack's file name, default pack.txt)
//   expected.xml      the XML file as UTF-8 with LF line ends; absent: no XML file is made
//   expected.log      the journal as UTF-8, the case's folder written as <DIR>
//   expected.messages optional: the message boxes and windows the operator saw
// The output is compared byte for byte after turning Windows-1251 into UTF-8 and CR LF into LF;
// every output line must end in CR LF, and the XML must be well-formed (xmllint).
// TOLVEX_GOLDEN_ACCEPT=1 writes the actual results into the case folders instead (read every
// changed file against the format before committing it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <sstream>

#include "app/document_kinds.h"
#include "app/startup.h"
#include "core/conversion/one_pack.h"
#include "files.h"
#include "pack_text.h"
#include "runtime/codepage.h"
#include "scripted_operator.h"

namespace fs = std::filesystem;
using namespace tolvex;

namespace {

using fakes::read_file;
using fakes::write_file;

std::map<std::string, std::string> read_case(const fs::path& dir) {
  std::map<std::string, std::string> kv;
  std::istringstream in(read_file(dir / "case.txt"));
  for (std::string line; std::getline(in, line);) {
    auto eq = line.find('=');
    if (eq != std::string::npos) kv[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return kv;
}

// Windows-1251 with CR LF -> UTF-8 with LF; `bare` counts line ends that were not CR LF.
std::string readable(const std::string& ansi, int& bare) {
  std::string lf;
  bare = 0;
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    if (ansi[i] == '\r' && i + 1 < ansi.size() && ansi[i + 1] == '\n') {
      lf.push_back('\n');
      ++i;
    } else {
      if (ansi[i] == '\n') ++bare;
      lf.push_back(ansi[i]);
    }
  }
  if (!ansi.empty() && ansi.back() != '\n') ++bare;
  return runtime::ansi_to_utf8(lf);
}

std::string replace_all(std::string s, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
    s.replace(at, from.size(), to);
  return s;
}

// Every case as "<group>/<case>".
std::vector<std::string> case_names() {
  std::vector<std::string> names;
  for (const auto& group : fs::directory_iterator(TOLVEX_GOLDEN_DIR))
    if (group.is_directory())
      for (const auto& e : fs::directory_iterator(group.path()))
        if (e.is_directory()) names.push_back(group.path().filename().string() + "/" + e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A case's name as one word of letters, digits and "_" ("adv1/rules": "adv1_rules").
std::string flat(std::string name) {
  for (auto& c : name)
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, MatchesExpectedFiles) {
  const fs::path dir = fs::path(TOLVEX_GOLDEN_DIR) / GetParam();
  const bool accept = std::getenv("TOLVEX_GOLDEN_ACCEPT") != nullptr;
  auto opts = read_case(dir);
  const std::string mode = opts.count("mode") ? opts["mode"] : "batch";
  const std::string pack_name = opts.count("pack_name") ? opts["pack_name"] : "pack.txt";

  // A folder of this run's own, so that two runs of the cases at once do not meet.
  static const std::string run_id = std::to_string(std::random_device{}());
  fs::path work = fs::temp_directory_path() / ("tolvex-golden-" + run_id + "-" + flat(GetParam()));
  fs::remove_all(work);
  fs::create_directories(work / "In_4");
  fs::path pack = work / "In_4" / pack_name;
  if (fs::exists(dir / "pack.bin"))
    write_file(pack, read_file(dir / "pack.bin"));
  else
    write_file(pack, fakes::pack_bytes(read_file(dir / "pack.txt")));

  fakes::ScriptedOperator op;
  fakes::FixedClock clock;
  fakes::RecordingPrograms programs;
  std::istringstream acts(opts["actions"]);
  for (std::string a; std::getline(acts, a, ',');)
    op.actions.push_back(a == "next"     ? core::ConverterAction::next
                         : a == "cancel" ? core::ConverterAction::cancel
                                         : core::ConverterAction::ok);
  {
    app::Program program(work, op, clock, programs);
    core::OnePackConversion one(program.session(), program.pack_state());
    if (mode == "batch") {
      // The files and the journal are the outcome compared.
      static_cast<void>(one.convert_all_documents(pack));
    } else {
      static_cast<void>(one.take_pack(pack));
      if (mode == "cancel")
        one.cancel();
      else
        static_cast<void>(op.press_ok(one));
    }
  }

  std::vector<fs::path> xmls;
  if (fs::exists(work / "Out_7"))
    for (const auto& e : fs::directory_iterator(work / "Out_7")) xmls.push_back(e.path());
  ASSERT_LE(xmls.size(), 1u) << "more than one file in the output directory";

  int bare = 0;
  std::string dirname = work.string();
  // Paths as they read on Linux, so that one expected file serves both platforms.
  std::string log =
      fakes::slashes(replace_all(readable(read_file(work / "Report" / "tolvex.log"), bare), dirname, "<DIR>"));
  EXPECT_EQ(bare, 0) << "journal lines must end in CR LF";
  std::string messages = fakes::slashes(replace_all(op.joined_log(), dirname, "<DIR>"));
  std::string xml;
  if (!xmls.empty()) {
    EXPECT_EQ(xmls[0].extension(), ".XML");
    xml = readable(read_file(xmls[0]), bare);
    EXPECT_EQ(bare, 0) << "XML lines must end in CR LF";
#ifndef _WIN32  // the same bytes are checked by the Linux run
    std::string cmd = "xmllint --noout '" + xmls[0].string() + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << "not well-formed: " << xmls[0];
#endif
  }

  if (accept) {
    if (!xmls.empty()) {
      write_file(dir / "expected.xml", xml);
    } else {
      fs::remove(dir / "expected.xml");
    }
    write_file(dir / "expected.log", log);
    write_file(dir / "expected.messages", messages);
    return;
  }
  if (fs::exists(dir / "expected.xml")) {
    ASSERT_EQ(xmls.size(), 1u) << "no XML file was made";
    EXPECT_EQ(xml, read_file(dir / "expected.xml"));
  } else {
    EXPECT_TRUE(xmls.empty()) << "an XML file was made: " << xmls[0];
  }
  EXPECT_EQ(log, read_file(dir / "expected.log"));
  if (fs::exists(dir / "expected.messages")) {
    EXPECT_EQ(messages, read_file(dir / "expected.messages"));
  }
  fs::remove_all(work);
}

// A kind that is converted has a folder of cases of its own.
TEST(GoldenCases, EveryConvertedKindHasItsFolder) {
  for (const auto& kind : app::document_kinds()) {
    if (!kind.converted()) continue;
    std::string folder(kind.procedure.substr(kind.procedure.find('_') + 1));
    std::erase(folder, '_');
    const fs::path dir = fs::path(TOLVEX_GOLDEN_DIR) / folder;
    EXPECT_TRUE(fs::is_directory(dir) && !fs::is_empty(dir)) << "no golden cases in " << dir;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(case_names()),
                         [](const auto& info) { return flat(info.param); });

}  // namespace
