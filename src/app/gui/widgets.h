// Small widgets the windows build alike: a display-only field and a button named for the tests.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QString>

namespace tolvex::gui {

// A field the operator reads but does not type into.
inline QLineEdit* shown_field(const QString& name, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setReadOnly(true);
  return e;
}

// A button with the object name the window's tests find it by; it never becomes the default.
inline QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

}  // namespace tolvex::gui
