// SPDX-License-Identifier: MIT
// Small widgets the windows build alike: value fields that look read-only or editable and are
// wide enough for their text, and a button named for the tests.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QString>

namespace tolvex::gui {

// A field the operator reads but does not type into: read-only, on the window's background.
QLineEdit* shown_field(const QString& name, QWidget* parent);

// Makes a field an entry field (white, editable) or a shown one.
void set_entry(QLineEdit* field, bool entry);

// The width a field's text has inside its frame and margins, as the field draws it.
int text_room(const QLineEdit* field);

// Gives a field the minimum width in which `chars` characters like `sample` fit whole.
void fit_chars(QLineEdit* field, int chars, QChar sample = QChar('0'));
// Widens a field's minimum, when needed, so that `text` fits whole.
void fit_text(QLineEdit* field, const QString& text);

// A field that shows a path: its end (the file's name) is in sight, the whole path is its
// tooltip, whether the window or the operator sets it.
void path_field(QLineEdit* field);
// Sets a path field's text with its end in sight.
void show_path(QLineEdit* field, const QString& path);

// A button that Enter presses when it has the focus, as Space does, in any window; it never
// becomes the default, so Enter in a field presses nothing.
class ActionButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// A button with the object name the window's tests find it by.
inline QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
  auto* b = new ActionButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

// A "..." button that opens a file or folder dialog: as narrow as its caption.
QPushButton* browse_button(const char* name, QWidget* parent);

}  // namespace tolvex::gui
