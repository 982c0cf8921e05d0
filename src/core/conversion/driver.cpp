// SPDX-License-Identifier: MIT
#include "core/conversion/driver.h"

#include "core/conversion/messages.h"
#include "runtime/file_error.h"
#include "runtime/paths.h"

namespace tolvex::core {

using namespace runtime::literals;

ConverterDriver::ConverterDriver(Converter& converter, const DocumentKind& kind, PackReader& pack, XmlWriter& xml,
                                 Journal& journal, Operator& op, Clock& clock)
    : conv_(converter),
      kind_(kind),
      pack_(pack),
      xml_(xml),
      journal_(journal),
      op_(op),
      clock_(clock),
      rules_(converter.rules()) {}

void ConverterDriver::counter_line(CounterDigits digits) {
  if (rules_.single_document) return;  // that kind journals its one statement itself
  std::string line = digits == CounterDigits::three ? zero_padded(counter_, 3) : std::to_string(counter_);
  line.append(conv_.journal_text());
  journal_.journal_line(line);
}

void ConverterDriver::time_line(std::string_view prefix, std::string_view suffix) {
  started_ = clock_.now();
  std::string line(prefix);
  line += hh_mm_ss(started_);
  line.append(suffix);
  journal_.journal_line(line);
}

ConverterView ConverterDriver::view() {
  ConverterView v;
  v.procedure = std::string(kind_.procedure);
  v.title = std::string(conv_.window_title());
  if (!rules_.single_document) v.next_caption = std::string(rules_.next_caption);
  v.pages = conv_.view_pages();
  v.started = hh_mm_ss(started_);
  long long d = clock_.now().of_day() - started_.of_day();
  if (d < 0) d += 24LL * 3600 * 100;
  ClockTime e;
  e.hour = static_cast<int>(d / 360000);
  e.minute = static_cast<int>(d / 6000 % 60);
  e.second = static_cast<int>(d / 100 % 60);
  v.elapsed = hh_mm_ss(e);
  return v;
}

ConverterDriver::Step ConverterDriver::convert_one(RunMode mode, CounterLine when, CounterDigits digits) {
  if (when == CounterLine::before_document) counter_line(digits);
  ReadResult r = conv_.read_document(pack_);
  switch (r.kind) {
    case ReadResult::document:
      break;
    case ReadResult::end_of_pack:
      return Step::stop;
    case ReadResult::end_inside_document: {
      outcome_.end = DocumentsEnd::ended_inside_document;
      std::string text = std::string("Конец пачки внутри документа "_w) + std::to_string(counter_);
      journal_.journal_line(text);
      if (mode == RunMode::interactive) info_box(op_, kTitleWarning, text);
      return Step::stop;
    }
    case ReadResult::failure: {
      outcome_.end = DocumentsEnd::read_failed;
      std::string text = std::string("Не могу прочитать пачку "_w) + runtime::error_description(r.code);
      journal_.journal_line(text);
      stop_box(op_, text);
      return Step::stop;
    }
  }
  conv_.write_document(xml_);
  // Every block writer leaves the depth as it found it, so a whole document ends at 0. One that
  // does not has left its elements open: its lines cannot be trusted, and the run stops there.
  if (int depth = xml_.xml_depth(); depth != 0) {
    outcome_.end = DocumentsEnd::unbalanced_document;
    std::string text = std::string("Ошибка вложенности XML в документе "_w) + std::to_string(counter_) +
                       std::string(": глубина "_w) + std::to_string(depth);
    journal_.journal_line(text);
    stop_box(op_, text);
    return Step::stop;
  }
  ++outcome_.documents_written;
  if (when == CounterLine::after_document) counter_line(digits);
  return Step::written;
}

bool ConverterDriver::run_remaining(RunMode mode, long long count) {
  if (!rules_.single_document) time_line(rules_.run_time_prefix, {});
  const CounterLine when =
      rules_.counter_line_before_document ? CounterLine::before_document : CounterLine::after_document;
  long long announced = counter_ + count;
  for (long long i = 0; i < count; ++i) {
    ++counter_;
    if (convert_one(mode, when, CounterDigits::three) == Step::stop) return false;
    if (!rules_.single_document) op_.documents_progress(counter_, announced);
  }
  return true;
}

void ConverterDriver::check_left_out() {
  // Blank lines (an empty last line) are no documents. A read that fails here has nothing to
  // say: every announced document is converted, and only a notice of more is looked for.
  runtime::Error rc = runtime::Error::ok;
  while ((rc = pack_.read_line()) == runtime::Error::ok && is_blank(pack_.line())) {
  }
  if (rc != runtime::Error::ok) return;
  outcome_.end = DocumentsEnd::documents_left_out;
  std::string announced(trim_right(conv_.header().dokt["KOL_DOK"]));
  journal_.journal_line(std::string("Сконвертировано документов: "_w) + std::to_string(outcome_.documents_written) +
                        std::string("; остальные строки пачки не конвертированы (документов в пачке указано: "_w) +
                        announced + ")");
}

DriverOutcome ConverterDriver::run_automatic() {
  outcome_ = {};
  counter_ = 0;
  started_ = clock_.now();
  long long announced = rules_.single_document ? 1 : as_number(conv_.header().dokt["KOL_DOK"]);
  if (run_remaining(RunMode::batch_mode, announced)) check_left_out();
  return outcome_;
}

void ConverterDriver::start_interactive() {
  outcome_ = {};
  time_line({}, rules_.first_time_suffix);
  counter_ = 1;
  waiting_ = convert_one(RunMode::interactive, CounterLine::after_document, CounterDigits::plain) == Step::written;
}

void ConverterDriver::press(ConverterAction action) {
  if (!waiting_) return;
  waiting_ = false;
  if (rules_.single_document) {  // "&OK" is the only button
    check_left_out();
    return;
  }
  switch (action) {
    case ConverterAction::next:
      ++counter_;
      waiting_ = convert_one(RunMode::interactive, CounterLine::after_document,
                             rules_.next_counter_plain ? CounterDigits::plain : CounterDigits::three) == Step::written;
      break;
    case ConverterAction::ok:
      if (run_remaining(RunMode::interactive, as_number(conv_.header().dokt["KOL_DOK"]) - counter_)) check_left_out();
      break;
    case ConverterAction::cancel:
      break;
  }
}

namespace {

// Passes over the pack's header for the converter. The header stage has read it already: a pack
// that ends inside it now was cut since and has no documents; a read that fails is told as a
// failed read of a document is, with the outcome `read_failed`.
bool skip_header(PackReader& pack, Journal& journal, Operator& op, DriverOutcome& outcome) {
  runtime::Error rc = pack.skip_pack_header();
  if (rc == runtime::Error::ok) return true;
  if (rc != runtime::Error::end_of_file) {
    outcome.end = DocumentsEnd::read_failed;
    std::string text = std::string("Не могу прочитать пачку "_w) + runtime::error_description(rc);
    journal.journal_line(text);
    stop_box(op, text);
  }
  return false;
}

}  // namespace

DocumentRun::DocumentRun(Converter& converter, const DocumentKind& kind, const std::filesystem::path& pack_path,
                         XmlWriter& xml, Journal& journal, Operator& op, Clock& clock) {
  if (converter.message_only()) {
    show_warning(op, Warning::procedure_not_written, kind.procedure, {});
    return;
  }
  open_checked(op, runtime::path_to_ansi(pack_path), [&] { return pack_.open(pack_path); });
  if (skip_header(pack_, journal, op, no_run_)) {
    driver_.emplace(converter, kind, pack_, xml, journal, op, clock);
    driver_->start_interactive();
  }
  if (!waiting()) pack_.close_after_reading();
}

DocumentRun::~DocumentRun() {
  if (pack_.is_open()) pack_.close_after_reading();
}

bool DocumentRun::offers_next() const { return driver_ && !driver_->rules().single_document; }

void DocumentRun::press(ConverterAction action) {
  if (!waiting()) return;
  driver_->press(action);
  if (!waiting()) pack_.close_after_reading();
}

const DriverOutcome& DocumentRun::outcome() const { return driver_ ? driver_->outcome() : no_run_; }

DriverOutcome run_converter(Converter& converter, const DocumentKind& kind, const std::filesystem::path& pack_path,
                            XmlWriter& xml, Journal& journal, Operator& op, Clock& clock) {
  if (converter.message_only()) {
    show_warning(op, Warning::procedure_not_written, kind.procedure, {});
    return {};
  }
  PackReader pack;
  open_checked(op, runtime::path_to_ansi(pack_path), [&] { return pack.open(pack_path); });
  DriverOutcome out;
  if (skip_header(pack, journal, op, out)) out = run_converter(converter, kind, pack, xml, journal, op, clock);
  pack.close_after_reading();
  return out;
}

DriverOutcome run_converter(Converter& converter, const DocumentKind& kind, PackReader& pack, XmlWriter& xml,
                            Journal& journal, Operator& op, Clock& clock) {
  if (converter.message_only()) {
    show_warning(op, Warning::procedure_not_written, kind.procedure, {});
    return {};
  }
  return ConverterDriver(converter, kind, pack, xml, journal, op, clock).run_automatic();
}

}  // namespace tolvex::core
