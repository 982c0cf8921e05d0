// SPDX-License-Identifier: MIT
// One pack of a batch converted ahead of its turn, on a thread of its own: what it tells the
// journal and the operator is recorded in order, together with the steps that wait for the packs
// before it (the previous output's name, whether the PFR name is new, the XML taking its name).
// When the pack's turn comes, the record is played back into the journal and to the operator and
// the waiting steps are done, so that the journal, the messages and the files are exactly those
// of converting the packs one after another.
#pragma once

#include <atomic>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/journal.h"
#include "core/one_pack.h"
#include "core/operator.h"

namespace tolvex::core {

class PackAhead : private Journal, private Operator, private PackTurn {
 public:
  // How far the conversion of the pack's documents has come, readable from any thread.
  struct Documents {
    std::atomic<long long> done{0}, announced{0};
  };

  // `answers`: the operator whose boxes these are; only its answer_at_once is asked here.
  // `documents`, when given, is kept up to date while the pack is converted.
  explicit PackAhead(const Operator& answers, Documents* documents = nullptr);
  ~PackAhead() override;

  // Converts the pack as the batch does (on any thread), with the settings and services of
  // `session` but a journal, an operator and a pack state of its own. Nothing the conversion
  // throws leaves here: it is thrown again when the pack's turn comes.
  void convert(const Session& session, const std::filesystem::path& pack);

  // A box of the pack needed an answer that only a person can give: nothing of the pack is
  // kept (its file is removed), and the pack is to be converted in its turn.
  bool given_back() const { return given_back_; }

  // The pack's turn (on the thread that owns the journal and the operator of `session`): the
  // recorded lines and boxes in order, the waiting steps done now, and `state` left as
  // converting the pack in turn leaves it. Throws what the conversion threw, once its lines are
  // played back.
  PackOutcome play_back(Session& session, PackState& state);

 private:
  struct Event {
    enum Kind { line, box, previous_output, output_created, publish };
    Kind kind;
    std::string text;  // the line; the output's full name
    MessageBox shown;  // the box
    int code = 0;      // publish: the result of finishing the file; output_created: 1 when the name was taken
  };

  // What the conversion tells the journal and the operator.
  void journal_line(std::string_view text) override;
  Button message(const MessageBox& box) override;
  std::optional<std::filesystem::path> choose_file(std::string_view, std::string_view,
                                                   const std::filesystem::path&) override;
  std::optional<std::filesystem::path> choose_folder(std::string_view, const std::filesystem::path&) override;
  void documents_progress(long long done, long long announced) override;

  // The steps that wait for the packs before: recorded; a finished file waits for its name.
  void close_previous_output() override;
  void output_created(const std::string& full_name, bool existed) override;
  int publish(OutputFile& out) override;

  const Operator* answers_;
  Documents* documents_;
  std::vector<Event> events_;
  std::unique_ptr<PackState> state_;
  PackOutcome outcome_ = PackOutcome::no_pack;
  std::exception_ptr failure_;
  bool given_back_ = false;
  bool output_made_ = false;  // the pack came as far as making its output file
};

}  // namespace tolvex::core
