// SPDX-License-Identifier: MIT
// A value field of a window: it asks for no more width than its minimum (which the window sets
// for the text it holds), so that a form of many short fields opens no wider than it needs;
// its layout still widens it when the window grows.
#pragma once

#include <QLineEdit>

namespace tolvex::gui {

class ValueField : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

  QSize sizeHint() const override;
};

}  // namespace tolvex::gui
