// SPDX-License-Identifier: MIT
#include "gui/converter_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>

#include "app/converter_form.h"
#include "gui/fitted_scroll_area.h"
#include "gui/list_table.h"
#include "gui/text.h"
#include "gui/view_form.h"
#include "gui/widgets.h"
#include "gui/window_position.h"

namespace tolvex::gui {

ConverterWindow::ConverterWindow(const core::ConverterView& view, QWidget* parent) : QDialog(parent) {
  setObjectName(QString::fromStdString(view.procedure));
  setWindowModality(Qt::ApplicationModal);
  setSizeGripEnabled(true);
  auto* outer = new QVBoxLayout(this);
  body_ = new QVBoxLayout;
  outer->addLayout(body_, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(new QLabel(qs(app::kConverterStarted), this));
  started_ = new QLabel(this);
  started_->setObjectName("T_RAB_N");
  bottom->addWidget(started_);
  bottom->addSpacing(16);
  bottom->addWidget(new QLabel(qs(app::kConverterElapsed), this));
  elapsed_ = new QLabel(this);
  elapsed_->setObjectName("T_RAB");
  bottom->addWidget(elapsed_);
  bottom->addSpacing(16);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("PROGRESS");
  progress_->setFormat(QString::fromUtf8("документов %v из %m"));
  progress_->setMinimumWidth(progress_->fontMetrics().horizontalAdvance(QString::fromUtf8("документов 9999 из 9999")) +
                             32);
  progress_->setVisible(false);
  bottom->addWidget(progress_, 1);
  bottom->addStretch(1);
  if (app::has_next(view)) {
    next_ = button(qs(view.next_caption), "NEXTBUTTON", this);
    bottom->addWidget(next_);
    connect(next_, &QPushButton::clicked, this, [this] { answer(core::ConverterAction::next); });
  }
  ok_ = button(qs(app::kConverterOk), "OKBUTTON", this);
  bottom->addWidget(ok_);
  connect(ok_, &QPushButton::clicked, this, [this] { answer(core::ConverterAction::ok); });
  if (app::has_next(view)) {
    cancel_ = button(qs(app::kConverterCancel), "CANCELBUTTON", this);
    bottom->addWidget(cancel_);
    connect(cancel_, &QPushButton::clicked, this, [this] { answer(core::ConverterAction::cancel); });
  }
  outer->addLayout(bottom);
  (next_ ? next_ : ok_)->setFocus();  // the first action
  show_view(view);
  fit_to_screen(*this);
}

QWidget* ConverterWindow::page_widget(const core::ViewPage& page, int room) {
  auto* w = new QWidget;
  auto* v = new QVBoxLayout(w);
  room -= v->contentsMargins().left() + v->contentsMargins().right();
  // The groups framed under their captions, side by side where a group is marked to stand
  // beside the one before it and they fit the room; otherwise one under another.
  const std::vector<core::ViewGroup>& groups = page.groups;
  auto group_widget = [&](const core::ViewGroup& group, int share) -> QWidget* {
    if (group.caption.empty()) return view_form(group.fields, share, w);
    auto* box = new QGroupBox(qs(group.caption), w);
    auto* inside = new QVBoxLayout(box);
    int margins = inside->contentsMargins().left() + inside->contentsMargins().right() +
                  2 * box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    inside->addWidget(view_form(group.fields, share - margins, box));
    return box;
  };
  for (std::size_t i = 0; i < groups.size();) {
    std::size_t n = 1;
    while (i + n < groups.size() && groups[i + n].beside) ++n;
    auto* row = new QHBoxLayout;
    int share = (room - static_cast<int>(n - 1) * row->spacing()) / static_cast<int>(n);
    std::vector<QWidget*> made;
    int width = static_cast<int>(n - 1) * row->spacing();
    for (std::size_t g = i; g < i + n; ++g) {
      made.push_back(group_widget(groups[g], share));
      width += made.back()->minimumSizeHint().width();
    }
    if (n > 1 && width > room) {
      for (QWidget* m : made) delete m;
      made.clear();
      delete row;
      for (std::size_t g = i; g < i + n; ++g) {
        auto* alone = new QHBoxLayout;
        alone->addWidget(group_widget(groups[g], room), 1);
        v->addLayout(alone);
      }
    } else {
      for (QWidget* m : made) row->addWidget(m, 1);
      v->addLayout(row);
    }
    i += n;
  }
  // The lists under them, side by side where a list stands beside the one before it and the
  // room allows.
  QHBoxLayout* row = nullptr;
  int used = 0;
  for (const auto& list : page.lists) {
    auto* table = new ListTable(list);
    table->fit_to(room - (list.caption.empty() ? 0 : 32));
    int width = table->content_width() + (list.caption.empty() ? 0 : 32);
    if (!row || !list.beside || used + row->spacing() + width > room) {
      row = new QHBoxLayout;
      v->addLayout(row, 1);
      used = 0;
    }
    used += (used ? row->spacing() : 0) + width;
    if (list.caption.empty()) {
      table->setParent(w);
      row->addWidget(table, 1);
      continue;
    }
    auto* box = new QGroupBox(qs(list.caption), w);
    (new QVBoxLayout(box))->addWidget(table);
    table->setParent(box);
    row->addWidget(box, 1);
  }
  if (page.lists.empty()) v->addStretch(1);
  return w;
}

void ConverterWindow::show_view(const core::ConverterView& view) {
  setWindowTitle(qs(view.title));
  int tab = tabs_ ? tabs_->currentIndex() : 0;
  // The previous document's widgets go once the event being handled is done: a key pressed in
  // one of them may have pressed the button that shows the next document.
  if (content_) {
    body_->removeWidget(content_);
    content_->hide();
    content_->deleteLater();
  }
  content_ = nullptr;
  tabs_ = nullptr;
  bool tabbed = app::is_tabbed(view);
  // The room the forms have: the screen's, less the window's margins, a tab's frame and the
  // scroll bar of a page taller than the screen.
  int room = room_on_screen(*this).width() - 2 * layout()->contentsMargins().left() - (tabbed ? 16 : 0) -
             style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  if (tabbed) {
    tabs_ = new QTabWidget(this);
    for (const auto& page : view.pages) tabs_->addTab(new FittedScrollArea(page_widget(page, room)), qs(page.caption));
    if (tab < tabs_->count()) tabs_->setCurrentIndex(tab);
    content_ = tabs_;
  } else {
    content_ = new FittedScrollArea(view.pages.empty() ? new QWidget : page_widget(view.pages.front(), room), this);
  }
  body_->addWidget(content_, 1);
  started_->setText(QString::fromStdString(view.started));
  elapsed_->setText(QString::fromStdString(view.elapsed));
}

void ConverterWindow::show_progress(long long done, long long announced) {
  if (!running_) {
    running_ = true;
    for (QPushButton* b : {next_, ok_, cancel_})
      if (b) b->setEnabled(false);
    progress_->setVisible(true);
  }
  progress_->setRange(0, static_cast<int>(std::max(1LL, announced)));
  progress_->setValue(static_cast<int>(std::min(done, announced)));
}

void ConverterWindow::answer(std::optional<core::ConverterAction> a) {
  if (busy_ || !pressed_) return;
  busy_ = true;
  // The window may be closed and deleted later by what the button does, never at once.
  pressed_(a);
  busy_ = false;
}

void ConverterWindow::closeEvent(QCloseEvent* event) {
  // Whoever drives the run closes the window when the run ends; the frame only answers.
  event->ignore();
  answer(std::nullopt);
}

void ConverterWindow::reject() { answer(std::nullopt); }

}  // namespace tolvex::gui
