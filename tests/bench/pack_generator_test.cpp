// SPDX-License-Identifier: MIT
// The packs of the benchmark's generator: the same seed gives the same bytes, and a pack of every
// kind converts with no rejected pack into well-formed XML.
#include "pack_generator.h"

#include <gtest/gtest.h>

#include "app/batch.h"
#include "program_folder.h"

namespace fs = std::filesystem;
using namespace tolvex;

namespace {

class PackGenerator : public fakes::ProgramFolder {};

bench::PackShape small(std::string_view kind) {
  bench::PackShape shape;
  shape.kind = kind;
  shape.documents = bench::kind_info(kind).one_document ? 1 : 3;
  shape.max_periods = 3;
  shape.max_additional = 2;
  shape.max_work_records = 2;
  shape.exact = true;
  return shape;
}

TEST_F(PackGenerator, SameSeedSameBytesOtherSeedOtherBytes) {
  bench::PackGenerator a(7), b(7), c(8);
  a.write_pack(dir / "a.txt", small("load_szv_k"));
  b.write_pack(dir / "b.txt", small("load_szv_k"));
  c.write_pack(dir / "c.txt", small("load_szv_k"));
  EXPECT_EQ(read(dir / "a.txt"), read(dir / "b.txt"));
  EXPECT_NE(read(dir / "a.txt"), read(dir / "c.txt"));
}

TEST_F(PackGenerator, LinesEndInCrLfAndAreInTheDosCodePage) {
  bench::PackGenerator gen(1);
  std::uintmax_t n = gen.write_pack(dir / "p.txt", small("load_adv1"));
  std::string bytes = read(dir / "p.txt");
  EXPECT_EQ(n, bytes.size());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      EXPECT_EQ(bytes[i - 1], '\r') << "at " << i;
    }
  }
  // "ЗГЛВ" in code page 866
  EXPECT_EQ(bytes.substr(0, 4), bench::to_oem("ЗГЛВ"));
  EXPECT_EQ(bytes.substr(0, 4), "\x87\x83\x8B\x82");
}

TEST_F(PackGenerator, EveryKindConvertsIntoWellFormedXml) {
  bench::PackGenerator gen(3);
  std::size_t packs = 0;
  for (const auto& k : bench::all_kinds()) {
    gen.write_pack(dir / "In_4" / (std::string(k.stem) + ".txt"), small(k.procedure));
    ++packs;
  }
  EXPECT_EQ(packs, 14u);

  start();
  app::BatchSummary sum = app::BatchRun(session(), pack_state()).run();
  program.reset();
  EXPECT_EQ(sum.packs, packs);
  for (const auto& r : sum.results) EXPECT_NE(r.outcome, core::PackOutcome::rejected) << r.pack;
  std::size_t xmls = 0;
  for (const auto& e : fs::directory_iterator(dir / "Out_7")) {
    ++xmls;
    std::string cmd = "xmllint --noout '" + e.path().string() + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << "not well-formed: " << e.path();
  }
  EXPECT_EQ(xmls, packs);
}

}  // namespace
