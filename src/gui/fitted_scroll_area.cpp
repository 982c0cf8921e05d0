// SPDX-License-Identifier: MIT
#include "gui/fitted_scroll_area.h"

#include <QScrollBar>

namespace tolvex::gui {

FittedScrollArea::FittedScrollArea(QWidget* content, QWidget* parent) : QScrollArea(parent) {
  setWidgetResizable(true);
  setFrameShape(QFrame::NoFrame);
  setWidget(content);
}

QSize FittedScrollArea::sizeHint() const {
  QSize content = widget() ? widget()->sizeHint().expandedTo(widget()->minimumSizeHint()) : QSize();
  // Room for a vertical scroll bar too: a window bounded by the screen's height shows one, and
  // its width must not come out of the content's.
  int frame = 2 * frameWidth();
  return content + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
}

QSize FittedScrollArea::minimumSizeHint() const {
  // Narrower than its content it scrolls; it keeps room for a few lines and the scroll bars.
  int h = fontMetrics().height();
  QSize content = widget() ? widget()->minimumSizeHint() : QSize();
  return QSize(std::min(content.width(), 12 * h) + verticalScrollBar()->sizeHint().width(),
               std::min(content.height(), 4 * h) + horizontalScrollBar()->sizeHint().height());
}

}  // namespace tolvex::gui
