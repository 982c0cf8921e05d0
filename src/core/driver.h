// SPDX-License-Identifier: MIT
// The shared run of every converter: automatically (batch: all announced documents), or
// interactively (the first document at once, then one per "Следующая", the rest on "&OK",
// nothing more on "Отмена"), with the document counter and the journal lines of each kind.
#pragma once

#include <filesystem>
#include <string_view>

#include "core/clock.h"
#include "core/converter.h"

namespace tolvex::core {

// How a pack's documents are run: in batch_mode all of them without waiting, interactively under
// the operator's buttons.
enum class RunMode { batch_mode, interactive };

struct DriverOutcome {
  long long documents_written = 0;
  bool ended_inside_document = false;  // the pack ended inside a document's lines
  bool read_failed = false;
  // A document ended at a depth other than 0: its elements were left open, so the output from it
  // on is not well-formed. The run stopped after reporting it.
  bool unbalanced_document = false;
};

class ConverterDriver {
 public:
  // `kind` is the row the converter was made from.
  ConverterDriver(Converter& converter, const DocumentKind& kind, PackReader& pack, XmlWriter& xml, Journal& journal,
                  Operator& op, Clock& clock);

  // Batch: every announced document without waiting. The pack is positioned after its header.
  DriverOutcome run_automatic();
  // The one-pack window: first document, then the operator's buttons.
  DriverOutcome run_interactive();

  long long counter() const { return counter_; }

 private:
  enum class Step { written, stop };
  // Whether a document's counter line is journaled before it is read or after it is written.
  enum class CounterLine { before_document, after_document };
  // How the counter is written: three digits ("007") or plain ("7").
  enum class CounterDigits { three, plain };
  Step convert_one(RunMode mode, CounterLine when, CounterDigits digits);
  void run_remaining(RunMode mode, long long count);
  void counter_line(CounterDigits digits);
  void time_line(std::string_view prefix, std::string_view suffix);
  ConverterView view();

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
};

// Opens the pack through the checked opening, passes over its header, runs the converter made
// from the row `kind` in the mode asked for, and closes the pack. A kind answered with a message
// shows it and returns.
DriverOutcome run_converter(Converter& converter, const DocumentKind& kind, const std::filesystem::path& pack_path,
                            XmlWriter& xml, Journal& journal, Operator& op, Clock& clock, RunMode mode);
// The same on a pack already open and positioned after its header (the batch reads a pack once);
// the pack is left open.
DriverOutcome run_converter(Converter& converter, const DocumentKind& kind, PackReader& pack, XmlWriter& xml,
                            Journal& journal, Operator& op, Clock& clock, RunMode mode);

}  // namespace tolvex::core
