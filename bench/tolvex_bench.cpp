// SPDX-License-Identifier: MIT
// tolvex-bench: generates large realistic packs and measures their conversion against iconv over
// the same bytes, in one run, on a work folder in memory (tmpfs) and on one on disk. Each
// conversion runs in a child process of its own (this program re-started with a sub-command),
// started through the same library calls as the console's `batch` and `convert`, so that its
// peak memory is its own and not the generator's.
//
//   tolvex-bench [--seed N] [--work DIR] [--disk DIR|none] [--packs N] [--big-mb N] [--singles N]
//                [--jobs N] [--repeat N] [--singles-only] [--keep]
//
// Cases, each timed `repeat` times (the fastest run counts), and iconv over the same files:
//   folder    a folder of realistic packs of every document kind, up to 999 documents each
//             (batch), one pack at a time and with --jobs (default: one per processor)
//   big       one СЗВ-4-1 pack of about big-mb MB: 999 persons, 99 periods each, many additional
//             lines (convert)
//   singles   a folder of one-document АДВ-1 packs (batch, with --jobs)
//   one       one АДВ-1 pack with as many documents as `singles` has packs (batch), the measure
//             the singles are compared with
// and the yardstick of the singles: a bare loop of the system calls that durable, exclusive,
// journaled output needs (see syscall_loop), over the same packs and the same XML bytes.
// On disk every XML file is synced before it takes its name, as the program always does; iconv's
// output there is synced too before its time is taken.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/batch.h"
#include "app/process.h"
#include "app/startup.h"
#include "cli/console_operator.h"
#include "core/conversion/one_pack.h"
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

std::string folder_setting(const fs::path& p) {
  return runtime::with_separator(runtime::path_to_ansi(fs::absolute(p)));
}

// convert-batch PROGRAM_FOLDER REPORT JOBS: every pack of the program folder's In_4 into its
// Out_7, JOBS at once. convert PROGRAM_FOLDER REPORT PACK...: the packs named, one after the other.
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
    s.settings.input_folder = folder_setting(folder / "In_4");
    s.settings.output_folder = folder_setting(folder / "Out_7");
    s.settings.archiver = "";  // the archiver is not part of the measure
    auto count = [&](core::PackOutcome o) {
      ++packs;
      if (o == core::PackOutcome::converted || o == core::PackOutcome::documents_left_out ||
          o == core::PackOutcome::not_converted)
        ++converted;  // an XML file
      if (o == core::PackOutcome::rejected) ++rejected;
    };
    if (mode == "convert-batch") {
      app::BatchRun batch(s, program.pack_state());
      batch.set_jobs(args.size() > 2 ? std::stoul(args[2]) : 1);
      app::BatchSummary sum = batch.run();
      for (const auto& r : sum.results) count(r.outcome);
    } else {
      core::OnePackConversion one(s, program.pack_state());
      for (std::size_t i = 2; i < args.size(); ++i) count(one.convert_all_documents(fs::absolute(args[i])));
    }
  }
  if (messages) std::fclose(messages);
  std::ofstream report(args[1]);
  report << packs << ' ' << converted << ' ' << rejected << ' ' << peak_resident_kb() << '\n';
  return rejected == 0 ? 0 : 1;
}

// --- the yardstick: the system calls of the singles alone ---------------------------------------

// syscall-loop OUT_FOLDER JOURNAL REPORT (PACK XML)...: for each pack, in plain POSIX calls, what
// the converter cannot do without: open, stat and read the pack; create the XML's temporary file
// exclusively beside its final name (no link followed); write the XML's bytes (those the program
// made, read into memory before the clock starts); sync them; rename the file into place; sync the
// folder; write two journal lines. Reports the loop's seconds.
int syscall_loop(const std::vector<std::string>& args) {
  if (args.size() < 3 || (args.size() - 3) % 2 != 0) return 2;
  const std::string out = args[0] + "/";
  std::vector<std::string> packs, finals, xmls;
  for (std::size_t i = 3; i < args.size(); i += 2) {
    packs.push_back(args[i]);
    finals.push_back(out + fs::path(args[i + 1]).filename().string());
    std::ifstream in(args[i + 1], std::ios::binary);
    xmls.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::vector<char> buffer(1 << 16);
  std::string temp, line;
  unsigned random = 12345;
  auto t0 = Clock::now();
  int journal = ::open(args[1].c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  int folder = ::open(args[0].c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (journal < 0 || folder < 0) return 1;
  for (std::size_t i = 0; i < packs.size(); ++i) {
    int in = ::open(packs[i].c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (in < 0 || ::fstat(in, &st) != 0) return 1;
    while (::read(in, buffer.data(), buffer.size()) > 0) {
    }
    ::close(in);
    temp = finals[i] + ".";
    for (int k = 0; k < 8; ++k)
      temp += "abcdefghijklmnopqrstuvwxyz0123456789"[(random = random * 1103515245u + 12345u) % 36];
    temp += ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 || ::write(fd, xmls[i].data(), xmls[i].size()) != static_cast<ssize_t>(xmls[i].size()) ||
        ::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temp.c_str(), finals[i].c_str()) != 0 ||
        (::fsync(folder) != 0 && errno != EINVAL))
      return 1;
    line = packs[i] + "\r\n";
    if (::write(journal, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return 1;
    line = " Закрыли в конце " + finals[i] + "\r\n";
    if (::write(journal, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return 1;
  }
  ::close(folder);
  ::close(journal);
  double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  std::ofstream report(args[2]);
  report << seconds << '\n';
  return 0;
}

// --- the parent: generating, running, measuring ---------------------------------------------

struct Options {
  std::uint64_t seed = 1;
  fs::path work =
      fs::exists("/dev/shm") ? fs::path("/dev/shm/tolvex-bench") : fs::temp_directory_path() / "tolvex-bench";
  fs::path disk = "/var/tmp/tolvex-bench";  // empty: no run on disk
  int packs = 500;
  int big_mb = 100;
  int singles = 999;
  std::size_t jobs = app::default_jobs();
  int repeat = 3;
  bool singles_only = false;  // only the singles, the one pack and the yardstick
  bool keep = false;          // the work folders left for a look (a profile of one case)
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

double seconds_since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

std::uintmax_t bytes_in(const fs::path& dir) {
  std::uintmax_t n = 0;
  if (fs::exists(dir))
    for (const auto& e : fs::directory_iterator(dir))
      if (e.is_regular_file()) n += e.file_size();
  return n;
}

// Waits until the file's bytes are on the disk.
void sync_file(const fs::path& file) {
  int fd = ::open(file.c_str(), O_RDONLY);
  if (fd < 0 || ::fsync(fd) != 0) throw std::runtime_error("cannot sync " + file.string());
  ::close(fd);
}

struct Case {
  std::string name;
  std::string mode;                // convert-batch or convert
  std::size_t jobs = 1;            // convert-batch: packs at once
  fs::path folder;                 // the program folder: In_4, Out_7, REPORT
  std::vector<std::string> packs;  // the input files, in file-name order
  std::uintmax_t input = 0;
};

struct Result {
  double ours = 1e30, iconv = 1e30;
  std::uintmax_t output = 0;
  long peak_kb = 0;
  std::size_t packs = 0, converted = 0, rejected = 0;
  double loop = 0;  // singles: the system-call loop over the same packs and XML bytes
};

Case make_case(const std::string& name, const std::string& mode, std::size_t jobs, const fs::path& folder) {
  Case c{name, mode, jobs, folder, {}, 0};
  for (const auto& p : app::list_packs(folder / "In_4")) c.packs.push_back(p.string());
  c.input = bytes_in(folder / "In_4");
  return c;
}

// The best time of the system-call loop over a case's packs and the XML files its conversion
// made, in a child process, with the start of a process added (ours pays one too).
double measure_loop(const Case& c, const Options& o) {
  std::vector<fs::path> xmls;
  for (const auto& e : fs::directory_iterator(c.folder / "Out_7")) xmls.push_back(e.path());
  std::sort(xmls.begin(), xmls.end());
  if (xmls.size() != c.packs.size()) throw std::runtime_error("the singles did not make one XML file a pack");
  const fs::path report = c.folder / "loop.txt";
  double best = 1e30, start = 1e30;
  for (int k = 0; k < o.repeat; ++k) {
    auto t0 = Clock::now();
    run({self_path(), "start"});
    start = std::min(start, seconds_since(t0));
    fs::remove_all(c.folder / "loop");
    fs::create_directories(c.folder / "loop");
    fs::remove(c.folder / "loop.log");
    std::vector<std::string> argv{self_path(), "syscall-loop", (c.folder / "loop").string(),
                                  (c.folder / "loop.log").string(), report.string()};
    for (std::size_t i = 0; i < xmls.size(); ++i) {
      argv.push_back(c.packs[i]);
      argv.push_back(xmls[i].string());
    }
    if (run(argv) != 0) throw std::runtime_error("the system-call loop failed");
    std::ifstream in(report);
    double seconds = 0;
    in >> seconds;
    best = std::min(best, seconds);
  }
  fs::remove_all(c.folder / "loop");
  return best + start;
}

Result measure(const Case& c, const Options& o, bool synced) {
  Result r;
  const fs::path report = c.folder / "result.txt";
  for (int k = 0; k < o.repeat; ++k) {
    const fs::path iconv_out = c.folder / "iconv.out";
    std::vector<std::string> iconv{"iconv", "-f", "CP866", "-t", "CP1251", "-o", iconv_out.string()};
    iconv.insert(iconv.end(), c.packs.begin(), c.packs.end());
    auto t0 = Clock::now();
    int rc = run(iconv);
    if (rc == 0 && synced) sync_file(iconv_out);
    r.iconv = std::min(r.iconv, seconds_since(t0));
    if (rc != 0) throw std::runtime_error("iconv failed on " + c.name);
    fs::remove(iconv_out);

    fs::remove_all(c.folder / "Out_7");
    fs::create_directories(c.folder / "Out_7");
    std::vector<std::string> ours{self_path(), c.mode, c.folder.string(), report.string()};
    if (c.mode == "convert")
      ours.insert(ours.end(), c.packs.begin(), c.packs.end());
    else
      ours.push_back(std::to_string(c.jobs));
    t0 = Clock::now();
    rc = run(ours);
    r.ours = std::min(r.ours, seconds_since(t0));
    std::ifstream in(report);
    long peak = 0;
    in >> r.packs >> r.converted >> r.rejected >> peak;
    if (!in)
      throw std::runtime_error("the conversion of " + c.name + " did not report (exit " + std::to_string(rc) + ")");
    r.peak_kb = std::max(r.peak_kb, peak);
    r.output = bytes_in(c.folder / "Out_7");
  }
  if (c.name.rfind("singles", 0) == 0) r.loop = measure_loop(c, o);
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

// The cases' packs under `root`; the same seed gives the same bytes.
std::vector<Case> generate(const Options& o, const fs::path& root) {
  std::vector<Case> cases;
  bench::PackGenerator gen(o.seed);
  const auto kinds = bench::all_kinds();
  const std::string jobs = " --jobs " + std::to_string(o.jobs);

  fs::path folder = root / "folder";
  if (!o.singles_only) {
    fresh(folder);
    for (int i = 0; i < o.packs; ++i) {
      const bench::KindInfo& k = kinds[static_cast<std::size_t>(i) % kinds.size()];
      bench::PackShape shape;
      shape.kind = k.procedure;
      // Most packs of a day are small, some are full.
      double u = gen.between(0, 1000) / 1000.0;
      shape.documents = k.one_document ? 1 : i % 25 == 0 ? 999 : 1 + static_cast<int>(998 * u * u);
      gen.write_pack(folder / "In_4" / pack_name(k, i + 1), shape);
    }
    cases.push_back(make_case("folder --jobs 1", "convert-batch", 1, folder));
    cases.push_back(make_case("folder" + jobs, "convert-batch", o.jobs, folder));

    fs::path big = root / "big";
    fresh(big);
    bench::PackShape shape;
    shape.kind = "load_szv41";
    shape.documents = 999;
    shape.max_periods = 99;
    shape.exact = true;
    // A period line is about 75 bytes, an additional line about 36.
    double per_period = o.big_mb * 1e6 / 999 / 99;
    shape.max_additional = std::clamp(static_cast<int>((per_period - 75) / 36 + 0.5), 0, 99);
    gen.write_pack(big / "In_4" / "szv41-big.txt", shape);
    cases.push_back(make_case("big", "convert", 1, big));
  }

  fs::path singles = root / "singles";
  fresh(singles);
  for (int i = 0; i < o.singles; ++i)
    gen.write_pack(singles / "In_4" / pack_name(bench::kind_info("load_adv1"), i + 1), {"load_adv1", 1});
  cases.push_back(make_case("singles --jobs 1", "convert-batch", 1, singles));
  if (o.jobs != 1) cases.push_back(make_case("singles" + jobs, "convert-batch", o.jobs, singles));

  fs::path one = root / "one";
  fresh(one);
  gen.write_pack(one / "In_4" / "adv1-all.txt", {"load_adv1", std::min(o.singles, 999)});
  cases.push_back(make_case("one", "convert-batch", o.jobs, one));
  return cases;
}

double mb(std::uintmax_t bytes) { return bytes / 1e6; }

const char* met(bool yes) { return yes ? "met" : "NOT met"; }

// Generates and measures every case under `root`; false when a pack was rejected.
bool run_all(const Options& o, const fs::path& root, bool synced) {
  auto t0 = Clock::now();
  std::vector<Case> cases = generate(o, root);
  std::printf("\nwork folder %s (%s), packs generated in %.1f s\n", root.string().c_str(),
              synced ? "on disk: every XML synced, and iconv's output" : "in memory", seconds_since(t0));
  std::printf("%-18s %6s %8s %8s %9s %9s %11s %8s %9s %10s\n", "case", "packs", "in MB", "out MB", "ours s", "iconv s",
              "ours/iconv", "peak MB", "loop s", "ours/loop");
  std::vector<Result> results;
  bool all_ok = true;
  for (const auto& c : cases) {
    Result r = measure(c, o, synced);
    results.push_back(r);
    std::printf("%-18s %6zu %8.1f %8.1f %9.3f %9.3f %11.2f %8.1f", c.name.c_str(), r.packs, mb(c.input), mb(r.output),
                r.ours, r.iconv, r.ours / r.iconv, r.peak_kb / 1024.0);
    if (r.loop > 0) std::printf(" %9.3f %10.2f", r.loop, r.ours / r.loop);
    std::printf("\n");
    if (r.rejected != 0 || r.packs != c.packs.size()) {
      std::printf("  %zu of %zu packs rejected\n", r.rejected, r.packs);
      all_ok = false;
    }
    std::fflush(stdout);
  }
  auto result = [&](const std::string& name) -> const Result* {
    for (std::size_t i = 0; i < cases.size(); ++i)
      if (cases[i].name == name) return &results[i];
    return nullptr;
  };
  const std::string jobs = " --jobs " + std::to_string(o.jobs);
  const Result* folder = result("folder" + jobs);
  const Result* big = result("big");
  const Result* singles = result("singles" + jobs);
  const Result* one = result("one");
  long peak = 0;
  for (const auto& r : results) peak = std::max(peak, r.peak_kb);
  if (folder && big)
    std::printf("goals: folder%s within 2.0 x iconv: %.2f, %s; big within 2.0 x iconv: %.2f, %s;\n", jobs.c_str(),
                folder->ours / folder->iconv, met(folder->ours <= 2.0 * folder->iconv), big->ours / big->iconv,
                met(big->ours <= 2.0 * big->iconv));
  std::printf("       singles within 3.0 x one: %.2f, %s; peak memory within 32 MB: %.1f MB, %s\n",
              singles->ours / one->ours, met(singles->ours <= 3.0 * one->ours), peak / 1024.0, met(peak <= 32 * 1024));
  std::printf("       singles%s within 1.5 x the system-call loop: %.2f, %s\n", jobs.c_str(),
              singles->ours / singles->loop, met(singles->ours <= 1.5 * singles->loop));
  if (!o.keep) fs::remove_all(root);
  return all_ok;
}

int parent(const Options& o) {
  std::printf("tolvex-bench: %u cores, seed %llu, %d packs, big pack %d MB, %d singles, best of %d runs\n",
              std::thread::hardware_concurrency(), static_cast<unsigned long long>(o.seed), o.packs, o.big_mb,
              o.singles, o.repeat);
  bool ok = run_all(o, o.work, false);
  if (!o.disk.empty()) ok = run_all(o, o.disk, true) && ok;
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "start") return 0;
  if (!args.empty() && args[0] == "syscall-loop")
    return syscall_loop(std::vector<std::string>(args.begin() + 1, args.end()));
  if (!args.empty() && (args[0] == "convert-batch" || args[0] == "convert"))
    return child(args[0], std::vector<std::string>(args.begin() + 1, args.end()));

  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) throw std::invalid_argument(args[i] + " needs a value");
      return args[++i];
    };
    if (args[i] == "--seed")
      o.seed = std::stoull(value());
    else if (args[i] == "--work")
      o.work = fs::absolute(value());
    else if (args[i] == "--disk") {
      std::string d = value();
      o.disk = d == "none" ? fs::path() : fs::absolute(d);
    } else if (args[i] == "--packs")
      o.packs = std::stoi(value());
    else if (args[i] == "--big-mb")
      o.big_mb = std::stoi(value());
    else if (args[i] == "--singles")
      o.singles = std::stoi(value());
    else if (args[i] == "--jobs")
      o.jobs = std::clamp<std::size_t>(std::stoul(value()), 1, app::kMaxJobs);
    else if (args[i] == "--keep")
      o.keep = true;
    else if (args[i] == "--singles-only")
      o.singles_only = true;
    else if (args[i] == "--repeat")
      o.repeat = std::max(1, std::stoi(value()));
    else {
      std::fprintf(stderr,
                   "usage: tolvex-bench [--seed N] [--work DIR] [--disk DIR|none] [--packs N] [--big-mb N] "
                   "[--singles N] [--jobs N] [--repeat N] [--singles-only] [--keep]\n");
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
