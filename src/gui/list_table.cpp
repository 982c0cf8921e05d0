// SPDX-License-Identifier: MIT
#include "gui/list_table.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "gui/text.h"

namespace tolvex::gui {

ListTable::ListTable(const core::ViewList& list, QWidget* parent)
    : QTableWidget(static_cast<int>(list.rows.size()), static_cast<int>(list.columns.size()), parent) {
  QStringList headers;
  for (const auto& c : list.columns) headers << qs(c);
  setHorizontalHeaderLabels(headers);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // A scroll bar when the rows do not all fit (its width is kept free for it either way).
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  verticalHeader()->setVisible(false);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  for (std::size_t r = 0; r < list.rows.size(); ++r)
    for (std::size_t c = 0; c < list.rows[r].size() && c < list.columns.size(); ++c)
      setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(qs(list.rows[r][c])));
  // Each column as wide as its caption and its widest value, over every row (not only those in
  // sight); a last column of text (a name, a profession) takes the room left.
  int padding = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 4;
  columns_width_ = 0;
  for (int c = 0; c < columnCount(); ++c) {
    int w = horizontalHeader()->sectionSizeHint(c);
    for (int r = 0; r < rowCount(); ++r)
      if (QTableWidgetItem* it = item(r, c)) w = std::max(w, fontMetrics().horizontalAdvance(it->text()) + padding);
    setColumnWidth(c, w);
    columns_width_ += w;
  }
  if (columnCount() > 0)
    horizontalHeader()->setStretchLastSection(horizontalHeader()->sectionSize(columnCount() - 1) >=
                                              fontMetrics().horizontalAdvance(QString(12, QChar('x'))));
  setMinimumWidth(content_width());
  scrollToTop();
}

void ListTable::fit_to(int room) {
  int fixed = content_width() - columns_width_;
  if (content_width() <= room || columns_width_ <= 0 || room <= fixed) return;
  int left = room - fixed;
  int given = 0;
  for (int c = 0; c < columnCount(); ++c) {
    int w = c + 1 == columnCount() ? left - given : columnWidth(c) * left / columns_width_;
    setColumnWidth(c, std::max(w, 8));
    given += columnWidth(c);
  }
  columns_width_ = given;
  horizontalHeader()->setStretchLastSection(false);
  for (int r = 0; r < rowCount(); ++r)
    for (int c = 0; c < columnCount(); ++c)
      if (QTableWidgetItem* it = item(r, c)) it->setToolTip(it->text());
  setMinimumWidth(content_width());
}

int ListTable::content_width() const {
  return 2 * frameWidth() + verticalScrollBar()->sizeHint().width() + columns_width_;
}

int ListTable::height_for_rows(int rows) const {
  return 2 * frameWidth() + horizontalHeader()->sizeHint().height() + rows * verticalHeader()->defaultSectionSize();
}

QSize ListTable::sizeHint() const {
  return QSize(content_width(), height_for_rows(std::clamp(rowCount(), 3, kRowsInSight)));
}

QSize ListTable::minimumSizeHint() const { return QSize(content_width(), height_for_rows(2)); }

}  // namespace tolvex::gui
