// SPDX-License-Identifier: MIT
// tolvex-cli: the console front end. It parses its options and hands paths, settings and a
// console operator to the library; the program folder is the current directory.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/document_kinds.h"
#include "app/process.h"
#include "app/startup.h"
#include "cli/console_operator.h"
#include "core/one_pack.h"
#include "runtime/files.h"
#include "runtime/paths.h"
#include "runtime/platform.h"

namespace fs = std::filesystem;
using namespace tolvex;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitSomeFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitProgramEnd = 3;

// A path given on the command line.
fs::path argument_path(const std::string& arg) {
  std::string utf8 = runtime::console_to_utf8(arg);
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// The folder options are held as Windows-1251 text, as the settings hold them.
std::string folder_setting(const std::string& arg) {
  return runtime::with_separator(runtime::path_to_ansi(fs::absolute(argument_path(arg))));
}

void say(const std::string& ansi) { runtime::write_console(stderr, "tolvex-cli: " + runtime::printable(ansi) + "\n"); }

// The document kinds the help lists after the options: the pack's document-type code and the
// form, Windows-1251.
std::string kinds_help() {
  std::string text = "Document kinds (DOKT:TYP_DOK, form):\n";
  for (const auto& k : app::document_kinds()) {
    std::string line = "  " + std::string(k.code) + "  " + std::string(k.form_name);
    if (!k.converted()) {
      line.resize(std::max<std::size_t>(line.size(), 15), ' ');  // under the longest form name
      line += "  recognised, not converted";
    }
    text += line + "\n";
  }
  return text;
}

// One pack's line: its name and what became of it. `taken_by`: the pack whose XML this run had
// already given the PFR name of this one's.
void say_outcome(const fs::path& pack, core::PackOutcome o, const std::string& form, bool link = false,
                 const std::string& taken_by = {}) {
  std::string what;
  switch (o) {
    case core::PackOutcome::converted:
      what = "converted";
      break;
    case core::PackOutcome::not_converted:
      what = "not converted (" + form + ": kind not converted, XML frame only)";
      break;
    case core::PackOutcome::rejected:
      what = link ? "rejected (a link in the input folder, not read)" : "rejected (not a format-4 pack)";
      break;
    case core::PackOutcome::no_output:
      what = taken_by.empty() ? "failed (the XML file could not be written)"
                              : "failed (its XML file's name was taken by " + taken_by + " in this run: not written)";
      break;
    case core::PackOutcome::no_pack:
      what = "failed (no pack named)";
      break;
  }
  say(runtime::path_to_ansi(pack) + ": " + what);
}

// A rejected pack or one whose XML file was not written makes the exit status 1.
bool failed(core::PackOutcome o) { return o != core::PackOutcome::converted && o != core::PackOutcome::not_converted; }

}  // namespace

int main(int argc, char** argv) {
  runtime::start_process();
  CLI::App cli{"Converts pension-fund packs of format 4 (code page 866) into format-7 XML files (Windows-1251)."};
  cli.set_version_flag("--version", std::string("tolvex-cli ") + TOLVEX_VERSION);
  cli.require_subcommand(1);
  bool quiet = false;
  cli.add_flag("-q,--quiet", quiet, "Do not show the progress of a batch");

  bool list_all = false;
  const char* list_help = "Name every pack with its outcome, the converted ones too";
  std::string out_dir;
  std::vector<std::string> packs;
  auto* convert = cli.add_subcommand("convert", "Convert the packs named, each into its own XML file");
  convert->add_option("--out", out_dir, "Output directory for this run (the settings keep theirs)");
  convert->add_flag("-l,--list", list_all, list_help);
  convert->add_option("PACK", packs, "Pack files of format 4")->required();

  std::string in_dir, batch_out;
  std::size_t jobs = app::default_jobs();
  auto* batch = cli.add_subcommand("batch", "Convert every pack of the input directory, then archive");
  batch->add_option("--in", in_dir, "Input directory for this run")->check(CLI::ExistingDirectory);
  batch->add_option("--out", batch_out, "Output directory for this run");
  batch->add_flag("-l,--list", list_all, list_help);
  batch
      ->add_option("-j,--jobs", jobs,
                   "Packs converted at once (default: one per processor); the journal, the messages and the files are "
                   "those of one at a time")
      ->check(CLI::Range(std::size_t{1}, app::kMaxJobs));

  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int rc = cli.exit(e);
    if (dynamic_cast<const CLI::CallForHelp*>(&e) || dynamic_cast<const CLI::CallForAllHelp*>(&e)) {
      runtime::write_console(stdout, kinds_help());
    }
    return rc == 0 ? kExitOk : kExitUsage;
  }

  cli::ConsoleOperator op(stderr, !quiet);
  core::SystemClock clock;
  app::ProcessRunner programs;
  try {
    app::Program program(fs::current_path(), op, clock, programs);
    core::Session& s = program.session();
    bool all_ok = true;
    if (*convert) {
      if (!out_dir.empty()) s.settings.path_out7 = folder_setting(out_dir);
      // The packs named are one run: none is replaced by another's XML, no PFR name given twice.
      core::RunFiles files;
      for (const auto& p : packs) files.packs.push_back(runtime::identity_at(fs::absolute(argument_path(p))));
      s.run = &files;
      for (std::size_t i = 0; i < packs.size(); ++i) {
        fs::path pack = fs::absolute(argument_path(packs[i]));
        if (packs.size() > 1) op.progress(i + 1, packs.size(), pack);
        core::PackOutcome o = app::convert_pack(s, program.pack_state(), pack);
        if (failed(o)) all_ok = false;
        if (list_all || o != core::PackOutcome::converted)
          say_outcome(pack, o, app::form_of_last_pack(s, program.pack_state()), false, files.name_taken_by);
        files.name_taken_by.clear();
      }
      s.run = nullptr;
    } else if (*batch) {
      if (!in_dir.empty()) s.settings.path_in4 = folder_setting(in_dir);
      if (!batch_out.empty()) s.settings.path_out7 = folder_setting(batch_out);
      app::BatchRun run(s, program.pack_state());
      run.set_jobs(jobs);
      run.set_wait_for_archiver(true);
      app::BatchSummary sum = run.run();
      if (sum.folder_error != 0) all_ok = false;
      if (sum.archive_status != 0) {
        say("archiving into " + sum.archive + " failed: the archiver ended with exit status " +
            std::to_string(sum.archive_status));
        all_ok = false;
      }
      say(std::to_string(sum.packs) + (sum.packs == 1 ? " pack: " : " packs: ") + std::to_string(sum.converted) +
          " converted, " + std::to_string(sum.not_converted) + " not converted, " + std::to_string(sum.rejected) +
          " rejected, " + std::to_string(sum.failed) + " failed");
      for (const auto& r : sum.results) {
        if (failed(r.outcome)) all_ok = false;
        if (list_all || r.outcome != core::PackOutcome::converted)
          say_outcome(r.pack, r.outcome, r.form, r.link, r.name_taken_by);
      }
    }
    // A standard stream that could not be written (a pipe whose reader has gone): what the
    // program had to say did not all arrive, which the exit status tells.
    if (std::fflush(stdout) != 0 || std::ferror(stdout) || std::ferror(stderr)) all_ok = false;
    return all_ok ? kExitOk : kExitSomeFailed;
  } catch (const core::ProgramEnd& end) {
    say(end.text());
    return kExitProgramEnd;
  }
}
