// SPDX-License-Identifier: MIT
#include "app/main_form.h"

#include "app/document_kinds.h"
#include "core/conversion/clock.h"

namespace tolvex::app {

using namespace runtime::literals;

std::string main_title(const core::ClockTime& today) {
  std::string date = today.year == 0 ? std::string(" ") : core::dd_mm_yyyy(today);
  return std::string("Конвертация пачек ПФР 4 формата в файл 7 формата XML Сегодня "_w) + date;
}

std::string long_date(const core::ClockTime& t) {
  static constexpr std::string_view kMonths[] = {"января"_w,   "февраля"_w, "марта"_w,  "апреля"_w,
                                                 "мая"_w,      "июня"_w,    "июля"_w,   "августа"_w,
                                                 "сентября"_w, "октября"_w, "ноября"_w, "декабря"_w};
  if (t.year == 0 || t.month < 1 || t.month > 12) return {};
  return std::to_string(t.day) + " " + std::string(kMonths[t.month - 1]) + " " + std::to_string(t.year);
}

std::vector<std::string> splash_lines(const core::ClockTime& today) {
  // The forms converted, in the order of the table of document kinds.
  std::string forms;
  for (const auto& k : document_kinds())
    if (k.converted()) forms += (forms.empty() ? "" : ", ") + std::string(k.form_name);
  return {std::string("Персонифицированный учет: пачки 4 формата (код 866) в файлы 7 формата XML (Windows-1251)"_w),
          forms, std::string("Сегодня "_w) + long_date(today), std::string("tolvex ") + TOLVEX_VERSION};
}

std::string_view button_caption(core::Button b) {
  switch (b) {
    case core::Button::ok:
      return "&OK";
    case core::Button::yes:
      return "&Да"_w;
    case core::Button::no:
      return "&Нет"_w;
    case core::Button::abort:
      return "Пре&рвать"_w;
    case core::Button::retry:
      return "&Повторить"_w;
    case core::Button::ignore:
      return "&Игнорировать"_w;
    case core::Button::cancel:
      return "&Отменить"_w;
  }
  return "&OK";
}

bool MainForm::open(bool ending, const std::function<void()>& window) {
  if (busy_ || ending) return false;
  busy_ = true;
  struct Free {
    bool& b;
    ~Free() { b = false; }
  } free{busy_};
  window();
  return true;
}

std::optional<std::filesystem::path> MainForm::dropped_pack(std::span<const std::filesystem::path> files) {
  std::error_code ec;
  for (const auto& f : files)
    if (std::filesystem::is_regular_file(f, ec)) return f;
  return std::nullopt;
}

}  // namespace tolvex::app
