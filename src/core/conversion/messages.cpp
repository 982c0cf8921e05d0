// SPDX-License-Identifier: MIT
#include "core/conversion/messages.h"

#include "runtime/file_error.h"

namespace tolvex::core {

using namespace runtime::literals;

void info_box(Operator& op, std::string_view title, std::string_view text) {
  op.message({std::string(title), std::string(text), Icon::information, {Button::yes}, {}});
}

void stop_box(Operator& op, std::string_view text) {
  Button b = op.message({std::string(kTitleStop), std::string(text), Icon::stop, {Button::abort, Button::ignore}, {}});
  if (b == Button::abort) throw ProgramEnd(std::string(text), 3);
}

Button show_warning(Operator& op, Warning warning, std::string_view name, std::string_view description) {
  MessageBox box;
  box.icon = Icon::information;
  box.buttons = {Button::ok};
  std::string n(name);
  while (!n.empty() && n.back() == ' ') n.pop_back();
  std::string d(description);
  while (!d.empty() && d.back() == ' ') d.pop_back();
  switch (warning) {
    case Warning::create_failed:
      box.title = " Ошибка создания Файла"_w;
      box.text = std::string("Ошибка: ("_w) + d + std::string(") создания "_w) + n +
                 std::string(".  Нажми ОК для закрытия Приложения."_w);
      break;
    case Warning::created_not_opened:
      box.title = " Ошибка создания Файла"_w;
      box.text = std::string("Ошибка: ("_w) + d + std::string(") открытия созданого файла:"_w) + n +
                 std::string(".  Нажми ОК для закрытия Приложения."_w);
      break;
    case Warning::procedure_not_written:
      box.title = "Процедура не написана"_w;
      box.text = std::string("Эта Процедура "_w) + n + std::string(" пока  не написана."_w);
      break;
    case Warning::file_not_accessible:
      box.title = "Ошибка доступа к файлу"_w;
      box.text = std::string("Файл ("_w) + n + std::string(") не м.б. открыт.  Ошибка: "_w) + d + ".";
      break;
  }
  return op.message(box);
}

void open_checked(Operator& op, std::string_view name, const std::function<runtime::Error()>& open,
                  const std::function<runtime::Error()>& create, std::string_view locked_text) {
  using runtime::Error;
  using runtime::error_description;
  Error rc = open();
  if (rc == Error::locked) rc = open();
  if (rc == Error::ok || rc == Error::already_open) return;
  if (rc == Error::not_found) {
    if (create) {
      Error c = create();
      if (c != Error::ok) {
        show_warning(op, Warning::create_failed, name, error_description(c));
        throw ProgramEnd(std::string("Ошибка создания Файла!"_w), 3);
      }
      rc = open();
      if (rc == Error::ok) return;
      show_warning(op, Warning::created_not_opened, name, error_description(rc));
      throw ProgramEnd(std::string("Ошибка создания Файла!"_w), 3);
    }
    show_warning(op, Warning::create_failed, name, error_description(rc));
    throw ProgramEnd(std::string("Ошибка создания Файла!"_w), 3);
  }
  show_warning(op, Warning::file_not_accessible, name, error_description(rc));
  if (rc == Error::locked && !locked_text.empty()) throw ProgramEnd(std::string(locked_text), 3);
  throw ProgramEnd("Disk Error", 3);
}

}  // namespace tolvex::core
