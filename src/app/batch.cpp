// SPDX-License-Identifier: MIT
#include "app/batch.h"

#include <algorithm>
#include <memory>
#include <system_error>
#include <thread>
#include <utility>

#include "core/conversion/messages.h"
#include "runtime/codepage.h"
#include "runtime/file_error.h"
#include "runtime/files.h"
#include "runtime/paths.h"
#include "runtime/staged_file.h"

namespace tolvex::app {

using namespace runtime::literals;

namespace {

// In the order of their names in the folder (each name taken once, not at each comparison).
void sort_by_name(std::vector<std::filesystem::path>& entries) {
  std::vector<std::pair<std::filesystem::path::string_type, std::size_t>> names;
  names.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) names.emplace_back(entries[i].filename().native(), i);
  std::sort(names.begin(), names.end());
  std::vector<std::filesystem::path> sorted;
  sorted.reserve(entries.size());
  for (const auto& n : names) sorted.push_back(std::move(entries[n.second]));
  entries = std::move(sorted);
}

}  // namespace

std::vector<std::filesystem::path> list_packs(const std::filesystem::path& dir, runtime::Error* error,
                                              std::vector<std::filesystem::path>* links) {
  std::vector<std::filesystem::path> out, planted;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code e2;
    if (it->is_symlink(e2))
      planted.push_back(it->path());
    else if (it->is_regular_file(e2))
      out.push_back(it->path());
  }
  if (error) {
    if (!ec)
      *error = runtime::Error::ok;
    else if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory)
      *error = runtime::Error::path_not_found;
    else if (ec == std::errc::permission_denied)
      *error = runtime::Error::access_denied;
    else
      *error = runtime::Error::stream_error;
  }
  if (ec) out.clear(), planted.clear();
  sort_by_name(out);
  sort_by_name(planted);
  if (links) *links = std::move(planted);
  return out;
}

bool BatchRun::choose_input_folder() {
  auto chosen = s_.op.choose_folder("Выбор входного каталога пачек ПФР"_w,
                                    runtime::ansi_to_path(core::trim_right(s_.settings.input_folder)));
  if (!chosen) return false;
  s_.settings.input_folder = std::string(core::trim_right(runtime::path_to_ansi(*chosen)));
  core::put_setting(s_.ini, core::Setting::input_folder, s_.settings.input_folder);
  return true;
}

bool BatchRun::choose_output_folder() {
  auto chosen = s_.op.choose_folder("Выбор выходного каталога XML"_w,
                                    runtime::ansi_to_path(core::trim_right(s_.settings.output_folder)));
  if (!chosen) return false;
  s_.settings.output_folder = std::string(core::trim_right(runtime::path_to_ansi(*chosen)));
  core::put_setting(s_.ini, core::Setting::output_folder, s_.settings.output_folder, core::KeySpelling::second);
  return true;
}

namespace {

bool is_failure(core::PackOutcome o) { return o == core::PackOutcome::no_output || o == core::PackOutcome::no_pack; }

}  // namespace

std::string form_of_last_pack(const core::Session& session, const core::PackState& pack) {
  std::string_view code = core::trim_right(pack.header.dokt["TYP_DOK"]);
  const core::DocumentKind* kind = core::find_kind(session.kinds, code);
  return std::string(kind ? kind->form_name : code);
}

std::vector<const BatchResult*> BatchSummary::of(core::PackOutcome outcome) const {
  std::vector<const BatchResult*> out;
  for (const auto& r : results)
    if (r.outcome == outcome || (is_failure(outcome) && is_failure(r.outcome))) out.push_back(&r);
  return out;
}

std::size_t default_jobs() { return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, kMaxJobs); }

std::unique_ptr<ConversionThreads> BatchRun::start_threads(const std::vector<std::filesystem::path>& packs,
                                                           const std::string& in_dir, const std::string& out_dir) {
  if (jobs_ < 2 || packs.size() < 2) return nullptr;
  // Where the output folder is the input folder, a pack's XML may take the place of a pack
  // listed after it: those packs are converted one after another.
  std::error_code ec;
  if (std::filesystem::equivalent(runtime::ansi_to_path(in_dir), runtime::ansi_to_path(out_dir), ec)) return nullptr;
  try {
    return std::make_unique<ConversionThreads>(s_, packs, jobs_);
  } catch (const std::system_error&) {
    return nullptr;  // no threads to be had: one after another
  }
}

core::PackOutcome convert_pack(core::Session& session, core::PackState& state, const std::filesystem::path& pack) {
  if (session.op.answers_by_rule()) {
    core::PackReport report = core::convert_unattended(session, pack);
    report.in_turn = true;
    if (!report.needs_a_person) return core::play(report, session, state);
  }
  return core::OnePackConversion(session, state).convert_all_documents(pack);
}

core::PackOutcome BatchRun::convert_in_turn(ConversionThreads* threads, std::size_t i,
                                            const std::filesystem::path& pack) {
  if (threads) {
    // While the pack is converted, the operator sees its documents come (and a window stays
    // responsive).
    std::unique_ptr<core::PackReport> report =
        threads->take(i, [this](long long done, long long announced) { s_.op.documents_progress(done, announced); });
    if (!report->needs_a_person) return core::play(*report, s_, p_);
    return core::OnePackConversion(s_, p_).convert_all_documents(pack);
  }
  return convert_pack(s_, p_, pack);
}

BatchSummary BatchRun::run() {
  core::Settings& st = s_.settings;
  core::ClockTime started = s_.clock.now();
  s_.journal.journal_line(std::string("Начало пакета "_w) + core::hh_mm_ss(started));

  BatchSummary summary;
  std::string in_dir = runtime::with_separator(st.input_folder);
  std::string out_dir = runtime::with_separator(st.output_folder);
  // Temporary files that a run ended by SIGKILL left (nobody alive owns them) go; the archiver
  // would pass them by, but they would stay for ever.
  runtime::remove_abandoned_temporaries(runtime::ansi_to_path(out_dir), "PFR-", ".XML");
  runtime::remove_abandoned_temporaries(runtime::ansi_to_path(s_.program_folder), "tolvex.ini", "");

  std::vector<std::filesystem::path> links;
  std::vector<std::filesystem::path> packs = list_packs(runtime::ansi_to_path(in_dir), &summary.folder_error, &links);
  if (summary.folder_error != runtime::Error::ok) {
    // Nothing to convert and nothing to archive: the folder named is not there as a folder.
    std::string text = std::string(" Не могу прочитать входной каталог "_w);
    s_.journal.journal_result(summary.folder_error, text, in_dir);
    s_.journal.journal_line(runtime::error_text(summary.folder_error));
    s_.journal.journal_line(std::string("Конец пакета "_w) + core::hh_mm_ss(s_.clock.now()));
    core::info_box(s_.op, core::kTitleMessage,
                   text.substr(1) + in_dir + ": " + runtime::error_description(summary.folder_error));
    return summary;
  }

  if (st.check_batch_packs == 1)
    for (const auto& p : packs)
      s_.programs.run_program(
          st.pack_checker,
          core::ProgramArguments().parameters(st.pack_checker_parameters).name(runtime::path_to_ansi(p)), true);

  // The entries in the order of the listing, the links among them (both lists are in that order).
  std::vector<std::pair<std::filesystem::path, bool>> entries;
  entries.reserve(packs.size() + links.size());
  for (std::size_t i = 0, j = 0; i < packs.size() || j < links.size();) {
    if (j == links.size() || (i < packs.size() && !(links[j].filename() < packs[i].filename())))
      entries.emplace_back(packs[i++], false);
    else
      entries.emplace_back(links[j++], true);
  }

  // What the run reads it never replaces, and a PFR name it gives once.
  core::RunFiles files;
  for (const auto& p : packs) files.packs.push_back(runtime::identity_at(p));
  files.output.hold(runtime::ansi_to_path(out_dir));
  struct InRun {
    core::Session& s;
    InRun(core::Session& session, core::RunFiles& f) : s(session) { s.run = &f; }
    ~InRun() { s.run = nullptr; }
  } in_run(s_, files);

  summary.packs = entries.size();
  stop_requested_ = false;
  std::unique_ptr<ConversionThreads> threads = start_threads(packs, in_dir, out_dir);
  for (std::size_t i = 0, k = 0; i < entries.size(); ++i) {
    const std::filesystem::path& entry = entries[i].first;
    if (!stop_requested_) s_.op.progress(i + 1, entries.size(), entry);
    if (stop_requested_) {
      summary.stopped = true;
      s_.journal.journal_line(std::string("Пакет остановлен оператором, обработано пачек: "_w) + std::to_string(i) +
                              std::string(" из "_w) + std::to_string(entries.size()));
      break;
    }
    if (entries[i].second) {
      // Not opened: journaled as an entry that is not a regular file.
      s_.journal.journal_line(std::string("Не могу открыть пачку "_w) + runtime::path_to_ansi(entry));
      s_.journal.journal_line(runtime::error_text(runtime::Error::not_regular_file));
      summary.results.push_back({entry, core::PackOutcome::rejected, std::string(), true, {}});
      ++summary.rejected;
      continue;
    }
    core::PackOutcome o = convert_in_turn(threads.get(), k++, entry);
    summary.results.push_back({entry, o, form_of_last_pack(s_, p_), false, std::move(files.name_taken_by)});
    files.name_taken_by.clear();
    switch (o) {
      case core::PackOutcome::converted:
        ++summary.converted;
        break;
      case core::PackOutcome::documents_left_out:
        ++summary.documents_left_out;
        break;
      case core::PackOutcome::not_converted:
        ++summary.not_converted;
        break;
      case core::PackOutcome::rejected:
        ++summary.rejected;
        break;
      case core::PackOutcome::unreadable:
      case core::PackOutcome::no_output:
      case core::PackOutcome::no_pack:
        ++summary.failed;
        break;
    }
  }
  threads.reset();

  std::string name;
  if (st.dated_archive_name == 1) {
    name = core::yymmdd_hhmm(s_.today, started);
    st.archive_name = name;
  } else {
    name = core::is_blank(st.archive_name) ? std::string("arhiv") : std::string(core::trim_right(st.archive_name));
  }
  std::string arhiv = std::string(core::trim_right(st.archive_folder)) + name;
  core::ProgramArguments args;
  args.parameters(st.archiver_parameters).name(arhiv).name(in_dir + "*.*").name(out_dir + "*.*").archive(arhiv);
  summary.archive = arhiv;
  core::ProgramResult archived = s_.programs.run_program(st.archiver, args, wait_for_archiver_);
  if (archived.failed()) {
    // The code is the archiver's exit status; what failed it has told on its error stream.
    summary.archive_status = archived.status;
    s_.journal.journal_status(archived.status, " Не архивировали "_w, arhiv);
  } else {
    s_.journal.journal_result(runtime::Error::ok, " Архивировали "_w, arhiv);
  }

  s_.journal.journal_line(std::string("Конец пакета "_w) + core::hh_mm_ss(s_.clock.now()));
  // The XML checker is given the output directory.
  if (st.check_output_xml == 1) s_.programs.run_program(st.xml_checker, core::ProgramArguments().name(out_dir), false);
  return summary;
}

}  // namespace tolvex::app
