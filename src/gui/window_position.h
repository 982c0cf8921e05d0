// SPDX-License-Identifier: MIT
// A window's position and size kept in its own section of the settings file: restored when it
// opens, saved when it closes. A maximized or minimized window keeps only that state. A window
// saved on a larger screen than the one it opens on is moved and shrunk back onto it; one saved
// smaller than its content needs opens as large as the content wants, as far as the screen allows.
#pragma once

#include <QRect>
#include <QWidget>
#include <string_view>

#include "core/conversion/settings.h"

namespace tolvex::gui {

void restore_position(const core::IniStore& ini, std::string_view section, QWidget& window, bool resizable);
void save_position(core::IniStore& ini, std::string_view section, const QWidget& window, bool resizable);

// The room a window has on the screen it opens on, without its title bar and frame.
QSize room_on_screen(const QWidget& window);

// Sizes a window for its content (its size hint), as large as the screen allows.
void fit_to_screen(QWidget& window);

}  // namespace tolvex::gui
