// SPDX-License-Identifier: MIT
#include "core/conversion/one_pack.h"

#include <algorithm>

#include "core/conversion/driver.h"
#include "core/conversion/messages.h"
#include "core/conversion/pack_report.h"
#include "core/format7/insurer_blocks.h"
#include "runtime/file_error.h"
#include "runtime/files.h"
#include "runtime/paths.h"

namespace tolvex::core {

using namespace runtime::literals;

Session::Session(IniStore& ini_store, Journal& journal_file, Operator& op_, Clock& clock_, ProgramRunner& programs_,
                 std::span<const DocumentKind> kinds_, std::string program_folder_)
    : ini(ini_store),
      journal(journal_file),
      op(op_),
      clock(clock_),
      programs(programs_),
      kinds(kinds_),
      program_folder(std::move(program_folder_)),
      today(clock_.now()) {}

bool RunFiles::is_pack(const runtime::FileIdentity& at) const {
  return at.known && std::find(packs.begin(), packs.end(), at) != packs.end();
}

bool RunFiles::take_name(Journal& journal, const std::string& full_name, const std::string& pack) {
  auto [given, is_new] = outputs.emplace(full_name, pack);
  if (is_new) return true;
  name_taken_by = given->second;
  journal.journal_line(std::string("Выходной файл уже записан в этом пакете из пачки "_w) + given->second);
  journal.journal_line(std::string("Не записали "_w) + full_name);
  return false;
}

void Session::load_settings() { settings = core::load_settings(ini, program_folder); }

PackState::PackState() {
  // Before the first conversion the output name is that of the program's start.
  output_full_name = "." + std::string(runtime::separator()) + "out_7" + std::string(runtime::separator()) + "out.xml";
}

namespace {

std::string trimmed(std::string_view s) { return std::string(trim_right(s)); }

long long hundredths_between(const ClockTime& from, const ClockTime& to) {
  long long d = to.of_day() - from.of_day();
  return d < 0 ? d + 24LL * 3600 * 100 : d;
}

}  // namespace

OnePackConversion::OnePackConversion(Session& session, PackState& pack_state, PackReport* report)
    : s_(session), p_(pack_state), report_(report) {}

OnePackConversion::~OnePackConversion() = default;

// --- opening the pack and the header stage --------------------------------------------------

bool OnePackConversion::open_pack_stage(PackReader& pack) {
  started_ = s_.clock.now();
  pack_name_ = runtime::path_to_ansi(p_.pack);
  const std::string& name = pack_name_;
  if (p_.pack.empty()) {
    info_box(s_.op, kTitleWarning, "Не выбран файл пачки 4 формата"_w);
    s_.journal.journal_line(std::string("Не выбран файл пачки 4 формата "_w) + name);
    return false;
  }
  if (runtime::Error rc = pack.open(p_.pack); rc != runtime::Error::ok) {
    std::string text = std::string("Не могу открыть пачку "_w) + std::string(runtime::error_text(rc));
    stop_box(s_.op, text);
    s_.journal.journal_line(std::string("Не могу открыть пачку "_w) + name);
    s_.journal.journal_line(runtime::error_text(rc));
  }
  p_.header.clear();
  return true;
}

bool OnePackConversion::read_failed(runtime::Error code) {
  // Told as a pack that cannot be opened is: a stop box, the pack's name and what happened.
  std::string text = std::string("Не могу прочитать пачку "_w) + std::string(runtime::error_text(code));
  stop_box(s_.op, text);
  s_.journal.journal_line(std::string("Не могу прочитать пачку "_w) + pack_name_);
  s_.journal.journal_line(runtime::error_text(code));
  return true;
}

void OnePackConversion::reject(PackReader& pack, std::string_view box_text, std::string_view journal_text) {
  // Every way of closing the box rejects the pack.
  info_box(s_.op, kTitleMessage, box_text);
  s_.journal.journal_line(journal_text);
  pack.close_after_reading();
  p_.pack.clear();
}

PackOutcome OnePackConversion::header_stage(PackReader& pack, bool keep_open) {
  s_.journal.journal_line(pack_name_);
  s_.journal.journal_line(std::string("Начало "_w) + hh_mm_ss(started_));

  // Line 1 and the two checks; a pack that could not be opened or read reads as an empty line.
  std::string line1;
  bool unreadable = !pack.is_open();
  if (pack.is_open()) {
    runtime::Error rc = pack.file().set_to_start();
    if (rc == runtime::Error::ok) rc = pack.read_line();
    if (rc == runtime::Error::ok)
      line1 = std::string(pack.line());
    else if (rc != runtime::Error::end_of_file)
      unreadable = read_failed(rc);
  }
  split_pack_line(line1, p_.header.zag4, SplitVariant::header);
  if (!equals(p_.header.zag4["TYP_Z"], "ЗГЛВ"_w)) {
    reject(pack, "Это не файл пачки ПФР. Проверьте входной каталог !!! "_w,
           "Это не файл пачка ПФР. Проверьте входной каталог !!! "_w);
    return unreadable ? PackOutcome::unreadable : PackOutcome::rejected;
  }
  if (p_.header.zag4["VER_F"][1] != '4') {
    reject(pack, "Это не формат 4 файла пачки ПФР. Формат м.б. один из П4.10, П4.00, 04.00 !!! "_w,
           "Это не формат 4 файла пачки ПФР. Формат м.б. один из П4.10, П4.00, 04.00 !!!"_w);
    return PackOutcome::rejected;
  }
  s_.journal.journal_line(line1);

  // Lines 2 to 4. A pack that ends inside its header is not a pack that can be converted.
  Record* records[] = {&p_.header.ist4, &p_.header.pch, &p_.header.dokt};
  for (int i = 0; i < 3; ++i) {
    if (runtime::Error rc = pack.read_line(); rc != runtime::Error::ok) {
      if (rc != runtime::Error::end_of_file && read_failed(rc)) {
        pack.close_after_reading();
        p_.pack.clear();
        return PackOutcome::unreadable;
      }
      std::string_view text = "Пачка ПФР обрывается в заголовке. Проверьте входной каталог !!! "_w;
      reject(pack, text, text);
      return PackOutcome::rejected;
    }
    split_pack_line(pack.line(), *records[i], SplitVariant::header, i == 0 ? kIst4PackFields : RecordLayout::npos);
    if (i != 1) s_.journal.journal_line(pack.line());
  }

  const DocumentKind* kind = find_kind(s_.kinds, p_.header.dokt["TYP_DOK"]);
  if (kind) p_.kind = kind;
  if (!kind || !kind->converted())
    info_box(s_.op, kTitleWarning, "Извините! Этот тип документа ПФР пока не обрабатывается !!"_w);

  if (!make_output_file(pack)) {
    pack.close_after_reading();
    return PackOutcome::no_output;
  }
  XmlWriter& xml = p_.out.xml();
  write_file_header(xml, output_file_name(p_.header), p_.header);
  write_pack_envelope(xml, p_.header, kind);

  const std::string& pack_name = pack_name_;
  // A batch reads on from the same open file: its journal says the same as when the converter
  // opened the pack again.
  runtime::Error rc = keep_open ? runtime::Error::ok : pack.close();
  s_.journal.journal_result(rc, " Закрыли входной "_w, pack_name);
  if (rc != runtime::Error::ok) {
    std::string text = std::string(" Не могу закрыть пачку "_w) + std::string(runtime::error_text(rc));
    s_.journal.journal_result(rc, text, "");
    stop_box(s_.op, text.substr(1));
  }
  header_hundredths_ = hundredths_between(started_, s_.clock.now());
  s_.journal.journal_line(std::string("Время "_w) + std::to_string(header_hundredths_));
  return PackOutcome::converted;
}

bool OnePackConversion::make_output_file(const PackReader& pack) {
  close_previous_output();
  std::string full = runtime::with_separator(s_.settings.output_folder) + output_file_name(p_.header);
  p_.output_full_name = full;
  const std::filesystem::path path = runtime::ansi_to_path(full);
  const runtime::StagingFolder* held = s_.run ? &s_.run->output : nullptr;
  const runtime::FileIdentity at_name = held ? held->identity_at(path) : runtime::identity_at(path);
  if (at_name.known && (at_name == pack.identity() || (s_.run && s_.run->is_pack(at_name)))) {
    // The XML would take the place of the pack it is made from, or of another pack of the run.
    std::string text = std::string("Выходной файл совпадает с входной пачкой "_w) + full;
    s_.journal.journal_line(text);
    info_box(s_.op, kTitleMessage, text);
    return false;
  }
  runtime::Error rc = p_.out.create(path, held);
  if (rc != runtime::Error::ok) {
    std::string text = std::string("Не могу создать выходной файл "_w) + full;
    s_.journal.journal_line(text);
    s_.journal.journal_line(runtime::error_text(rc));
    stop_box(s_.op, text);
    return false;
  }
  output_created(full, at_name.known);
  s_.journal.journal_result(runtime::Error::ok, " Очистили "_w, full);
  return true;
}

// --- the steps that depend on the packs before -----------------------------------------------

void OnePackConversion::close_previous_output() {
  if (report_) {
    report_->output_made = true;
    report_->entries.push_back({PackReport::Entry::previous_output});
    return;
  }
  if (p_.output_full_name.empty()) return;
  runtime::Error rc = p_.out.close(false);
  s_.journal.journal_result(rc, " Зак.стар."_w, p_.output_full_name);
}

void OnePackConversion::output_created(const std::string& full_name, bool existed) {
  if (report_) {
    // A name taken now is taken in the pack's turn too (a batch never removes one); a name that
    // is free now is looked at again then: a pack before this one may give it to its XML.
    PackReport::Entry created{PackReport::Entry::output_created, full_name};
    created.name_existed = existed;
    report_->entries.push_back(std::move(created));
    return;
  }
  if (!existed) s_.journal.journal_result(runtime::Error::ok, " Создали "_w, full_name);
}

runtime::Error OnePackConversion::publish() {
  if (report_) {
    // The bytes go to the disk now; the name waits for the turn.
    runtime::Error rc = p_.out.finish();
    p_.out.release_buffers();
    PackReport::Entry published{PackReport::Entry::publish};
    published.code = rc;
    report_->entries.push_back(std::move(published));
    return rc;
  }
  // Every line of the pack is written before its XML has its name.
  s_.journal.write_held();
  s_.journal.hold();
  if (s_.run && !s_.run->take_name(s_.journal, p_.output_full_name, pack_name_)) {
    // Refused and journaled: the file is given up (removed), whatever its last write did.
    static_cast<void>(p_.out.close(false));
    return runtime::Error::access_denied;
  }
  runtime::Error rc = p_.out.close(true);
  s_.journal.journal_result(rc, " Закрыли в конце "_w, p_.output_full_name);
  return rc;
}

// --- the documents --------------------------------------------------------------------------

bool OnePackConversion::run_documents(PackReader& pack) {
  documents_written_ = 0;
  documents_left_out_ = false;
  const DocumentKind* kind = find_kind(s_.kinds, p_.header.dokt["TYP_DOK"]);
  if (!kind || !kind->factory) return true;
  ConverterContext ctx{p_.header, s_.op, s_.journal};
  std::unique_ptr<Converter> conv = kind->factory(ctx);
  DriverOutcome out = pack.is_open() ? run_converter(*conv, *kind, pack, p_.out.xml(), s_.journal, s_.op, s_.clock)
                                     : run_converter(*conv, *kind, p_.pack, p_.out.xml(), s_.journal, s_.op, s_.clock);
  documents_written_ = out.documents_written;
  documents_left_out_ = out.end == DocumentsEnd::documents_left_out;
  return out.trusted();
}

void OnePackConversion::drop_output() {
  runtime::Error rc = p_.out.close(false);
  s_.journal.journal_result(rc, " Не записали "_w, p_.output_full_name);
}

PackOutcome OnePackConversion::convert_all_documents(const std::filesystem::path& pack_path) {
  Journal::Holding held(s_.journal);
  PackOutcome outcome = convert_held(pack_path);
  held.write();
  return outcome;
}

PackOutcome OnePackConversion::convert_held(const std::filesystem::path& pack_path) {
  p_.pack = pack_path;
  PackReader pack;
  if (!open_pack_stage(pack)) return PackOutcome::no_pack;
  PackOutcome outcome = header_stage(pack, true);
  if (outcome != PackOutcome::converted) return outcome;
  bool trusted = run_documents(pack);
  s_.journal.journal_result(pack.close(), " Закрыли пачку "_w, pack_name_);
  if (!trusted) {
    drop_output();
    return PackOutcome::no_output;
  }
  write_file_closing(p_.out.xml());
  if (publish() != runtime::Error::ok) return PackOutcome::no_output;
  return written_outcome();
}

PackOutcome OnePackConversion::written_outcome() const {
  const DocumentKind* kind = find_kind(s_.kinds, p_.header.dokt["TYP_DOK"]);
  if (!kind || !kind->converted()) return PackOutcome::not_converted;
  return documents_left_out_ ? PackOutcome::documents_left_out : PackOutcome::converted;
}

// --- the one-pack window --------------------------------------------------------------------

std::optional<PackOutcome> OnePackConversion::choose_pack() {
  if (!p_.pack.empty()) s_.journal.journal_result(runtime::Error::ok, " Зак.ст. "_w, runtime::path_to_ansi(p_.pack));
  auto chosen = s_.op.choose_file("Выбор входного файла"_w, "Файлы пачек 4 формата|*.*"_w,
                                  runtime::ansi_to_path(trimmed(s_.settings.input_folder)));
  if (!chosen) return std::nullopt;
  return take_pack(*chosen);
}

PackOutcome OnePackConversion::take_pack(const std::filesystem::path& chosen) {
  p_.pack = chosen;
  std::string full = runtime::path_to_ansi(chosen);
  std::string dir = runtime::path_to_ansi(chosen.parent_path());
  s_.settings.input_folder = runtime::with_separator(dir);
  put_setting(s_.ini, Setting::input_folder, s_.settings.input_folder);
  s_.journal.journal_result(runtime::Error::ok, " Выбрали "_w, full);
  if (s_.settings.check_one_pack == 1)
    s_.programs.run_program(s_.settings.pack_checker,
                            ProgramArguments().name(full).parameters(s_.settings.pack_checker_parameters), true);
  PackReader pack;
  if (!open_pack_stage(pack)) return PackOutcome::no_pack;
  return header_stage(pack);
}

bool OnePackConversion::choose_output_folder() {
  auto chosen =
      s_.op.choose_folder("Выбор выходного каталога"_w, runtime::ansi_to_path(trimmed(s_.settings.output_folder)));
  if (!chosen) return false;
  s_.settings.output_folder = trimmed(runtime::path_to_ansi(*chosen));
  put_setting(s_.ini, Setting::output_folder, s_.settings.output_folder);
  s_.journal.journal_result(runtime::Error::ok, " Выбрали "_w, s_.settings.output_folder);
  return true;
}

void OnePackConversion::classify_ogrn(RecordOf<IST4>& ist4) {
  ist4.set("TIP_OGRN", trim_right(ist4["KOD_OGRN"]).size() > kOgrnLegalEntityLength ? "ЕГРИП"_w : "ЕГРЮЛ"_w);
}

DocumentRun* OnePackConversion::start_ok() {
  run_.reset();
  converter_.reset();
  documents_written_ = 0;
  documents_left_out_ = false;
  ok_started_ = p_.out.is_open();
  if (!ok_started_) return nullptr;  // no pack was read
  const DocumentKind* kind = find_kind(s_.kinds, p_.header.dokt["TYP_DOK"]);
  if (!kind || !kind->factory) return nullptr;
  converter_ = kind->factory(ConverterContext{p_.header, s_.op, s_.journal});
  run_ = std::make_unique<DocumentRun>(*converter_, *kind, p_.pack, p_.out.xml(), s_.journal, s_.op, s_.clock);
  return run_->waiting() ? run_.get() : nullptr;
}

PackOutcome OnePackConversion::finish_ok() {
  if (!ok_started_) return PackOutcome::no_pack;
  ok_started_ = false;
  bool trusted = true;
  if (run_) {
    run_->press(ConverterAction::cancel);  // a window closed without its run ending converts nothing more
    documents_written_ = run_->outcome().documents_written;
    documents_left_out_ = run_->outcome().end == DocumentsEnd::documents_left_out;
    trusted = run_->outcome().trusted();
    run_.reset();
    converter_.reset();
  }
  if (!trusted) {
    drop_output();
    return PackOutcome::no_output;
  }
  write_file_closing(p_.out.xml());
  runtime::Error rc = p_.out.close(true);
  s_.journal.journal_result(rc, " Закрыли в конце"_w, p_.output_full_name);

  ClockTime at = s_.clock.now();
  std::string archive = s_.settings.dated_archive_name == 1 ? yymmdd_hhmm(s_.today, at) : std::string("arhiv");
  if (s_.settings.dated_archive_name == 1) s_.settings.archive_name = archive;
  ProgramArguments args;
  args.parameters(s_.settings.archiver_parameters).name(trimmed(s_.settings.archive_folder) + archive);
  args.name(runtime::path_to_ansi(p_.pack))
      .name(p_.output_full_name)
      .archive(trimmed(s_.settings.archive_folder) + archive);
  s_.programs.run_program(s_.settings.archiver, args, false);
  s_.journal.journal_result(runtime::Error::ok, " Архивировали "_w, p_.output_full_name);
  if (s_.settings.check_output_xml == 1)
    s_.programs.run_program(s_.settings.xml_checker, ProgramArguments().name(p_.output_full_name), false);
  return rc == runtime::Error::ok ? written_outcome() : PackOutcome::no_output;
}

void OnePackConversion::cancel() {
  bool open = p_.out.is_open();
  if (open) write_file_closing(p_.out.xml());
  runtime::Error rc = p_.out.close(open);
  s_.journal.journal_result(rc, " Закрыли по Отмене "_w, p_.output_full_name);
}

}  // namespace tolvex::core
