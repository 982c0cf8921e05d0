// SPDX-License-Identifier: MIT
#include "gui/widgets.h"

#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>

#include "gui/value_field.h"

namespace tolvex::gui {

namespace {

// Inside the contents rectangle a line edit keeps this margin on each side of its text.
constexpr int kInnerMargin = 2;

}  // namespace

QLineEdit* shown_field(const QString& name, QWidget* parent) {
  auto* e = new ValueField(parent);
  e->setObjectName(name);
  set_entry(e, false);
  return e;
}

void set_entry(QLineEdit* field, bool entry) {
  field->setReadOnly(!entry);
  QPalette p = field->palette();
  QPalette base = field->style()->standardPalette();
  p.setColor(QPalette::Base, entry ? base.color(QPalette::Base) : base.color(QPalette::Window));
  field->setPalette(p);
  field->setFocusPolicy(entry ? Qt::StrongFocus : Qt::ClickFocus);
}

int text_room(const QLineEdit* field) {
  QStyleOptionFrame opt;
  opt.initFrom(field);
  opt.rect = field->rect();
  opt.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, field) : 0;
  opt.midLineWidth = 0;
  opt.state |= QStyle::State_Sunken;
  QRect r = field->style()->subElementRect(QStyle::SE_LineEditContents, &opt, field);
  return r.marginsRemoved(field->textMargins()).width() - 2 * kInnerMargin;
}

namespace {

// What a field's frame and margins take of its width.
int overhead(const QLineEdit* field) { return field->width() - text_room(field); }

}  // namespace

void fit_chars(QLineEdit* field, int chars, QChar sample) {
  field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(chars, sample)) + overhead(field) + 1);
}

void fit_text(QLineEdit* field, const QString& text) {
  int needed = field->fontMetrics().horizontalAdvance(text) + overhead(field) + 1;
  if (needed > field->minimumWidth()) field->setMinimumWidth(needed);
}

void ActionButton::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
    if (isEnabled()) click();
    return;
  }
  QPushButton::keyPressEvent(event);
}

void path_field(QLineEdit* field) {
  QObject::connect(field, &QLineEdit::textChanged, field, [field](const QString& text) { field->setToolTip(text); });
  field->setToolTip(field->text());
}

void show_path(QLineEdit* field, const QString& path) {
  if (field->text() != path) field->setText(path);
  field->setToolTip(path);
  field->setCursorPosition(static_cast<int>(path.size()));
}

QPushButton* browse_button(const char* name, QWidget* parent) {
  QPushButton* b = button("...", name, parent);
  b->setFixedWidth(b->fontMetrics().horizontalAdvance(QString(6, QChar('.'))) + 16);
  return b;
}

}  // namespace tolvex::gui
