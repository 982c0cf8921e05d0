// SPDX-License-Identifier: MIT
// The message boxes of the system: the information boxes with one yes-button, the stop box
// with abort and ignore, and the numbered warnings of the checked opening.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/conversion/operator.h"
#include "runtime/codepage.h"

namespace tolvex::core {

inline constexpr std::string_view kTitleMessage = runtime::literals::operator""_w<"Сообщение">();
inline constexpr std::string_view kTitleWarning = runtime::literals::operator""_w<"ПРЕДУПРЕЖДЕНИЕ !!!">();
inline constexpr std::string_view kTitleStop = "Stop";

// An information box with one yes-button ("&Да").
void info_box(Operator& op, std::string_view title, std::string_view text);

// The stop box: "Пре&рвать" ends the program, "&Игнорировать" returns. Every other way of
// closing it counts as ignore.
void stop_box(Operator& op, std::string_view text);

// The warnings of the checked opening, by entry number (4, 5, 6, 30), with the file or
// procedure name and the error description. Returns the button pressed.
Button show_warning(Operator& op, int entry, std::string_view name, std::string_view description);

// Opens a file or ends the program: a locked file is tried once more; a missing one is
// created when `create` is given; every failure that cannot be repaired shows its warning and
// ends the program. `open` and `create` give the runtime code of their attempt. A file still
// locked ends the program with `locked_text` when one is given (who holds it), otherwise with
// "Disk Error".
void open_checked(Operator& op, std::string_view name, const std::function<int()>& open,
                  const std::function<int()>& create = {}, std::string_view locked_text = {});

}  // namespace tolvex::core
