// SPDX-License-Identifier: MIT
// tolvex-cli: the console front end. It parses its options and hands paths, settings and a
// console operator to the library; the program folder is the current directory.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/document_kinds.h"
#include "app/process.h"
#include "app/startup.h"
#include "cli/console_operator.h"
#include "cli/texts.h"
#include "core/conversion/one_pack.h"
#include "runtime/codepage.h"
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
  std::string text = _("Document kinds (DOKT:TYP_DOK, form):") + "\n";
  for (const auto& k : app::document_kinds()) {
    std::string line = "  " + std::string(k.code) + "  " + std::string(k.form_name);
    if (!k.converted()) {
      line.resize(std::max<std::size_t>(line.size(), 15), ' ');  // under the longest form name
      line += "  " + _("recognised, not converted");
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
      what = _("converted");
      break;
    case core::PackOutcome::documents_left_out:
      what = _("converted, documents left out (the pack holds more documents than its KOL_DOK announces)");
      break;
    case core::PackOutcome::not_converted:
      what = cli::text("not converted (%1: kind not converted, XML frame only)", {form});
      break;
    case core::PackOutcome::rejected:
      what = link ? _("rejected (a link in the input folder, not read)") : _("rejected (not a format-4 pack)");
      break;
    case core::PackOutcome::unreadable:
      what = _("failed (the pack could not be opened or read)");
      break;
    case core::PackOutcome::no_output:
      what = taken_by.empty()
                 ? _("failed (the XML file could not be written)")
                 : cli::text("failed (its XML file's name was taken by %1 in this run: not written)", {taken_by});
      break;
    case core::PackOutcome::no_pack:
      what = _("failed (no pack named)");
      break;
  }
  say(runtime::path_to_ansi(pack) + ": " + what);
}

// A rejected pack, one whose XML file was not written or one with documents left out makes the
// exit status 1.
bool failed(core::PackOutcome o) { return o != core::PackOutcome::converted && o != core::PackOutcome::not_converted; }

// A usage error in the user's language, with what CLI11 tells of the option concerned.
std::string usage_error(const CLI::ParseError& e) {
  std::string what = e.what();
  std::size_t colon = what.find(": ");
  std::string detail = colon == std::string::npos ? what : what.substr(colon + 2);
  if (dynamic_cast<const CLI::ExtrasError*>(&e)) return cli::text("unexpected argument: %1", {detail});
  if (dynamic_cast<const CLI::RequiredError*>(&e)) {
    if (what.find("subcommand") != std::string::npos) return _("a command is needed: convert or batch");
    if (what.find("PACK") != std::string::npos) return _("no pack named");
  }
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) && colon != std::string::npos)
    return cli::text("%1 needs a value", {what.substr(0, colon)});
  return runtime::utf8_to_ansi(what);  // the validators' texts below are translated already
}

// The options' checks, with their texts in the user's language.
CLI::Validator existing_folder() {
  return CLI::Validator(
      [](std::string& arg) {
        std::error_code ec;
        return fs::is_directory(argument_path(arg), ec) ? std::string() : U_("no such folder: ") + arg;
      },
      "");
}

CLI::Validator jobs_range() {
  return CLI::Validator(
      [](std::string& arg) {
        std::size_t n = 0;
        bool number = !arg.empty() && arg.find_first_not_of("0123456789") == std::string::npos && arg.size() < 4;
        if (number) n = std::stoul(arg);
        return number && n >= 1 && n <= app::kMaxJobs ? std::string() : U_("from 1 to 64 packs at once, not ") + arg;
      },
      "");
}

}  // namespace

int main(int argc, char** argv) {
  runtime::start_process();
  cli::choose_language();
  CLI::App cli{U_("Converts pension-fund packs of format 4 (code page 866) into format-7 XML files (Windows-1251).")};
  for (const char* label : {N_("Usage"), N_("OPTIONS"), N_("SUBCOMMAND"), N_("Positionals"), N_("REQUIRED")})
    cli.get_formatter()->label(label, U_(label));
  cli.get_formatter()->column_width(32);
  cli.option_defaults()->group(U_("Options"));
  cli.set_help_flag("-h,--help", U_("Show this help and exit"));
  cli.set_version_flag("--version", std::string("tolvex-cli ") + TOLVEX_VERSION, U_("Show the version and exit"));
  cli.require_subcommand(1);
  bool quiet = false;
  cli.add_flag("-q,--quiet", quiet, U_("Do not show the progress of a batch"));

  bool list_all = false;
  const std::string list_help = U_("Name every pack with its outcome, the converted ones too");
  std::string out_dir;
  std::vector<std::string> packs;
  auto* convert = cli.add_subcommand("convert", U_("Convert the packs named, each into its own XML file"));
  convert->add_option("--out", out_dir, U_("Output directory for this run (the settings keep theirs)"))
      ->type_name("DIR");
  convert->add_flag("-l,--list", list_all, list_help);
  convert->add_option("PACK", packs, U_("Pack files of format 4"))->required()->type_name("");

  std::string in_dir, batch_out;
  std::size_t jobs = app::default_jobs();
  auto* batch = cli.add_subcommand("batch", U_("Convert every pack of the input directory, then archive"));
  batch->add_option("--in", in_dir, U_("Input directory for this run"))->check(existing_folder())->type_name("DIR");
  batch->add_option("--out", batch_out, U_("Output directory for this run"))->type_name("DIR");
  batch->add_flag("-l,--list", list_all, list_help);
  batch
      ->add_option("-j,--jobs", jobs,
                   U_("Packs converted at once (default: one per processor); the journal, the messages and the files "
                      "are those of one at a time"))
      ->check(jobs_range())
      ->type_name("N");
  for (CLI::App* sub : {convert, batch}) {
    sub->group(U_("Commands"));
    sub->get_help_ptr()->group(U_("Options"));
  }

  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    std::ostringstream out, err;
    if (cli.exit(e, out, err) != 0) {
      say(usage_error(e));
      say(_("\"tolvex-cli --help\" lists the commands and options"));
      return kExitUsage;
    }
    runtime::write_console(stdout, runtime::utf8_to_ansi(out.str()));
    if (dynamic_cast<const CLI::CallForHelp*>(&e) || dynamic_cast<const CLI::CallForAllHelp*>(&e)) {
      runtime::write_console(stdout, kinds_help());
    }
    return kExitOk;
  }

  cli::ConsoleOperator op(stderr, !quiet);
  core::SystemClock clock;
  app::ProcessRunner programs;
  try {
    app::Program program(app::current_folder(op), op, clock, programs);
    core::Session& s = program.session();
    bool all_ok = true;
    if (*convert) {
      if (!out_dir.empty()) s.settings.output_folder = folder_setting(out_dir);
      // The packs named are one run: none is replaced by another's XML, no PFR name given twice.
      core::RunFiles files;
      for (const auto& p : packs) files.packs.push_back(runtime::identity_at(fs::absolute(argument_path(p))));
      files.output.hold(runtime::ansi_to_path(runtime::with_separator(s.settings.output_folder)));
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
      if (!in_dir.empty()) s.settings.input_folder = folder_setting(in_dir);
      if (!batch_out.empty()) s.settings.output_folder = folder_setting(batch_out);
      app::BatchRun run(s, program.pack_state());
      run.set_jobs(jobs);
      run.set_wait_for_archiver(true);
      app::BatchSummary sum = run.run();
      if (sum.folder_error != runtime::Error::ok) all_ok = false;
      if (sum.archive_status != 0) {
        say(cli::text("archiving into %1 failed: the archiver ended with exit status %2",
                      {sum.archive, std::to_string(sum.archive_status)}));
        all_ok = false;
      }
      const char* counts = sum.packs == 1 ? N_("%1 pack: %2 converted, %3 converted with documents left out, %4 not "
                                               "converted, %5 rejected, %6 failed")
                                          : N_("%1 packs: %2 converted, %3 converted with documents left out, %4 not "
                                               "converted, %5 rejected, %6 failed");
      say(cli::text(counts,
                    {std::to_string(sum.packs), std::to_string(sum.converted), std::to_string(sum.documents_left_out),
                     std::to_string(sum.not_converted), std::to_string(sum.rejected), std::to_string(sum.failed)}));
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
