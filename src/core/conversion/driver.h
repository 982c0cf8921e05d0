// SPDX-License-Identifier: MIT
// The shared run of every converter: automatically (batch: all announced documents), or
// interactively (the first document at once, then one per "Следующая", the rest on "&OK",
// nothing more on "Отмена"), with the document counter and the journal lines of each kind. The
// interactive run waits for nothing: the front end presses the buttons of a DocumentRun.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "core/conversion/clock.h"
#include "core/conversion/converter.h"

namespace tolvex::core {

// How a pack's documents are run: in batch_mode all of them without waiting, interactively under
// the operator's buttons.
enum class RunMode { batch_mode, interactive };

// How the run of a pack's documents ended.
enum class DocumentsEnd {
  // The documents were converted until the announced count, the end of the pack or the
  // operator's "Отмена" (nothing more is to be said of them).
  done,
  // The announced documents were all converted and the pack holds another document line after
  // them (more documents than KOL_DOK says, or a KOL_DOK that is not a number): those are not
  // converted.
  documents_left_out,
  ended_inside_document,  // the pack ended inside a document's lines
  read_failed,            // a read of the pack failed: told in the journal and a stop box
  // A document ended at a depth other than 0: its elements were left open, so the output from it
  // on is not well-formed. The run stopped after reporting it.
  unbalanced_document,
};

struct [[nodiscard]] DriverOutcome {
  long long documents_written = 0;
  DocumentsEnd end = DocumentsEnd::done;
  // Whether the output file can be trusted: every document written was closed.
  bool trusted() const { return end != DocumentsEnd::unbalanced_document; }
};

class ConverterDriver {
 public:
  // `kind` is the row the converter was made from.
  ConverterDriver(Converter& converter, const DocumentKind& kind, PackReader& pack, XmlWriter& xml, Journal& journal,
                  Operator& op, Clock& clock);

  // Batch: every announced document without waiting. The pack is positioned after its header.
  DriverOutcome run_automatic();
  // The one-pack window: the first document; waiting() tells whether the converter window opens
  // on it.
  void start_interactive();
  // A button of the converter window (see DocumentRun::press).
  void press(ConverterAction action);
  // The converter window is open and waits for a button.
  bool waiting() const { return waiting_; }
  // What the converter window shows of the current document now.
  ConverterView view();
  const DriverOutcome& outcome() const { return outcome_; }
  const RunRules& rules() const { return rules_; }

  long long counter() const { return counter_; }

 private:
  enum class Step { written, stop };
  // Whether a document's counter line is journaled before it is read or after it is written.
  enum class CounterLine { before_document, after_document };
  // How the counter is written: three digits ("007") or plain ("7").
  enum class CounterDigits { three, plain };
  Step convert_one(RunMode mode, CounterLine when, CounterDigits digits);
  // False when the run stopped before the count.
  [[nodiscard]] bool run_remaining(RunMode mode, long long count);
  // After the announced documents: another document line is journaled as left out.
  void check_left_out();
  void counter_line(CounterDigits digits);
  void time_line(std::string_view prefix, std::string_view suffix);

  Converter& conv_;
  const DocumentKind& kind_;
  PackReader& pack_;
  XmlWriter& xml_;
  Journal& journal_;
  Operator& op_;
  Clock& clock_;
  RunRules rules_;
  long long counter_ = 0;
  ClockTime started_{};
  DriverOutcome outcome_;
  bool waiting_ = false;
};

// The documents of a pack under a person's buttons (the converter window of the one-pack
// conversion). Once made, it has converted the first document; while it waits, the front end
// shows view() in the converter window and passes each button pressed to press(). Nothing here
// waits for the window; boxes are shown through the operator as the documents meet them.
class DocumentRun {
 public:
  // Opens the pack through the checked opening, passes over its header and converts the first
  // document with the converter made from the row `kind`. A kind answered with a message shows
  // it, and the run does not wait.
  DocumentRun(Converter& converter, const DocumentKind& kind, const std::filesystem::path& pack_path, XmlWriter& xml,
              Journal& journal, Operator& op, Clock& clock);
  ~DocumentRun();
  DocumentRun(const DocumentRun&) = delete;
  DocumentRun& operator=(const DocumentRun&) = delete;

  // The converter window is open on a document and waits for a button.
  bool waiting() const { return driver_ && driver_->waiting(); }
  // The window has "Следующая" and "Отмена" beside "&OK" (a one-document kind has "&OK" alone).
  bool offers_next() const;
  // What the window shows now.
  ConverterView view() { return driver_->view(); }
  // "Следующая" converts one more document and, unless the run stops there, waits again; "&OK"
  // converts the remaining announced ones (progress through the operator); "Отмена" converts
  // nothing more. Where "&OK" is the only button, every button closes the window. The pack is
  // closed once the run no longer waits.
  void press(ConverterAction action);
  // What closing the window by its frame means: "Отмена", or "&OK" where that is the only button.
  ConverterAction frame_closing() const { return offers_next() ? ConverterAction::cancel : ConverterAction::ok; }

  const DriverOutcome& outcome() const;

 private:
  PackReader pack_;
  DriverOutcome no_run_;  // the outcome when no document was read (the header could not be passed)
  std::optional<ConverterDriver> driver_;
};

// Opens the pack through the checked opening, passes over its header, runs the converter made
// from the row `kind` in batch_mode, and closes the pack. A kind answered with a message shows it
// and returns.
DriverOutcome run_converter(Converter& converter, const DocumentKind& kind, const std::filesystem::path& pack_path,
                            XmlWriter& xml, Journal& journal, Operator& op, Clock& clock);
// The same on a pack already open and positioned after its header (the batch reads a pack once);
// the pack is left open.
DriverOutcome run_converter(Converter& converter, const DocumentKind& kind, PackReader& pack, XmlWriter& xml,
                            Journal& journal, Operator& op, Clock& clock);

}  // namespace tolvex::core
