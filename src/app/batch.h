// The batch conversion (all_pch): every pack file of the input directory, one XML file each,
// then the archiver and, when so set, the XML checker.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/one_pack.h"

namespace tolvex::app {

struct BatchResult {
  std::filesystem::path pack;
  core::PackOutcome outcome;
};

struct BatchSummary {
  std::size_t packs = 0;
  std::size_t converted = 0;
  std::vector<BatchResult> results;  // in the order converted
  // The code why the input folder could not be listed; nothing was converted or archived then.
  int folder_error = 0;
};

// The regular files of a directory, in file-name order; subdirectories are not packs. When the
// directory cannot be listed the list is empty and `error` gets the runtime code.
std::vector<std::filesystem::path> list_packs(const std::filesystem::path& dir, int* error = nullptr);

class BatchRun {
 public:
  BatchRun(core::Session& session, core::PackState& pack_state) : s_(session), p_(pack_state) {}

  // The "..." buttons: folder dialogs; false when cancelled.
  bool choose_input_folder();
  bool choose_output_folder();

  // "&OK": converts every pack of path_in4 into path_out7, in batch_mode.
  BatchSummary run();

 private:
  core::Session& s_;
  core::PackState& p_;
};

}  // namespace tolvex::app
