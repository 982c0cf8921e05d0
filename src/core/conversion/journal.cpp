// SPDX-License-Identifier: MIT
#include "core/conversion/journal.h"

#include <algorithm>

#include "core/conversion/operator.h"
#include "core/format4/record.h"
#include "runtime/codepage.h"
#include "runtime/platform.h"

namespace tolvex::core {

using namespace runtime::literals;

Journal::Journal() { file_.set_flush_each_line(true); }

void Journal::journal_line(std::string_view text) {
  if (failed_ || !file_.is_open()) return;  // a journal not kept (a converter tried alone)
  if (text.size() > kLineWidth) text = text.substr(0, kLineWidth);
  // A line with nothing to replace (the most) is written as it is.
  bool as_is = std::none_of(text.begin(), text.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == runtime::kNameEscape; });
  if (runtime::Error rc = as_is ? file_.add(text) : file_.add(runtime::printable(text)); rc != runtime::Error::ok)
    write_failed(rc);
}

void Journal::journal_result(runtime::Error code, std::string_view text, std::string_view name) {
  journal_status(runtime::number(code), text, name);
}

void Journal::journal_status(int status, std::string_view text, std::string_view name) {
  std::string line = std::to_string(status);
  line.append(text);
  line.append(trim_right(name));
  journal_line(line);
}

void Journal::start(std::string_view today) {
  if (!file_.is_open()) return;
  if (runtime::Error rc = file_.empty(); rc != runtime::Error::ok) write_failed(rc);
  std::string header("Журнал конвертации пачек 4 формата ПФР в 7 формат "_w);
  header.append(today);
  journal_line(header);
  journal_line("");
}

void Journal::hold() { file_.set_flush_each_line(false); }

void Journal::write_held() {
  file_.set_flush_each_line(true);
  if (failed_ || !file_.is_open()) return;
  if (runtime::Error rc = file_.flush(); rc != runtime::Error::ok) write_failed(rc);
}

void Journal::write_failed(runtime::Error code) {
  failed_ = true;
  if (report_) report_(code);
  throw ProgramEnd(std::string("Ошибка записи журнала!"_w), 3);
}

}  // namespace tolvex::core
