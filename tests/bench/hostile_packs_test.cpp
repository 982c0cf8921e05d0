// SPDX-License-Identifier: MIT
// Packs from programs we do not control: the generator's packs cut off anywhere, counts far
// beyond the lines present, binary garbage, 100 KB lines, empty files, files of CR LF only, a
// folder named as a pack, path characters in the registration number. Every one ends with a
// clear outcome, nothing is written outside the output folder, every XML file is well-formed,
// and the journal stays a journal.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "app/batch.h"
#include "pack_generator.h"
#include "program_folder.h"
#include "runtime/codepage.h"

namespace fs = std::filesystem;
using namespace tolvex;

namespace {

class HostilePacks : public fakes::ProgramFolder {
 protected:
  // A pack of the generator, as bytes.
  std::string generated(std::string_view kind, int documents) {
    bench::PackShape shape;
    shape.kind = kind;
    shape.documents = bench::kind_info(kind).one_document ? 1 : documents;
    shape.max_periods = 4;
    shape.max_additional = 3;
    shape.max_work_records = 3;
    shape.exact = true;
    fs::path tmp = dir / "generated.tmp";
    gen_.write_pack(tmp, shape);
    std::string bytes = read(tmp);
    fs::remove(tmp);
    return bytes;
  }
  void add(const std::string& name, const std::string& bytes) { write(fs::path("In_4") / name, bytes); }

  bench::PackGenerator gen_{20261208};
};

// The first `n` lines of a pack (its header is lines 1 to 4).
std::string lines(const std::string& bytes, std::size_t n) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < n && at != std::string::npos; ++i) {
    at = bytes.find("\r\n", at);
    if (at != std::string::npos) at += 2;
  }
  return at == std::string::npos ? bytes : bytes.substr(0, at);
}

}  // namespace

TEST_F(HostilePacks, EveryPackEndsCleanly) {
  std::size_t expected_rejected = 0;
  int n = 0;
  for (const auto& k : bench::all_kinds()) {
    std::string good = generated(k.procedure, 5);
    std::string stem(k.stem);
    // Cut off: inside the header (rejected), after the header, and in the middle of a line.
    add(stem + "-cut-header", good.substr(0, good.find("\r\n") + 10));
    ++expected_rejected;
    add(stem + "-cut-after-header", lines(good, 4));
    const std::size_t h = lines(good, 4).size(), body = good.size() - h;
    if (body > 8)
      for (std::size_t cut : {h + body / 3, h + body / 2, good.size() - 7})
        add(stem + "-cut-" + std::to_string(cut), good.substr(0, cut));
    // Counts far beyond the lines present: every number field of the documents made large.
    std::string big = lines(good, 4);
    std::string rest = good.substr(big.size());
    for (std::size_t i = 0; i + 1 < rest.size(); ++i)
      if (rest[i] == ',' && rest[i + 1] >= '1' && rest[i + 1] <= '9') rest[i + 1] = '9';
    add(stem + "-counts", big + rest);
    // Binary garbage and a 100 KB line after a valid header.
    std::mt19937 rng(static_cast<unsigned>(++n));
    std::string garbage;
    for (int i = 0; i < 20000; ++i) garbage.push_back(static_cast<char>(rng()));
    add(stem + "-garbage", lines(good, 4) + garbage);
    add(stem + "-long-line",
        lines(good, 5) + std::string(100 * 1024, 'x') + "\r\n" + good.substr(lines(good, 5).size()));
  }
  add("empty", "");
  add("crlf-only", std::string(2000, '\r') + std::string(2000, '\n'));
  add("binary", std::string("\x00\xFF\x1A\x0D\x0A", 5));
  expected_rejected += 3;
  // Path characters in the registration number: the name stays inside the output folder.
  std::string adv1 = generated("load_adv1", 2);
  std::size_t l2 = adv1.find("\r\n") + 2;
  std::size_t l3 = adv1.find("\r\n", l2);
  add("regn", adv1.substr(0, l2) + runtime::ansi_to_oem(runtime::utf8_to_ansi("ИСТ4,ВЗЛ,../../../x\\y:z*,7701,0,ООО")) +
                  adv1.substr(l3));
  fs::create_directories(dir / "In_4" / "a-folder");

  start();
  app::BatchSummary sum = app::BatchRun(session(), pack_state()).run();
  program.reset();
  // The cut copies of a pack share its PFR name: the first takes it, the later ones are refused.
  std::size_t rejected = 0, refused = 0;
  for (const auto& r : sum.results) {
    EXPECT_TRUE(r.outcome == core::PackOutcome::converted || r.outcome == core::PackOutcome::documents_left_out ||
                r.outcome == core::PackOutcome::not_converted || r.outcome == core::PackOutcome::rejected ||
                (r.outcome == core::PackOutcome::no_output && !r.name_taken_by.empty()))
        << r.pack;
    if (r.outcome == core::PackOutcome::rejected) ++rejected;
    if (!r.name_taken_by.empty()) ++refused;
  }
  EXPECT_EQ(rejected, expected_rejected);
  EXPECT_EQ(sum.rejected, expected_rejected);
  EXPECT_EQ(sum.converted + sum.documents_left_out + sum.not_converted + rejected + refused, sum.packs);

  // Nothing outside the output folder; no half-written file; every XML well-formed.
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    fs::path rel = fs::relative(e.path(), dir);
    std::string top = rel.begin()->string();
    EXPECT_TRUE(top == "In_4" || top == "Out_7" || top == "Report" || top == "tolvex.ini") << rel;
    if (top == "Out_7" && e.is_regular_file()) {
      EXPECT_EQ(e.path().extension(), ".XML") << rel;
      std::string cmd = "xmllint --noout '" + e.path().string() + "' 2>/dev/null";
      EXPECT_EQ(std::system(cmd.c_str()), 0) << "not well-formed: " << rel;
    }
  }
  // The journal: its header, every line ended by CR LF, the end of the batch.
  std::string log = runtime::ansi_to_utf8(read(dir / "Report" / "tolvex.log"));
  EXPECT_EQ(log.rfind("Журнал конвертации пачек 4 формата ПФР в 7 формат ", 0), 0u);
  for (std::size_t i = 0; i < log.size(); ++i) {
    if (log[i] == '\n') {
      ASSERT_TRUE(i > 0 && log[i - 1] == '\r') << "a bare line end at byte " << i;
    }
  }
  EXPECT_NE(log.find("\r\nКонец пакета 10:15:30\r\n"), std::string::npos);
}
