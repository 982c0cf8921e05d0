// SPDX-License-Identifier: MIT
#include "gui/view_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "gui/text.h"
#include "gui/widgets.h"

namespace tolvex::gui {

namespace {

constexpr int kMostPairs = 3;
// A field wider than this takes a row of its own; narrower ones are sized for their width.
constexpr std::size_t kLongField = 40;
constexpr int kMostSampleChars = 24;

struct Pair {
  QLabel* prompt;
  QWidget* value;  // the field, or the field with the word after it
  bool long_field;
};

// The least width a value takes in a layout: its own minimum, or that of its parts.
int least_width(const QWidget* w) { return std::max(w->minimumWidth(), w->minimumSizeHint().width()); }

// The width a form of `pairs` takes with `columns` pairs to a row.
int form_width(const std::vector<Pair>& pairs, int columns, int spacing) {
  std::vector<int> prompt(columns, 0), value(columns, 0);
  int column = 0, whole_row = 0;
  for (const Pair& p : pairs) {
    if (p.long_field) {
      whole_row = std::max(whole_row, p.prompt->sizeHint().width() + least_width(p.value));
      column = 0;
      continue;
    }
    prompt[column] = std::max(prompt[column], p.prompt->sizeHint().width());
    value[column] = std::max(value[column], least_width(p.value));
    column = (column + 1) % columns;
  }
  int w = 0;
  for (int c = 0; c < columns; ++c) w += prompt[c] + value[c];
  return std::max(w, whole_row) + (2 * columns - 1) * spacing;
}

}  // namespace

QWidget* view_form(const std::vector<core::ViewField>& fields, int room, QWidget* parent) {
  auto* form = new QWidget(parent);
  auto* grid = new QGridLayout(form);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(3);
  std::vector<Pair> pairs;
  for (const core::ViewField& f : fields) {
    QString value = qs(f.value);
    auto* edit = shown_field(QString(), form);
    edit->setText(value);
    edit->setCursorPosition(0);
    std::size_t width = f.width ? f.width : static_cast<std::size_t>(value.size());
    bool long_field = width > kLongField;
    // Room for the field's width in characters like its own (capitals for short codes), and
    // for the value shown whatever its letters.
    int chars = std::clamp(static_cast<int>(width), 2, kMostSampleChars);
    fit_chars(edit, chars, width <= 8 && f.width ? QChar(u'Н') : QChar('0'));
    int base = edit->minimumWidth();
    fit_text(edit, value);
    auto* label = new QLabel(qs(f.prompt), form);
    label->setBuddy(edit);
    // A long value (a whole row) is seen whole as far as the room allows.
    if (long_field) {
      int most = room - label->sizeHint().width() - 2 * grid->horizontalSpacing();
      edit->setMinimumWidth(std::max(base, std::min(edit->minimumWidth(), most)));
    }
    QWidget* shown = edit;
    if (!f.after.empty()) {
      // The word after the value ("мес"), close to it.
      shown = new QWidget(form);
      auto* row = new QHBoxLayout(shown);
      row->setContentsMargins(0, 0, 0, 0);
      edit->setParent(shown);
      row->addWidget(edit, 1);
      row->addWidget(new QLabel(qs(f.after), shown));
    }
    pairs.push_back({label, shown, long_field});
  }
  int spacing = std::max(grid->horizontalSpacing(), 6);
  int columns = kMostPairs;
  while (columns > 1 && form_width(pairs, columns, spacing) > room) --columns;

  int row = 0, column = 0;
  for (const Pair& p : pairs) {
    if (p.long_field && column != 0) {
      ++row;
      column = 0;
    }
    grid->addWidget(p.prompt, row, column * 2, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(p.value, row, column * 2 + 1, 1, p.long_field ? columns * 2 - 1 : 1);
    if (p.long_field || ++column == columns) {
      ++row;
      column = 0;
    }
  }
  for (int c = 0; c < columns; ++c) grid->setColumnStretch(c * 2 + 1, 1);
  return form;
}

}  // namespace tolvex::gui
