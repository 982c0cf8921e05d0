#include "core/journal.h"

#include "core/record.h"
#include "runtime/codepage.h"

namespace tolvex::core {

using namespace runtime::literals;

Journal::Journal() { file_.set_flush_each_line(true); }

void Journal::journal_line(std::string_view text) {
  if (text.size() > kLineWidth) text = text.substr(0, kLineWidth);
  file_.add(text);
}

void Journal::journal_result(int code, std::string_view text, std::string_view name) {
  std::string line = std::to_string(code);
  line.append(text);
  line.append(trim_right(name));
  journal_line(line);
}

void Journal::start(std::string_view today) {
  file_.empty();
  std::string header("Журнал конвертации пачек 4 формата ПФР в 7 формат "_w);
  header.append(today);
  journal_line(header);
  journal_line("");
}

}  // namespace tolvex::core
