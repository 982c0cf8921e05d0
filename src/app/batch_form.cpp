// SPDX-License-Identifier: MIT
#include "app/batch_form.h"

#include <algorithm>
#include <system_error>

#include "core/conversion/messages.h"
#include "runtime/paths.h"

namespace tolvex::app {

using namespace runtime::literals;

namespace {

struct Heading {
  core::PackOutcome outcome;
  std::string_view count;  // the count's line in the box
  std::string_view list;   // the heading of its packs in the details
};

constexpr Heading kHeadings[] = {
    {core::PackOutcome::converted, "Сконвертировано: "_w, "Сконвертированы:"_w},
    {core::PackOutcome::documents_left_out, "Сконвертировано, но не все документы (их больше, чем указано в пачке): "_w,
     "Сконвертированы указанные в пачке документы, остальные не конвертированы (см. журнал):"_w},
    {core::PackOutcome::not_converted, "Не конвертируются (тип документа пока не обрабатывается): "_w,
     "Не конвертируются (в файле XML только опись пачки):"_w},
    {core::PackOutcome::rejected, "Отвергнуто (не пачка 4 формата): "_w, "Отвергнуты (не пачка 4 формата):"_w},
    {core::PackOutcome::unreadable, "Не прочитано (пачка не открывается или не читается): "_w, "Не прочитаны:"_w},
    {core::PackOutcome::no_output, "Не записано (выходной файл не создан): "_w, "Не записаны:"_w},
};

char16_t upper(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - u'a' + u'A');
  if (c >= u'а' && c <= u'я') return static_cast<char16_t>(c - u'а' + u'А');
  if (c >= u'ѐ' && c <= u'џ') return static_cast<char16_t>(c - 0x50);
  return c;
}

}  // namespace

std::string batch_summary_text(const BatchSummary& summary) {
  std::string text;
  if (summary.stopped)
    text = std::string("Пакетная обработка остановлена оператором: обработано пачек "_w) +
           std::to_string(summary.results.size()) + std::string(" из "_w) + std::to_string(summary.packs) + ".\n";
  text += std::string("Пачек в каталоге: "_w) + std::to_string(summary.packs) + ".";
  for (const Heading& h : kHeadings) {
    std::size_t n = summary.of(h.outcome).size();
    // Packs that could not be read are counted only when there are any.
    if (n == 0 && h.outcome == core::PackOutcome::unreadable) continue;
    text += "\n" + std::string(h.count) + std::to_string(n) + ".";
  }
  return text;
}

std::string batch_summary_details(const BatchSummary& summary) {
  std::string text;
  for (const Heading& h : kHeadings) {
    auto packs = summary.of(h.outcome);
    if (packs.empty()) continue;
    if (!text.empty()) text += "\n";
    text += std::string(h.list) + "\n";
    for (const BatchResult* r : packs) {
      text += "    " + runtime::path_to_ansi(r->pack.filename());
      if (!r->form.empty()) text += " (" + r->form + ")";
      if (r->link) text += std::string(": ссылка, не пачка"_w);
      if (!r->name_taken_by.empty())
        text += std::string(": имя файла XML уже дано пачке "_w) +
                runtime::path_to_ansi(runtime::ansi_to_path(r->name_taken_by).filename());
      text += "\n";
    }
  }
  return text;
}

std::u16string short_name(const std::filesystem::path& file) {
  std::u16string stem = file.stem().u16string().substr(0, 8), ext = file.extension().u16string().substr(0, 4);
  std::u16string out = stem + ext;
  std::transform(out.begin(), out.end(), out.begin(), upper);
  return out;
}

BatchForm::BatchForm(core::Session& session, core::PackState& pack_state) : s_(session), batch_(session, pack_state) {
  batch_.set_jobs(default_jobs());
  refresh();
}

void BatchForm::refresh() {
  fields_.mode = "1";
  fields_.input = s_.settings.input_folder;
  fields_.output = s_.settings.output_folder;
  if (!running_) fields_.count = std::to_string(list_packs(runtime::ansi_to_path(s_.settings.input_folder)).size());
  changed();
}

void BatchForm::choose_input_folder() {
  if (!idle()) return;
  batch_.choose_input_folder();
  refresh();
}

void BatchForm::choose_output_folder() {
  if (!idle()) return;
  batch_.choose_output_folder();
  refresh();
}

void BatchForm::show_progress(std::size_t current, std::size_t total, const std::filesystem::path& pack) {
  fields_.count = std::to_string(total);
  fields_.current = core::zero_padded(static_cast<long long>(current), 3);
  fields_.entry = pack;
  fields_.short_name = short_name(pack);
  std::error_code ec;
  auto size = std::filesystem::file_size(pack, ec);
  fields_.size = ec ? std::string() : std::to_string(size);
  fields_.documents.clear();
  fields_.bar_maximum = static_cast<int>(total);
  fields_.bar_value = static_cast<int>(current - 1);
  changed();
}

void BatchForm::show_documents(long long done, long long announced) {
  // Nothing is announced yet while the pack converted on another thread has not reached its
  // documents.
  if (announced == 0 && done == 0)
    fields_.documents.clear();
  else
    fields_.documents = std::string("Документы текущей пачки: "_w) + std::to_string(done) + std::string(" из "_w) +
                        std::to_string(announced);
  changed();
}

bool BatchForm::ok() {
  if (!idle()) return false;
  started_ = running_ = true;
  changed();
  struct Ran {
    bool& running;
    ~Ran() { running = false; }
  } ran{running_};
  BatchSummary summary = batch_.run();
  running_ = false;
  summed_up_ = true;
  fields_.bar_maximum = std::max<int>(1, static_cast<int>(summary.packs));
  fields_.bar_value = static_cast<int>(summary.results.size());
  changed();
  s_.op.message({std::string(core::kTitleMessage),
                 batch_summary_text(summary),
                 core::Icon::information,
                 {core::Button::ok},
                 batch_summary_details(summary)});
  return cancel();
}

void BatchForm::ask_stop() {
  if (stopping_) return;
  core::Button answer = s_.op.message({std::string(core::kTitleWarning),
                                       std::string("Остановить пакетную обработку? Текущая пачка будет сконвертирована "
                                                   "до конца, следующие пачки обработаны не будут."_w),
                                       core::Icon::information,
                                       {core::Button::yes, core::Button::no},
                                       {}});
  if (answer != core::Button::yes || !running_) return;
  stopping_ = true;
  batch_.request_stop();
  fields_.documents = std::string("Остановка после текущей пачки..."_w);
  changed();
}

bool BatchForm::cancel() {
  if (running_) {  // a batch is not left half done: it may only stop after the current pack
    ask_stop();
    return false;
  }
  if (closed_) return false;
  closed_ = true;
  return true;
}

bool BatchForm::press_ok(WindowOperator& op) {
  if (!ok_enabled()) return false;
  op.set_progress_sink(
      [this](std::size_t c, std::size_t t, const std::filesystem::path& p) { show_progress(c, t, p); });
  op.set_documents_sink([this](long long done, long long announced) { show_documents(done, announced); });
  bool close = false;
  bool ran = op.guard([&] { close = ok(); });
  op.set_progress_sink({});
  op.set_documents_sink({});
  return ran && close;
}

bool BatchForm::press_cancel(WindowOperator& op) {
  bool close = false;
  op.guard([&] { close = cancel(); });
  return close;
}

}  // namespace tolvex::app
