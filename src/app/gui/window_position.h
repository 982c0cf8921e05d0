// A window's position and size kept in its own section of the settings file: restored when it
// opens, saved when it closes. A maximized or minimized window keeps only that state.
#pragma once

#include <QWidget>
#include <string_view>

#include "core/settings.h"

namespace tolvex::gui {

void restore_position(const core::IniStore& ini, std::string_view section, QWidget& window, bool resizable);
void save_position(core::IniStore& ini, std::string_view section, const QWidget& window, bool resizable);

}  // namespace tolvex::gui
