// tolvex-bench: generates large realistic packs and measures their conversion against iconv over
// the same bytes. Each conversion runs in a child process of its own (this program re-started
// with a sub-command), started through the same library calls as the console's `batch` and
// `convert`, so that its peak memory is its own and not the generator's.
//
//   tolvex-bench [--seed N] [--work DIR] [--packs N] [--big-mb N] [--singles N] [--repeat N]
//
// Cases, each timed `repeat` times (the fastest run counts):
//   folder   a folder of realistic packs of every document kind, up to 999 documents each (batch)
//   big      one СЗВ-4-1 pack of about big-mb MB: 999 persons, 99 periods each, many additional
//            lines (convert)
//   singles  a folder of one-document АДВ-1 packs (batch)
//   one      one АДВ-1 pack with as many documents as `singles` has packs (batch), the measure
//            the singles are compared with
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/process.h"
#include "app/startup.h"
#include "cli/console_operator.h"
#include "core/one_pack.h"
#include "pack_generator.h"
#include "runtime/paths.h"

namespace fs = std::filesystem;
using namespace tolvex;
using Clock = std::chrono::steady_clock;

namespace {

// --- the child: one conversion ---------------------------------------------------------------

// The peak resident memory of this process in KB.
long peak_resident_kb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

std::string folder_setting(const fs::path& p) { return runtime::with_separator(runtime::path_to_ansi(fs::absolute(p))); }

// convert-batch PROGRAM_FOLDER REPORT: every pack of the program folder's In_4 into its Out_7.
// convert PROGRAM_FOLDER REPORT PACK...: the packs named, one after the other.
int child(const std::string& mode, const std::vector<std::string>& args) {
  if (args.size() < 2) return 2;
  const fs::path folder = args[0];
  std::FILE* messages = std::fopen((folder / "messages.txt").c_str(), "w");
  cli::ConsoleOperator op(messages ? messages : stderr, false);
  core::SystemClock clock;
  app::ProcessRunner programs;
  std::size_t packs = 0, converted = 0, rejected = 0;
  {
    app::Program program(folder, op, clock, programs);
    core::Session& s = program.session();
    s.settings.path_in4 = folder_setting(folder / "In_4");
    s.settings.path_out7 = folder_setting(folder / "Out_7");
    auto count = [&](core::PackOutcome o) {
      ++packs;
      if (o == core::PackOutcome::converted || o == core::PackOutcome::not_converted) ++converted;  // an XML file
      if (o == core::PackOutcome::rejected) ++rejected;
    };
    if (mode == "convert-batch") {
      app::BatchSummary sum = app::BatchRun(s, program.pack_state()).run();
      for (const auto& r : sum.results) count(r.outcome);
    } else {
      core::OnePackConversion one(s, program.pack_state());
      for (std::size_t i = 2; i < args.size(); ++i) count(one.convert_batch(fs::absolute(args[i])));
    }
  }
  if (messages) std::fclose(messages);
  std::ofstream report(args[1]);
  report << packs << ' ' << converted << ' ' << rejected << ' ' << peak_resident_kb() << '\n';
  return rejected == 0 ? 0 : 1;
}

// --- the parent: generating, running, measuring ---------------------------------------------

struct Options {
  std::uint64_t seed = 1;
  fs::path work = fs::temp_directory_path() / "tolvex-bench";
  int packs = 500;
  int big_mb = 100;
  int singles = 999;
  int repeat = 3;
};

std::string self_path() { return fs::read_symlink("/proc/self/exe").string(); }

// Runs a program, its standard output into `out` (or left as it is); its exit code.
int run(const std::vector<std::string>& argv, const fs::path& out = {}) {
  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (!out.empty()) {
      std::FILE* f = std::freopen(out.c_str(), "w", stdout);
      if (!f) _exit(126);
    }
    std::vector<char*> a;
    for (const auto& s : argv) a.push_back(const_cast<char*>(s.c_str()));
    a.push_back(nullptr);
    execvp(a[0], a.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

double seconds_of(const std::vector<std::string>& argv, int& rc, const fs::path& out = {}) {
  auto t0 = Clock::now();
  rc = run(argv, out);
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

std::uintmax_t bytes_in(const fs::path& dir) {
  std::uintmax_t n = 0;
  if (fs::exists(dir))
    for (const auto& e : fs::directory_iterator(dir))
      if (e.is_regular_file()) n += e.file_size();
  return n;
}

struct Case {
  std::string name;
  std::string mode;  // convert-batch or convert
  fs::path folder;   // the program folder: In_4, Out_7, REPORT
  std::vector<std::string> packs;  // the input files, in file-name order
  std::uintmax_t input = 0;
};

struct Result {
  double ours = 1e30, iconv = 1e30;
  std::uintmax_t output = 0;
  long peak_kb = 0;
  std::size_t packs = 0, converted = 0, rejected = 0;
};

Case make_case(const std::string& name, const std::string& mode, const fs::path& folder) {
  Case c{name, mode, folder, {}, 0};
  for (const auto& p : app::list_packs(folder / "In_4")) c.packs.push_back(p.string());
  c.input = bytes_in(folder / "In_4");
  return c;
}

Result measure(const Case& c, const Options& o) {
  Result r;
  const fs::path report = c.folder / "result.txt";
  for (int k = 0; k < o.repeat; ++k) {
    std::vector<std::string> iconv{"iconv", "-f", "CP866", "-t", "CP1251", "-o", (c.folder / "iconv.out").string()};
    iconv.insert(iconv.end(), c.packs.begin(), c.packs.end());
    int rc = 0;
    r.iconv = std::min(r.iconv, seconds_of(iconv, rc));
    if (rc != 0) throw std::runtime_error("iconv failed on " + c.name);
    fs::remove(c.folder / "iconv.out");

    fs::remove_all(c.folder / "Out_7");
    fs::create_directories(c.folder / "Out_7");
    std::vector<std::string> ours{self_path(), c.mode, c.folder.string(), report.string()};
    if (c.mode == "convert") ours.insert(ours.end(), c.packs.begin(), c.packs.end());
    r.ours = std::min(r.ours, seconds_of(ours, rc));
    std::ifstream in(report);
    long peak = 0;
    in >> r.packs >> r.converted >> r.rejected >> peak;
    if (!in) throw std::runtime_error("the conversion of " + c.name + " did not report (exit " + std::to_string(rc) + ")");
    r.peak_kb = std::max(r.peak_kb, peak);
    r.output = bytes_in(c.folder / "Out_7");
  }
  return r;
}

void fresh(const fs::path& folder) {
  fs::remove_all(folder);
  fs::create_directories(folder / "In_4");
}

std::string pack_name(const bench::KindInfo& k, int i) {
  char b[64];
  std::snprintf(b, sizeof b, "%s-%04d.txt", std::string(k.stem).c_str(), i);
  return b;
}

void generate(const Options& o, std::vector<Case>& cases) {
  bench::PackGenerator gen(o.seed);
  const auto kinds = bench::all_kinds();

  fs::path folder = o.work / "folder";
  fresh(folder);
  for (int i = 0; i < o.packs; ++i) {
    const bench::KindInfo& k = kinds[static_cast<std::size_t>(i) % kinds.size()];
    bench::PackShape shape;
    shape.kind = k.kind;
    // Most packs of a day are small, some are full.
    double u = gen.between(0, 1000) / 1000.0;
    shape.documents = k.one_document ? 1 : i % 25 == 0 ? 999 : 1 + static_cast<int>(998 * u * u);
    gen.write_pack(folder / "In_4" / pack_name(k, i + 1), shape);
  }
  cases.push_back(make_case("folder", "convert-batch", folder));

  fs::path big = o.work / "big";
  fresh(big);
  bench::PackShape shape;
  shape.kind = bench::Kind::szv41;
  shape.documents = 999;
  shape.max_periods = 99;
  shape.exact = true;
  // A period line is about 75 bytes, an additional line about 36.
  double per_period = o.big_mb * 1e6 / 999 / 99;
  shape.max_additional = std::clamp(static_cast<int>((per_period - 75) / 36 + 0.5), 0, 99);
  gen.write_pack(big / "In_4" / "szv41-big.txt", shape);
  cases.push_back(make_case("big", "convert", big));

  fs::path singles = o.work / "singles";
  fresh(singles);
  for (int i = 0; i < o.singles; ++i)
    gen.write_pack(singles / "In_4" / pack_name(bench::kind_info(bench::Kind::adv1), i + 1), {bench::Kind::adv1, 1});
  cases.push_back(make_case("singles", "convert-batch", singles));

  fs::path one = o.work / "one";
  fresh(one);
  gen.write_pack(one / "In_4" / "adv1-all.txt", {bench::Kind::adv1, std::min(o.singles, 999)});
  cases.push_back(make_case("one", "convert-batch", one));
}

double mb(std::uintmax_t bytes) { return bytes / 1e6; }

int parent(const Options& o) {
  std::vector<Case> cases;
  auto t0 = Clock::now();
  generate(o, cases);
  std::printf("generated in %.1f s (seed %llu, %s)\n", std::chrono::duration<double>(Clock::now() - t0).count(),
              static_cast<unsigned long long>(o.seed), o.work.string().c_str());
  std::printf("%-8s %6s %9s %9s %9s %10s %10s %9s %9s %12s\n", "case", "packs", "in MB", "out MB", "time s",
              "in MB/s", "out MB/s", "peak MB", "iconv s", "ours/iconv");
  std::vector<Result> results;
  bool all_ok = true;
  for (const auto& c : cases) {
    Result r = measure(c, o);
    results.push_back(r);
    std::printf("%-8s %6zu %9.1f %9.1f %9.3f %10.1f %10.1f %9.1f %9.3f %12.2f\n", c.name.c_str(), r.packs, mb(c.input),
                mb(r.output), r.ours, mb(c.input) / r.ours, mb(r.output) / r.ours, r.peak_kb / 1024.0, r.iconv,
                r.ours / r.iconv);
    if (r.rejected != 0 || r.packs != c.packs.size()) {
      std::printf("  %zu of %zu packs rejected\n", r.rejected, r.packs);
      all_ok = false;
    }
    std::fflush(stdout);
  }
  const Result& singles = results[2];
  const Result& one = results[3];
  std::printf("singles/one: %.2f (%zu one-document packs against one pack of as many documents)\n",
              singles.ours / one.ours, singles.packs);
  return all_ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "convert-batch" || args[0] == "convert"))
    return child(args[0], std::vector<std::string>(args.begin() + 1, args.end()));

  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) throw std::invalid_argument(args[i] + " needs a value");
      return args[++i];
    };
    if (args[i] == "--seed") o.seed = std::stoull(value());
    else if (args[i] == "--work") o.work = fs::absolute(value());
    else if (args[i] == "--packs") o.packs = std::stoi(value());
    else if (args[i] == "--big-mb") o.big_mb = std::stoi(value());
    else if (args[i] == "--singles") o.singles = std::stoi(value());
    else if (args[i] == "--repeat") o.repeat = std::max(1, std::stoi(value()));
    else {
      std::fprintf(stderr,
                   "usage: tolvex-bench [--seed N] [--work DIR] [--packs N] [--big-mb N] [--singles N] [--repeat N]\n");
      return 2;
    }
  }
  try {
    return parent(o);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tolvex-bench: %s\n", e.what());
    return 2;
  }
}
