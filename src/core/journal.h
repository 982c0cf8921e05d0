// The conversion journal "Report/tolvex.log": one line per event of the run, Windows-1251,
// each line cut at 255 characters and written at once.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "runtime/text_file.h"

namespace tolvex::core {

class Journal {
 public:
  static constexpr std::size_t kLineWidth = 255;

  Journal();
  runtime::LineWriter& file() { return file_; }

  // Appends one line (cut at 255 characters, trailing blanks removed). A control character
  // of the text (a CR or LF in a pack name or a pack line) is written as "?", so that every
  // line of the journal is one event. A line that cannot be written ends the program.
  void journal_line(std::string_view text);
  // The result code of the last file operation, then the text, then the name without
  // trailing blanks: "0 Создали /out/PFR-...XML".
  void journal_result(int code, std::string_view text, std::string_view name);

  // Empties the journal and writes its header line with today's date and an empty line.
  void start(std::string_view today_dd_mm_yyyy);

  // Told the runtime code when a write fails, before the program ends (the start of the
  // program shows a box there). The program then ends with core::ProgramEnd, exit status 3;
  // lines after that are not written.
  void on_write_failure(std::function<void(int code)> report) { report_ = std::move(report); }

 private:
  void write_failed(int code);

  runtime::LineWriter file_;
  std::function<void(int)> report_;
  bool failed_ = false;
};

}  // namespace tolvex::core
