// The conversion journal "Report/tolvex.log": one line per event of the run, Windows-1251,
// each line cut at 255 characters and written at once.
#pragma once

#include <string>
#include <string_view>

#include "runtime/text_file.h"

namespace tolvex::core {

class Journal {
 public:
  static constexpr std::size_t kLineWidth = 255;

  Journal();
  runtime::LineWriter& file() { return file_; }

  // Appends one line (cut at 255 characters, trailing blanks removed).
  void journal_line(std::string_view text);
  // The result code of the last file operation, then the text, then the name without
  // trailing blanks: "0 Создали /out/PFR-...XML".
  void journal_result(int code, std::string_view text, std::string_view name);

  // Empties the journal and writes its header line with today's date and an empty line.
  void start(std::string_view today_dd_mm_yyyy);

 private:
  runtime::LineWriter file_;
};

}  // namespace tolvex::core
