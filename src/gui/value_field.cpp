// SPDX-License-Identifier: MIT
#include "gui/value_field.h"

namespace tolvex::gui {

QSize ValueField::sizeHint() const {
  QSize hint = QLineEdit::sizeHint();
  if (minimumWidth() > 0) hint.setWidth(minimumWidth());
  return hint;
}

}  // namespace tolvex::gui
