// SPDX-License-Identifier: MIT
// The conversion journal "Report/tolvex.log": one line per event of the run, Windows-1251,
// each line cut at 255 characters. A line is written at once, or, while a pack of a batch is
// converted, held with the pack's other lines and written with them in one write before the
// pack's XML takes its name.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "runtime/file_error.h"
#include "runtime/text_file.h"

namespace tolvex::core {

class Journal {
 public:
  static constexpr std::size_t kLineWidth = 255;

  Journal();
  virtual ~Journal() = default;
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;
  runtime::LineWriter& file() { return file_; }

  // Appends one line (cut at 255 characters, trailing blanks removed). A control character
  // of the text (a CR or LF in a pack name or a pack line) is written as "?", so that every
  // line of the journal is one event. A line that cannot be written ends the program.
  virtual void journal_line(std::string_view text);
  // The result code of the last file operation, then the text, then the name without
  // trailing blanks: "0 Создали /out/PFR-...XML".
  void journal_result(runtime::Error code, std::string_view text, std::string_view name);
  // The same with another program's exit status in the place of the code: "2 Не архивировали ...".
  void journal_status(int status, std::string_view text, std::string_view name);

  // Empties the journal and writes its header line with today's date and an empty line.
  void start(std::string_view today_dd_mm_yyyy);

  // From hold() on, lines are kept and written together by write_held(), which ends the
  // holding; a line that cannot be written ends the program there. Lines still held when the
  // journal is closed are written then.
  void hold();
  void write_held();

  // Holds the lines of one scope: a scope left by an exception writes nothing itself (the next
  // line written, or the closing of the journal, takes the held lines along).
  class [[nodiscard]] Holding {
   public:
    explicit Holding(Journal& journal) : journal_(&journal) { journal.hold(); }
    Holding(const Holding&) = delete;
    Holding& operator=(const Holding&) = delete;
    ~Holding() { journal_->file_.set_flush_each_line(true); }
    // Writes the held lines; holding goes on (a second call writes the lines since the first).
    void write() {
      journal_->write_held();
      journal_->hold();
    }

   private:
    Journal* journal_;
  };

  // Told the runtime code when a write fails, before the program ends (the start of the
  // program shows a box there). The program then ends with core::ProgramEnd, exit status 3;
  // lines after that are not written.
  void on_write_failure(std::function<void(runtime::Error code)> report) { report_ = std::move(report); }

 private:
  void write_failed(runtime::Error code);

  runtime::LineWriter file_;
  std::function<void(runtime::Error)> report_;
  bool failed_ = false;
};

}  // namespace tolvex::core
