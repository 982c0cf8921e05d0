// SPDX-License-Identifier: MIT
#include "gui/batch_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "gui/qt_operator.h"
#include "gui/text.h"
#include "gui/widgets.h"
#include "gui/window_position.h"

namespace tolvex::gui {

using namespace runtime::literals;

BatchWindow::BatchWindow(core::Session& session, core::PackState& pack_state, QtOperator& op, QWidget* parent)
    : QDialog(parent), s_(session), op_(op), form_(session, pack_state) {
  setObjectName(QString::fromLatin1(app::kBatchSection.data(), static_cast<int>(app::kBatchSection.size())));
  setWindowTitle(qs(app::kBatchTitle));
  setSizeGripEnabled(true);
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  int row = 0;
  auto* flag = shown_field("FL_PAKET", this);
  flag->setMaximumWidth(30);
  flag->setToolTip(qs(app::kBatchModeTip));
  auto* mode = new QHBoxLayout;
  mode->addWidget(new QLabel(qs(app::kBatchModeLabel), this));
  mode->addWidget(flag);
  mode->addStretch(1);
  grid->addLayout(mode, row++, 0, 1, 3);
  grid->addWidget(new QLabel(qs(app::kInputFolderLabel), this), row++, 0, 1, 3);
  grid->addWidget(shown_field("PATH_IN4", this), row, 0, 1, 2);
  in4_ = browse_button("BUTTON_IN4", this);
  grid->addWidget(in4_, row++, 2);
  grid->addWidget(new QLabel(qs(app::kOutputFolderLabel), this), row++, 0, 1, 3);
  grid->addWidget(shown_field("PATH_OUT7", this), row, 0, 1, 2);
  out7_ = browse_button("BUTTON_OUT7", this);
  grid->addWidget(out7_, row++, 2);
  auto* counts = new QHBoxLayout;
  counts->addWidget(new QLabel(qs(app::kPackCountLabel), this));
  QLineEdit* kol = shown_field("KOL_PCH", this);
  counts->addWidget(kol);
  counts->addSpacing(16);
  counts->addWidget(new QLabel(qs(app::kCurrentPackLabel), this));
  QLineEdit* tek = shown_field("TEK_N_PCH", this);
  counts->addWidget(tek);
  for (QLineEdit* e : {kol, tek}) {
    fit_chars(e, 5);
    e->setMaximumWidth(e->minimumWidth());
  }
  counts->addStretch(1);
  grid->addLayout(counts, row++, 0, 1, 3);
  auto* entry = new QHBoxLayout;
  QLineEdit* name = shown_field("FIL:NAME", this);
  QLineEdit* short_name = shown_field("FIL:SHORTNAME", this);
  QLineEdit* size = shown_field("FIL:SIZE", this);
  fit_chars(name, 24);
  fit_chars(short_name, 12, QChar('W'));
  fit_chars(size, 10);
  name->setToolTip(qs(app::kEntryNameTip));
  short_name->setToolTip(qs(app::kEntryShortNameTip));
  size->setToolTip(qs(app::kEntrySizeTip));
  entry->addWidget(new QLabel(qs(app::kEntryNameLabel), this));
  entry->addWidget(name, 3);
  entry->addWidget(new QLabel(qs(app::kEntryShortNameLabel), this));
  entry->addWidget(short_name, 1);
  entry->addWidget(new QLabel(qs(app::kEntrySizeLabel), this));
  entry->addWidget(size, 1);
  grid->addLayout(entry, row++, 0, 1, 3);
  grid->addWidget(new QLabel(qs(app::kPackFileLabel), this), row, 0);
  grid->addWidget(shown_field("IN4_FILE", this), row++, 1, 1, 2);
  grid->setColumnStretch(1, 1);
  outer->addLayout(grid);
  bar_ = new QProgressBar(this);
  bar_->setObjectName("PROGRESS");
  bar_->setRange(0, 1);
  bar_->setValue(0);
  outer->addWidget(bar_);
  documents_ = new QLabel(this);
  documents_->setObjectName("DOCUMENTS");
  outer->addWidget(documents_);
  outer->addStretch(1);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  ok_ = button(qs(app::kBatchOk), "OKBUTTON", this);
  cancel_ = button(qs(app::kBatchCancel), "CANCELBUTTON", this);
  bottom->addWidget(ok_);
  bottom->addWidget(cancel_);
  outer->addLayout(bottom);

  connect(in4_, &QPushButton::clicked, this, [this] { op_.guard([this] { form_.choose_input_folder(); }); });
  connect(out7_, &QPushButton::clicked, this, [this] { op_.guard([this] { form_.choose_output_folder(); }); });
  connect(ok_, &QPushButton::clicked, this, [this] { start_batch(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { cancel(); });
  form_.on_change([this] { draw(); });
  draw();
  fit_to_screen(*this);
  // Wide enough for a folder of a usual depth, so that its name is seen whole.
  resize(std::max(width(),
                  std::min(room_on_screen(*this).width(), fontMetrics().horizontalAdvance(QString(96, QChar('x'))))),
         height());
}

QLineEdit* BatchWindow::field(const QString& name) const { return findChild<QLineEdit*>(name); }

void BatchWindow::draw() {
  const app::BatchFields& f = form_.fields();
  field("FL_PAKET")->setText(qs(f.mode));
  show_path(field("PATH_IN4"), qs(f.input));
  show_path(field("PATH_OUT7"), qs(f.output));
  field("KOL_PCH")->setText(qs(f.count));
  field("TEK_N_PCH")->setText(qs(f.current));
  field("FIL:NAME")->setText(qs_path(f.entry.filename()));
  field("FIL:SHORTNAME")->setText(QString::fromStdU16String(f.short_name));
  field("FIL:SIZE")->setText(qs(f.size));
  show_path(field("IN4_FILE"), qs_path(f.entry));
  documents_->setText(qs(f.documents));
  bar_->setRange(0, f.bar_maximum);
  bar_->setValue(f.bar_value);
  for (QPushButton* b : {in4_, out7_}) b->setEnabled(form_.folders_enabled());
  ok_->setEnabled(form_.ok_enabled());
  cancel_->setEnabled(form_.cancel_enabled());
}

void BatchWindow::start_batch() {
  if (form_.press_ok(op_)) finish();
}

void BatchWindow::cancel() {
  if (form_.press_cancel(op_)) finish();
}

void BatchWindow::run() {
  restore_position(s_.ini, app::kBatchSection, *this, true);
  ok_->setFocus();  // the batch is what the window is opened for
  exec();
}

void BatchWindow::finish() {
  if (finished_) return;
  finished_ = true;
  save_position(s_.ini, app::kBatchSection, *this, true);
  done(QDialog::Rejected);
}

void BatchWindow::closeEvent(QCloseEvent* event) {
  if (!finished_ && !op_.ending()) {
    event->ignore();
    cancel();
    return;
  }
  QDialog::closeEvent(event);
}

void BatchWindow::reject() {
  if (finished_ || op_.ending()) return QDialog::reject();
  cancel();
}

}  // namespace tolvex::gui
