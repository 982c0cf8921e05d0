// SPDX-License-Identifier: MIT
#include "core/conversion/pack_report.h"

#include "runtime/codepage.h"
#include "runtime/file_error.h"
#include "runtime/paths.h"

namespace tolvex::core {

using namespace runtime::literals;

namespace {

// Thrown through the conversion when a box needs a person's answer: the pack waits for its turn.
struct NeedsAPerson {};

// The journal and the operator, as the conversion of one pack meets them: written into its report
// (where the conversion also writes the steps that wait for the packs before).
class Recorder : private Journal, private Operator {
 public:
  Recorder(PackReport& report, bool answers_by_rule, DocumentsDone* documents)
      : r_(report), by_rule_(answers_by_rule), documents_(documents) {}

  void convert(const Session& session, const std::filesystem::path& pack, bool write_behind) {
    Session own(session.ini, *this, *this, session.clock, session.programs, session.kinds, session.program_folder);
    own.today = session.today;
    own.settings = session.settings;
    own.run = session.run;  // its packs only are read here, fixed before the batch starts
    r_.state = std::make_unique<PackState>();
    r_.state->out.set_write_behind(write_behind);
    try {
      r_.outcome = OnePackConversion(own, *r_.state, &r_).convert_all_documents(pack);
    } catch (const NeedsAPerson&) {
      r_.needs_a_person = true;
      r_.entries.clear();
      r_.state.reset();  // its file is removed
    } catch (...) {
      r_.failure = std::current_exception();
    }
  }

 private:
  void add(PackReport::Entry::Kind kind, std::string text = {}) { r_.entries.push_back({kind, std::move(text)}); }

  void journal_line(std::string_view text) override { add(PackReport::Entry::line, std::string(text)); }

  Button message(const MessageBox& box) override {
    if (!by_rule_) throw NeedsAPerson{};
    Button answer = rule_answer(box);
    r_.entries.push_back({PackReport::Entry::box, {}, box, answer});
    return answer;
  }
  std::optional<std::filesystem::path> choose_file(std::string_view, std::string_view,
                                                   const std::filesystem::path&) override {
    throw NeedsAPerson{};
  }
  std::optional<std::filesystem::path> choose_folder(std::string_view, const std::filesystem::path&) override {
    throw NeedsAPerson{};
  }
  void documents_progress(long long done, long long announced) override {
    if (!documents_) return;
    documents_->announced.store(announced, std::memory_order_relaxed);
    documents_->done.store(done, std::memory_order_relaxed);
  }

  PackReport& r_;
  bool by_rule_;
  DocumentsDone* documents_;
};

}  // namespace

PackReport convert_unattended(const Session& session, const std::filesystem::path& pack, DocumentsDone* documents,
                              bool write_behind) {
  PackReport report;
  Recorder(report, session.op.answers_by_rule(), documents).convert(session, pack, write_behind);
  return report;
}

PackOutcome play(PackReport& report, Session& session, PackState& state) {
  Journal& journal = session.journal;
  PackOutcome outcome = report.outcome;
  Journal::Holding held(journal);
  for (const PackReport::Entry& e : report.entries) {
    switch (e.kind) {
      case PackReport::Entry::line:
        journal.journal_line(e.text);
        break;
      case PackReport::Entry::box:
        session.op.message(e.shown);
        break;
      case PackReport::Entry::previous_output:
        if (!state.output_full_name.empty()) {
          runtime::Error rc = state.out.close(false);
          journal.journal_result(rc, " Зак.стар."_w, state.output_full_name);
        }
        break;
      case PackReport::Entry::output_created:
        // Converted in its turn, the look made then stands; ahead of it, a pack before may have
        // given the name since.
        if (!e.name_existed &&
            (report.in_turn ||
             !OutputFile::name_taken(runtime::ansi_to_path(e.text), session.run ? &session.run->output : nullptr)))
          journal.journal_result(runtime::Error::ok, " Создали "_w, e.text);
        break;
      case PackReport::Entry::publish: {
        // Every line of the pack is written before its XML has its name.
        held.write();
        runtime::Error rc = e.code;
        if (rc == runtime::Error::ok && session.run &&
            !session.run->take_name(journal, report.state->output_full_name,
                                    runtime::path_to_ansi(report.state->pack))) {
          // Refused and journaled: the file is given up (removed), whatever its last write did.
          static_cast<void>(report.state->out.close(false));
          outcome = PackOutcome::no_output;
          break;
        }
        if (rc == runtime::Error::ok) rc = report.state->out.publish();
        journal.journal_result(rc, " Закрыли в конце "_w, report.state->output_full_name);
        if (rc != runtime::Error::ok) outcome = PackOutcome::no_output;
        break;
      }
    }
  }
  // The pack state is the one converting this pack in its turn leaves behind.
  if (report.state) {
    state.header = report.state->header;
    state.pack = report.state->pack;
    if (report.state->kind) state.kind = report.state->kind;
    if (report.output_made) state.output_full_name = report.state->output_full_name;
  }
  if (report.failure) std::rethrow_exception(report.failure);
  held.write();
  return outcome;
}

}  // namespace tolvex::core
