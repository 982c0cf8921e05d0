// The packs of the benchmark's generator: the same seed gives the same bytes, and a pack of every
// kind converts with no rejected pack into well-formed XML.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "app/batch.h"
#include "app/startup.h"
#include "pack_generator.h"
#include "runtime/paths.h"
#include "scripted_operator.h"

namespace fs = std::filesystem;
using namespace tolvex;

namespace {

std::string read_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

fs::path scratch(const std::string& name) {
  static const std::string run_id = std::to_string(std::random_device{}());
  fs::path dir = fs::temp_directory_path() / ("tolvex-bench-test-" + run_id + "-" + name);
  fs::remove_all(dir);
  fs::create_directories(dir / "In_4");
  return dir;
}

bench::PackShape small(bench::Kind kind) {
  bench::PackShape shape;
  shape.kind = kind;
  shape.documents = bench::kind_info(kind).one_document ? 1 : 3;
  shape.max_periods = 3;
  shape.max_additional = 2;
  shape.max_work_records = 2;
  shape.exact = true;
  return shape;
}

TEST(PackGenerator, SameSeedSameBytesOtherSeedOtherBytes) {
  fs::path dir = scratch("seed");
  bench::PackGenerator a(7), b(7), c(8);
  a.write_pack(dir / "a.txt", small(bench::Kind::szvk));
  b.write_pack(dir / "b.txt", small(bench::Kind::szvk));
  c.write_pack(dir / "c.txt", small(bench::Kind::szvk));
  EXPECT_EQ(read_file(dir / "a.txt"), read_file(dir / "b.txt"));
  EXPECT_NE(read_file(dir / "a.txt"), read_file(dir / "c.txt"));
  fs::remove_all(dir);
}

TEST(PackGenerator, LinesEndInCrLfAndAreInTheDosCodePage) {
  fs::path dir = scratch("bytes");
  bench::PackGenerator gen(1);
  std::uintmax_t n = gen.write_pack(dir / "p.txt", small(bench::Kind::adv1));
  std::string bytes = read_file(dir / "p.txt");
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
  fs::remove_all(dir);
}

TEST(PackGenerator, EveryKindConvertsIntoWellFormedXml) {
  fs::path dir = scratch("kinds");
  bench::PackGenerator gen(3);
  std::size_t packs = 0;
  for (const auto& k : bench::all_kinds()) {
    gen.write_pack(dir / "In_4" / (std::string(k.stem) + ".txt"), small(k.kind));
    ++packs;
  }
  EXPECT_EQ(packs, 14u);

  fakes::ScriptedOperator op;
  fakes::FixedClock clock;
  fakes::RecordingPrograms programs;
  app::BatchSummary sum;
  {
    app::Program program(dir, op, clock, programs);
    sum = app::BatchRun(program.session(), program.pack_state()).run();
  }
  EXPECT_EQ(sum.packs, packs);
  for (const auto& r : sum.results) EXPECT_NE(r.outcome, core::PackOutcome::rejected) << r.pack;
  std::size_t xmls = 0;
  for (const auto& e : fs::directory_iterator(dir / "Out_7")) {
    ++xmls;
    std::string cmd = "xmllint --noout '" + e.path().string() + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << "not well-formed: " << e.path();
  }
  EXPECT_EQ(xmls, packs);
  fs::remove_all(dir);
}

}  // namespace
