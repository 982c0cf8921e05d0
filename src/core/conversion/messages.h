// SPDX-License-Identifier: MIT
// The message boxes of the system: the information boxes with one yes-button, the stop box
// with abort and ignore, and the numbered warnings of the checked opening.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/conversion/operator.h"
#include "runtime/codepage.h"
#include "runtime/file_error.h"

namespace tolvex::core {

inline constexpr std::string_view kTitleMessage = runtime::literals::operator""_w<"Сообщение">();
inline constexpr std::string_view kTitleWarning = runtime::literals::operator""_w<"ПРЕДУПРЕЖДЕНИЕ !!!">();
inline constexpr std::string_view kTitleStop = "Stop";

// An information box with one yes-button ("&Да").
void info_box(Operator& op, std::string_view title, std::string_view text);

// The stop box: "Пре&рвать" ends the program, "&Игнорировать" returns. Every other way of
// closing it counts as ignore.
void stop_box(Operator& op, std::string_view text);

// The numbered warnings (the entry numbers of the old warning table), each one box with one
// "&OK" button.
enum class Warning {
  create_failed = 4,          // " Ошибка создания Файла": a file could not be created
  created_not_opened = 5,     // " Ошибка создания Файла": the file just created could not be opened
  procedure_not_written = 6,  // "Процедура не написана": a kind answered with this message only
  file_not_accessible = 30,   // "Ошибка доступа к файлу": a file could not be opened otherwise
};

// Shows a warning with the file or procedure name and the error description. Returns the
// button pressed.
Button show_warning(Operator& op, Warning warning, std::string_view name, std::string_view description);

// Opens a file or ends the program: a locked file is tried once more; a missing one is
// created when `create` is given; every failure that cannot be repaired shows its warning and
// ends the program. `open` and `create` give the runtime code of their attempt. A file still
// locked ends the program with `locked_text` when one is given (who holds it), otherwise with
// "Disk Error".
void open_checked(Operator& op, std::string_view name, const std::function<runtime::Error()>& open,
                  const std::function<runtime::Error()>& create = {}, std::string_view locked_text = {});

}  // namespace tolvex::core
