#include "app/gui/converter_window.h"

#include "app/gui/widgets.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>

#include "app/gui/text.h"

namespace tolvex::gui {

namespace {

constexpr int kFieldColumns = 3;  // prompt/value pairs side by side

}  // namespace

ConverterWindow::ConverterWindow(const core::ConverterView& view, QWidget* parent) : QDialog(parent) {
  setObjectName(QString::fromStdString(view.procedure));
  setWindowModality(Qt::ApplicationModal);
  setSizeGripEnabled(true);
  resize(900, 600);
  auto* outer = new QVBoxLayout(this);
  body_ = new QVBoxLayout;
  outer->addLayout(body_, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(new QLabel(QString::fromUtf8("Начало:"), this));
  started_ = new QLabel(this);
  started_->setObjectName("T_RAB_N");
  bottom->addWidget(started_);
  bottom->addSpacing(16);
  bottom->addWidget(new QLabel(QString::fromUtf8("Время:"), this));
  elapsed_ = new QLabel(this);
  elapsed_->setObjectName("T_RAB");
  bottom->addWidget(elapsed_);
  bottom->addStretch(1);
  if (!view.next_caption.empty()) {
    next_ = button(qs(view.next_caption), "NEXTBUTTON", this);
    bottom->addWidget(next_);
    connect(next_, &QPushButton::clicked, this, [this] { answer(core::ConverterAction::next); });
  }
  ok_ = button(QString::fromUtf8("&OK"), "OKBUTTON", this);
  bottom->addWidget(ok_);
  connect(ok_, &QPushButton::clicked, this, [this] { answer(core::ConverterAction::ok); });
  if (!view.next_caption.empty()) {
    cancel_ = button(QString::fromUtf8("Отмена"), "CANCELBUTTON", this);
    bottom->addWidget(cancel_);
    connect(cancel_, &QPushButton::clicked, this, [this] { answer(core::ConverterAction::cancel); });
  }
  outer->addLayout(bottom);
  show_view(view);
}

QWidget* ConverterWindow::page_widget(const core::ViewPage& page) {
  auto* w = new QWidget;
  auto* v = new QVBoxLayout(w);
  if (!page.fields.empty()) {
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < page.fields.size(); ++i) {
      int row = static_cast<int>(i / kFieldColumns), col = static_cast<int>(i % kFieldColumns) * 2;
      auto* prompt = new QLabel(qs(page.fields[i].prompt), w);
      auto* value = new QLineEdit(qs(page.fields[i].value), w);
      value->setReadOnly(true);
      value->setCursorPosition(0);
      prompt->setBuddy(value);
      grid->addWidget(prompt, row, col, Qt::AlignRight);
      grid->addWidget(value, row, col + 1);
      grid->setColumnStretch(col + 1, 1);
    }
    v->addLayout(grid);
  }
  for (const auto& list : page.lists) {
    QWidget* holder = w;
    QVBoxLayout* into = v;
    if (!list.caption.empty()) {
      auto* box = new QGroupBox(qs(list.caption), w);
      into = new QVBoxLayout(box);
      v->addWidget(box, 1);
      holder = box;
    }
    auto* table = new QTableWidget(static_cast<int>(list.rows.size()), static_cast<int>(list.columns.size()), holder);
    QStringList headers;
    for (const auto& c : list.columns) headers << qs(c);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    for (std::size_t r = 0; r < list.rows.size(); ++r)
      for (std::size_t c = 0; c < list.rows[r].size() && c < list.columns.size(); ++c)
        table->setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(qs(list.rows[r][c])));
    table->resizeColumnsToContents();
    into->addWidget(table, 1);
  }
  v->addStretch(0);
  return w;
}

void ConverterWindow::show_view(const core::ConverterView& view) {
  setWindowTitle(qs(view.title));
  int tab = tabs_ ? tabs_->currentIndex() : 0;
  // The previous document's widgets go at once (this runs between two waits, never inside
  // one of their own events).
  delete content_;
  content_ = nullptr;
  tabs_ = nullptr;
  bool tabbed = view.pages.size() > 1 || (view.pages.size() == 1 && !view.pages.front().caption.empty());
  if (tabbed) {
    tabs_ = new QTabWidget(this);
    for (const auto& page : view.pages) tabs_->addTab(page_widget(page), qs(page.caption));
    if (tab < tabs_->count()) tabs_->setCurrentIndex(tab);
    content_ = tabs_;
  } else {
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(view.pages.empty() ? new QWidget : page_widget(view.pages.front()));
    content_ = scroll;
  }
  body_->addWidget(content_, 1);
  started_->setText(QString::fromStdString(view.started));
  elapsed_->setText(QString::fromStdString(view.elapsed));
}

core::ConverterAction ConverterWindow::wait_for_action() {
  action_.reset();
  QEventLoop loop;
  loop_ = &loop;
  if (!action_) loop.exec();
  loop_ = nullptr;
  // The loop also ends when the program ends: nothing more is converted then.
  return action_.value_or(core::ConverterAction::cancel);
}

void ConverterWindow::answer(core::ConverterAction a) {
  if (!loop_) return;
  action_ = a;
  loop_->quit();
}

void ConverterWindow::closeEvent(QCloseEvent* event) {
  // The converter closes the window when its run ends; the frame only answers.
  if (loop_) {
    answer(next_ ? core::ConverterAction::cancel : core::ConverterAction::ok);
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void ConverterWindow::reject() {
  if (loop_) {
    answer(next_ ? core::ConverterAction::cancel : core::ConverterAction::ok);
    return;
  }
  QDialog::reject();
}

}  // namespace tolvex::gui
