// SPDX-License-Identifier: MIT
#include "core/pack_ahead.h"

#include "runtime/codepage.h"
#include "runtime/file_error.h"
#include "runtime/paths.h"

namespace tolvex::core {

using namespace runtime::literals;

namespace {

// Thrown through the conversion when a box needs a person's answer: the pack waits for its turn.
struct NeedsTheOperator {};

}  // namespace

PackAhead::PackAhead(const Operator& answers, Documents* documents) : answers_(&answers), documents_(documents) {}

PackAhead::~PackAhead() = default;

void PackAhead::convert(const Session& session, const std::filesystem::path& pack) {
  Session own(session.ini, *this, *this, session.clock, session.programs, session.kinds, session.program_folder);
  own.today = session.today;
  own.settings = session.settings;
  own.run = session.run;  // its packs only are read here, fixed before the batch starts
  state_ = std::make_unique<PackState>();
  state_->out.set_write_behind(false);  // the other processors convert packs of their own
  try {
    outcome_ = OnePackConversion(own, *state_, this).convert_batch(pack);
  } catch (const NeedsTheOperator&) {
    given_back_ = true;
    events_.clear();
    state_.reset();  // its file is removed
  } catch (...) {
    failure_ = std::current_exception();
  }
}

void PackAhead::journal_line(std::string_view text) { events_.push_back({Event::line, std::string(text), {}, 0}); }

Button PackAhead::message(const MessageBox& box) {
  std::optional<Button> answer = answers_->answer_at_once(box);
  if (!answer) throw NeedsTheOperator{};
  events_.push_back({Event::box, {}, box, 0});
  return *answer;
}

std::optional<std::filesystem::path> PackAhead::choose_file(std::string_view, std::string_view,
                                                            const std::filesystem::path&) {
  throw NeedsTheOperator{};
}

std::optional<std::filesystem::path> PackAhead::choose_folder(std::string_view, const std::filesystem::path&) {
  throw NeedsTheOperator{};
}

void PackAhead::documents_progress(long long done, long long announced) {
  if (!documents_) return;
  documents_->announced.store(announced, std::memory_order_relaxed);
  documents_->done.store(done, std::memory_order_relaxed);
}

void PackAhead::close_previous_output() {
  output_made_ = true;
  events_.push_back({Event::previous_output, {}, {}, 0});
}

void PackAhead::output_created(const std::string& full_name, bool existed) {
  // A name taken now is taken in the pack's turn too (a batch never removes one); a name that is
  // free now is looked at again then: a pack before this one may give it to its XML.
  events_.push_back({Event::output_created, full_name, {}, existed ? 1 : 0});
}

int PackAhead::publish(OutputFile& out) {
  // The bytes go to the disk now, beside the other packs' work; the name waits for the turn.
  int rc = out.finish();
  out.release_buffers();
  events_.push_back({Event::publish, {}, {}, rc});
  return rc;
}

PackOutcome PackAhead::play_back(Session& session, PackState& state) {
  Journal& journal = session.journal;
  PackOutcome outcome = outcome_;
  Journal::Holding held(journal);
  for (const Event& e : events_) {
    switch (e.kind) {
      case Event::line:
        journal.journal_line(e.text);
        break;
      case Event::box:
        session.op.message(e.shown);
        break;
      case Event::previous_output:
        if (!state.output_full_name.empty()) {
          int rc = state.out.close(false);
          journal.journal_result(rc, " Зак.стар."_w, state.output_full_name);
        }
        break;
      case Event::output_created:
        if (e.code == 0 && !OutputFile::name_taken(runtime::ansi_to_path(e.text)))
          journal.journal_result(0, " Создали "_w, e.text);
        break;
      case Event::publish: {
        // Every line of the pack is written before its XML has its name.
        held.write();
        int rc = e.code;
        if (rc == 0 && session.run &&
            !session.run->take_name(journal, state_->output_full_name, runtime::path_to_ansi(state_->pack))) {
          state_->out.close(false);
          outcome = PackOutcome::no_output;
          break;
        }
        if (rc == 0) rc = state_->out.publish();
        journal.journal_result(rc, " Закрыли в конце "_w, state_->output_full_name);
        if (rc != 0) outcome = PackOutcome::no_output;
        break;
      }
    }
  }
  // The pack state is the one converting this pack in its turn leaves behind.
  state.header = state_->header;
  state.pack = state_->pack;
  if (state_->kind) state.kind = state_->kind;
  if (output_made_) state.output_full_name = state_->output_full_name;
  if (failure_) std::rethrow_exception(failure_);
  held.write();
  return outcome;
}

}  // namespace tolvex::core
