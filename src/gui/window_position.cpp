// SPDX-License-Identifier: MIT
#include "gui/window_position.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace tolvex::gui {

namespace {

// What a title bar and frame take around a window before it is shown and they are known.
constexpr QSize kFrame(16, 40);

QScreen* screen_of(const QWidget& w, QPoint at) {
  if (QScreen* s = QGuiApplication::screenAt(at)) return s;
  return w.screen() ? w.screen() : QGuiApplication::primaryScreen();
}

QRect available(const QWidget& w, QPoint at) {
  QScreen* s = screen_of(w, at);
  return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

QSize room_on_screen(const QWidget& window) { return available(window, window.pos()).size() - kFrame; }

void fit_to_screen(QWidget& window) {
  QSize want = window.sizeHint().expandedTo(window.minimumSizeHint());
  window.resize(want.boundedTo(room_on_screen(window)));
}

void restore_position(const core::IniStore& ini, std::string_view section, QWidget& w, bool resizable) {
  core::WindowPosition pos = core::restore_window_position(ini, section);
  QPoint at = pos.x && pos.y ? QPoint(*pos.x, *pos.y) : w.pos();
  // Back onto the screen: no larger than it, and its frame inside it.
  QRect screen = available(w, at);
  QSize room = screen.size() - kFrame;
  if (resizable && (pos.width || pos.height)) {
    // Never smaller than its content needs where the screen has room (a size saved at another
    // scale, or by a window that has grown since).
    QSize need = w.sizeHint().expandedTo(w.minimumSizeHint()).boundedTo(room);
    w.resize(QSize(pos.width.value_or(w.width()), pos.height.value_or(w.height())).expandedTo(need).boundedTo(room));
  }
  if (pos.x && pos.y) {
    int x = std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.left() + room.width() - w.width()));
    int y = std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.top() + room.height() - w.height()));
    w.move(x, y);
  }
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
