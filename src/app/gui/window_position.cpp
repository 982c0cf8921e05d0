#include "app/gui/window_position.h"

namespace tolvex::gui {

void restore_position(const core::IniStore& ini, std::string_view section, QWidget& w, bool resizable) {
  core::WindowPosition pos = core::restore_window_position(ini, section);
  if (pos.x && pos.y) w.move(*pos.x, *pos.y);
  if (resizable && (pos.width || pos.height))
    w.resize(pos.width.value_or(w.width()), pos.height.value_or(w.height()));
  Qt::WindowStates state = w.windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized);
  if (pos.maximized) state |= Qt::WindowMaximized;
  if (pos.minimized) state |= Qt::WindowMinimized;
  w.setWindowState(state);
}

void save_position(core::IniStore& ini, std::string_view section, const QWidget& w, bool resizable) {
  core::WindowPosition pos;
  pos.maximized = w.isMaximized();
  pos.minimized = w.isMinimized();
  if (!pos.maximized && !pos.minimized) {
    pos.x = w.x();
    pos.y = w.y();
    if (resizable) {
      pos.width = w.width();
      pos.height = w.height();
    }
  }
  core::save_window_position(ini, section, pos);
}

}  // namespace tolvex::gui
