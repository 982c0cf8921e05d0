// SPDX-License-Identifier: MIT
// The real message boxes, file dialog and folder dialog of the desktop program.
#pragma once

#include <QString>
#include <map>

#include "core/conversion/operator.h"

class QAbstractButton;
class QMessageBox;
class QWidget;

namespace tolvex::gui {

// The Qt filter of a "description|pattern" filter ("Файлы пачек 4 формата (*)"). Away from
// Windows a pattern "*.*" is every file, and programs need not end in ".exe".
QString qt_filter(std::string_view ansi_filter);

// Fills a Qt message box from a box of the system (title, text, icon, buttons in order, the
// details part) and gives each of its buttons' answers.
std::map<QAbstractButton*, core::Button> fill_message_box(QMessageBox& mb, const core::MessageBox& box);

class QtDialogs : public core::Operator {
 public:
  core::Button message(const core::MessageBox& box) override;
  std::optional<std::filesystem::path> choose_file(std::string_view title, std::string_view filter,
                                                   const std::filesystem::path& start) override;
  std::optional<std::filesystem::path> choose_folder(std::string_view title,
                                                     const std::filesystem::path& start) override;
};

}  // namespace tolvex::gui
