// SPDX-License-Identifier: MIT
// The batch conversion (all_pch): every pack file of the input directory, one XML file each,
// then the archiver and, when so set, the XML checker.
#pragma once

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/conversion_threads.h"
#include "core/conversion/one_pack.h"
#include "runtime/file_error.h"

namespace tolvex::app {

struct BatchResult {
  std::filesystem::path pack;
  core::PackOutcome outcome;
  std::string form;   // the form name of its documents ("СЗИ-3"), or the code when it is unknown
  bool link = false;  // a link in the input folder: rejected unread
  // Refused: the pack (Windows-1251) whose XML this run had already given the same PFR name.
  std::string name_taken_by;
};

struct BatchSummary {
  std::size_t packs = 0;               // in the input folder
  std::size_t converted = 0;           // XML file with the documents
  std::size_t documents_left_out = 0;  // XML file with the announced documents; the pack holds more
  std::size_t not_converted = 0;       // a kind answered with a message: the frame only
  std::size_t rejected = 0;            // not a format-4 pack, or a link
  std::size_t failed = 0;              // the pack could not be read, or the XML file made or written
  bool stopped = false;                // the operator stopped the batch before its last pack
  std::vector<BatchResult> results;    // in the order converted
  // The code why the input folder could not be listed; nothing was converted or archived then.
  runtime::Error folder_error = runtime::Error::ok;
  std::string archive;     // the archive's name as given to the archiver, Windows-1251
  int archive_status = 0;  // the archiver was waited for and failed: its exit status (not 0)

  // The packs of one outcome, in order (no_output and no_pack both count as failed).
  std::vector<const BatchResult*> of(core::PackOutcome outcome) const;
};

// The form name of the pack read last ("СЗИ-3"), or its document-type code when it is unknown.
std::string form_of_last_pack(const core::Session& session, const core::PackState& pack);

// The regular files of a directory, in file-name order; subdirectories are not packs, and
// neither are links (whoever can write the folder could plant one to a file the operator may
// read and they may not): those go to `links`, when given. When the directory cannot be listed
// the lists are empty and `error` gets the runtime code.
std::vector<std::filesystem::path> list_packs(const std::filesystem::path& dir, runtime::Error* error = nullptr,
                                              std::vector<std::filesystem::path>* links = nullptr);

// One pack converted as the batch converts it: where the operator answers every box by rule,
// into a report that is played at once; otherwise with the operator, in turn.
core::PackOutcome convert_pack(core::Session& session, core::PackState& state, const std::filesystem::path& pack);

// The most packs a batch converts at once.
inline constexpr std::size_t kMaxJobs = 64;

class BatchRun {
 public:
  BatchRun(core::Session& session, core::PackState& pack_state) : s_(session), p_(pack_state) {}

  // The "..." buttons: folder dialogs; false when cancelled.
  bool choose_input_folder();
  bool choose_output_folder();

  // How many packs are converted at once (1: one after another). With more, the packs are
  // converted ahead of their turn on as many threads into reports, played in the order of the
  // listing: the journal, the messages and the files are those of converting them one after
  // another. A box that only a person can answer makes its pack wait for its turn.
  void set_jobs(std::size_t jobs) { jobs_ = std::clamp<std::size_t>(jobs, 1, kMaxJobs); }
  // The archiver is waited for, and its failure journaled and kept in the summary (the console
  // program: the folders may be emptied as soon as it ends). Otherwise it runs beside the
  // program, which hears of a failure later.
  void set_wait_for_archiver(bool wait) { wait_for_archiver_ = wait; }

  // "&OK": converts every pack of path_in4 into path_out7, in batch_mode.
  [[nodiscard]] BatchSummary run();
  // Asked while the batch runs (from the progress seam): no pack is started after the current
  // one; the packs done are archived as usual.
  void request_stop() { stop_requested_ = true; }

 private:
  std::unique_ptr<ConversionThreads> start_threads(const std::vector<std::filesystem::path>& packs,
                                                   const std::string& in_dir, const std::string& out_dir);
  core::PackOutcome convert_in_turn(ConversionThreads* threads, std::size_t i, const std::filesystem::path& pack);

  core::Session& s_;
  core::PackState& p_;
  bool stop_requested_ = false;
  std::size_t jobs_ = 1;
  bool wait_for_archiver_ = false;
};

// The number of packs a batch converts at once unless told otherwise: one per processor.
std::size_t default_jobs();

}  // namespace tolvex::app
