// SPDX-License-Identifier: MIT
// A scroll area that asks for the whole size of its content: a window opens showing all of it
// when the screen has room, and scrolls only on a screen too small for it.
#pragma once

#include <QScrollArea>

namespace tolvex::gui {

class FittedScrollArea : public QScrollArea {
 public:
  explicit FittedScrollArea(QWidget* content, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
};

}  // namespace tolvex::gui
