// SPDX-License-Identifier: MIT
// A list of a converter window (months, periods, rows of a statement): as wide as its columns,
// so that nothing scrolls sideways, and as tall as a few rows; taller lists scroll.
#pragma once

#include <QTableWidget>

#include "core/conversion/operator.h"

namespace tolvex::gui {

class ListTable : public QTableWidget {
 public:
  ListTable(const core::ViewList& list, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  static constexpr int kRowsInSight = 8;
  // The width its columns, frame and scroll bar take.
  int content_width() const;
  // A list wider than `room` has its columns narrowed to share it, each in proportion; a value
  // cut short shows whole in its tooltip.
  void fit_to(int room);

 private:
  int height_for_rows(int rows) const;

  int columns_width_ = 0;
};

}  // namespace tolvex::gui
