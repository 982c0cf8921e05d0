// SPDX-License-Identifier: MIT
// Windows-1251 text of the converter as the windows show it, and back.
#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

#include "runtime/codepage.h"

namespace tolvex::gui {

inline QString qs(std::string_view ansi) { return QString::fromStdString(runtime::ansi_to_utf8(ansi)); }
inline std::string to_ansi(const QString& text) { return runtime::utf8_to_ansi(text.toStdString()); }

inline QString qs_path(const std::filesystem::path& p) { return QString::fromStdU16String(p.u16string()); }
inline std::filesystem::path to_path(const QString& text) { return std::filesystem::path(text.toStdU16String()); }

}  // namespace tolvex::gui
