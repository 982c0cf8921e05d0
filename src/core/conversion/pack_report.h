// SPDX-License-Identifier: MIT
// A pack converted without a person (the batch of the console, a pack converted ahead of its
// turn on a thread): its conversion returns a report of what it told the journal and the
// operator, in order, with the steps that wait for the packs before it (the previous output's
// name, whether the PFR name is new, the XML taking its name). One player writes the report to
// the journal and the operator when the pack's turn comes, so that the journal, the messages and
// the files are exactly those of converting the packs one after another.
#pragma once

#include <atomic>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/conversion/one_pack.h"
#include "core/conversion/operator.h"

namespace tolvex::core {

struct PackReport {
  struct Entry {
    enum Kind {
      line,             // a journal line
      box,              // a box, with the answer given by rule
      previous_output,  // the output of the pack before is closed and journaled
      output_created,   // the output was created under a temporary name
      publish,          // the finished output takes its PFR name
    };
    Kind kind;
    std::string text = {};  // the line; the output's full name
    MessageBox shown = {};  // the box
    Button answer = Button::ok;
    runtime::Error code = runtime::Error::ok;  // publish: the result of finishing the file
    bool name_existed = false;                 // output_created: something had the PFR name
  };

  PackOutcome outcome = PackOutcome::no_pack;
  std::vector<Entry> entries;  // in order
  // The pack's own state: its output file, written and waiting for its PFR name.
  std::unique_ptr<PackState> state;
  std::exception_ptr failure;  // what the conversion threw: thrown again when the report is played
  // A box of the pack needed an answer only a person can give: nothing of the pack is kept (its
  // file is removed), and the pack is to be converted in its turn.
  bool needs_a_person = false;
  bool output_made = false;  // the pack came as far as making its output file
  // Converted in the pack's own turn, right before it is played: nothing came between.
  bool in_turn = false;
};

// How far the conversion of a pack's documents has come, readable from any thread.
struct DocumentsDone {
  std::atomic<long long> done{0}, announced{0};
};

// Converts the pack as the batch does, on any thread, with the settings and services of
// `session` (its operator is only asked whether it answers by rule) but journaling and showing
// boxes into the report. Nothing the conversion throws leaves here. `documents`, when given, is
// kept up to date. `write_behind`: whether the output's bytes may go to the disk on a thread of
// their own (not while other packs are converted beside this one).
[[nodiscard]] PackReport convert_unattended(const Session& session, const std::filesystem::path& pack,
                                            DocumentsDone* documents = nullptr, bool write_behind = true);

// The pack's turn (on the thread that owns the journal and the operator of `session`): the lines
// and boxes of the report in order, the waiting steps done now, and `state` left as converting
// the pack in turn leaves it. Throws what the conversion threw, once its lines are written.
PackOutcome play(PackReport& report, Session& session, PackState& state);

}  // namespace tolvex::core
