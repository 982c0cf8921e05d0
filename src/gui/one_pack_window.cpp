// SPDX-License-Identifier: MIT
#include "gui/one_pack_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "gui/fitted_scroll_area.h"
#include "gui/qt_operator.h"
#include "gui/text.h"
#include "gui/widgets.h"
#include "gui/window_position.h"
#include "runtime/paths.h"

namespace tolvex::gui {

namespace {

// What the entry fields take while they are typed; the whole value is checked when left.
QValidator* entry_validator(std::string_view field, QObject* parent) {
  app::EntryTyping t = app::entry_typing(field);
  if (t.allowed.empty()) return nullptr;
  QString chars = QRegularExpression::escape(QString::fromLatin1(t.allowed.data(), static_cast<int>(t.allowed.size())));
  return new QRegularExpressionValidator(QRegularExpression(QString("[%1]{0,%2}").arg(chars).arg(t.most)), parent);
}

}  // namespace

OnePackWindow::OnePackWindow(core::Session& session, core::PackState& pack_state, QtOperator& op, QWidget* parent)
    : QDialog(parent), s_(session), p_(pack_state), op_(op), form_(session, pack_state) {
  setObjectName(QString::fromLatin1(app::kOnePackSection.data(), app::kOnePackSection.size()));
  setWindowTitle(qs(app::kOnePackTitle));
  setSizeGripEnabled(true);

  auto* outer = new QVBoxLayout(this);
  // The folders side by side; the files, with their long names, each on a row of its own.
  auto* files = new QGridLayout;
  files->addWidget(new QLabel(qs(app::kPathIn4Prompt), this), 0, 0);
  files->addWidget(fields_["PATH_IN4"] = shown_field("PATH_IN4", this), 0, 1);
  out_ = button(qs(app::kOutputCaption), "BUTTON_OUT_P", this);
  files->addWidget(out_, 0, 2);
  files->addWidget(fields_["PATH_OUT7"] = shown_field("PATH_OUT7", this), 0, 3);
  in4_ = button(qs(app::kPackCaption), "BUTTON_IN4", this);
  files->addWidget(in4_, 1, 0);
  files->addWidget(fields_["IN4_FILE"] = shown_field("IN4_FILE", this), 1, 1, 1, 3);
  files->addWidget(new QLabel(qs(app::kOut7Prompt), this), 2, 0);
  files->addWidget(fields_["OUT7_FILE"] = shown_field("OUT7_FILE", this), 2, 1, 1, 3);
  files->setColumnStretch(1, 1);
  files->setColumnStretch(3, 1);
  outer->addLayout(files);

  auto* header = new QWidget;
  std::vector<QGroupBox*> boxes;
  for (const app::HeaderGroup& g : app::header_groups()) boxes.push_back(record_box(g));
  QGroupBox *zag4 = boxes[0], *ist4 = boxes[1], *pch = boxes[2], *dokt = boxes[3];
  add_value(static_cast<QGridLayout*>(dokt->layout()), 1, 2, 1, qs(app::kFormNamePrompt),
            fields_["TYP_PFR"] = shown_field("TYP_PFR", dokt));
  fit_chars(fields_["TYP_PFR"], 8, QChar(u'Н'));
  // The groups two by two where the screen is wide enough, otherwise one under another.
  auto* groups = new QGridLayout(header);
  groups->setContentsMargins(0, 0, 0, 0);
  int both = std::max(zag4->minimumSizeHint().width(), ist4->minimumSizeHint().width()) +
             std::max(pch->minimumSizeHint().width(), dokt->minimumSizeHint().width()) + 2 * groups->spacing() +
             2 * outer->contentsMargins().left() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  if (both <= room_on_screen(*this).width()) {
    groups->addWidget(zag4, 0, 0);
    groups->addWidget(dokt, 0, 1);
    groups->addWidget(ist4, 1, 0, Qt::AlignTop);
    groups->addWidget(pch, 1, 1, Qt::AlignTop);
    groups->setColumnStretch(0, 1);
    groups->setColumnStretch(1, 1);
  } else {
    int row = 0;
    for (QGroupBox* b : {zag4, ist4, pch, dokt}) groups->addWidget(b, row++, 0);
  }
  groups->setRowStretch(groups->rowCount(), 1);
  outer->addWidget(new FittedScrollArea(header, this), 1);
  status_ = new QLabel(this);
  status_->setObjectName("STATUS");
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  outer->addWidget(status_);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(new QLabel(qs(app::kStartedPrompt), this));
  bottom->addWidget(fields_["T_RAB_N"] = shown_field("T_RAB_N", this));
  bottom->addWidget(new QLabel(qs(app::kHeaderTimePrompt), this));
  bottom->addWidget(fields_["T_RAB"] = shown_field("T_RAB", this));
  fit_chars(fields_["T_RAB_N"], 8);
  fit_chars(fields_["T_RAB"], 11);
  fields_["T_RAB"]->setToolTip(qs(app::kHeaderTimeTip));
  for (const char* name : {"T_RAB_N", "T_RAB"}) fields_[name]->setMaximumWidth(fields_[name]->minimumWidth());
  bottom->addStretch(1);
  ok_ = button(qs(app::kOkCaption), "OKBUTTON", this);
  cancel_ = button(qs(app::kCancelCaption), "CANCELBUTTON", this);
  bottom->addWidget(ok_);
  bottom->addWidget(cancel_);
  outer->addLayout(bottom);

  connect(in4_, &QPushButton::clicked, this, [this] { choose_pack(); });
  connect(out_, &QPushButton::clicked, this, [this] { choose_output(); });
  connect(ok_, &QPushButton::clicked, this, [this] { convert_pack(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { cancel(); });
  refresh();
  fit_to_screen(*this);
}

QLineEdit* OnePackWindow::add_value(QGridLayout* grid, int row, int column, int span, const QString& prompt,
                                    QLineEdit* value) {
  auto* label = new QLabel(prompt, grid->parentWidget());
  label->setBuddy(value);
  grid->addWidget(label, row, column, Qt::AlignRight | Qt::AlignVCenter);
  grid->addWidget(value, row, column + 1, 1, span);
  return value;
}

QGroupBox* OnePackWindow::record_box(const app::HeaderGroup& group) {
  const core::Record& record = group.record == "ZAG4"   ? static_cast<const core::Record&>(p_.header.zag4)
                               : group.record == "IST4" ? static_cast<const core::Record&>(p_.header.ist4)
                               : group.record == "PCH"  ? static_cast<const core::Record&>(p_.header.pch)
                                                        : static_cast<const core::Record&>(p_.header.dokt);
  auto* box = new QGroupBox(qs(group.caption));
  auto* grid = new QGridLayout(box);
  grid->setVerticalSpacing(3);
  QString rec = QString::fromLatin1(group.record.data(), static_cast<int>(group.record.size()));
  std::size_t pairs = 0;
  for (const auto& row : group.rows) pairs = std::max(pairs, row.size());
  for (int r = 0; r < static_cast<int>(group.rows.size()); ++r) {
    for (std::size_t c = 0; c < group.rows[r].size(); ++c) {
      std::string_view f = group.rows[r][c];
      const core::FieldDef& def = record.layout().fields[record.layout().index(f)];
      std::string key = std::string(group.record) + ":" + std::string(f);
      QString name = rec + ":" + QString::fromLatin1(f.data(), static_cast<int>(f.size()));
      QLineEdit* edit = shown_field(name, box);
      edit->setMaxLength(static_cast<int>(def.width));
      // Long fields (names) take the rest of their row and grow with the window.
      bool wide = def.width >= 40;
      int chars = static_cast<int>(std::min<std::size_t>(def.width, 20));
      fit_chars(edit, chars, app::holds_letters(f) ? QChar(u'Н') : QChar('0'));
      int span = wide ? static_cast<int>(pairs - c) * 2 - 1 : 1;
      add_value(grid, r, static_cast<int>(c) * 2, span, qs(app::header_caption(group.record, f)), edit);
      fields_[name] = edit;
      if (app::OnePackForm::is_entry(key)) {
        entries_.push_back(edit);
        if (QValidator* v = entry_validator(f, edit)) edit->setValidator(v);
        app::EntryTyping typing = app::entry_typing(f);
        if (!typing.hint.empty()) edit->setToolTip(qs(typing.hint));
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { take_entry(edit); });
        entry_of_[edit] = key;
      }
    }
  }
  for (int c = 1; c < static_cast<int>(pairs) * 2; c += 2) grid->setColumnStretch(c, 1);
  return box;
}

bool OnePackWindow::take_entry(QLineEdit* edit) {
  if (edit->isReadOnly()) return true;
  bool taken = true;
  op_.guard([&] { taken = form_.leave_entry(entry_of_.at(edit), to_ansi(edit->text().trimmed())); });
  if (!taken) {
    // Not taken: the field keeps what was typed, with the focus back in it and its text
    // selected, to be put right.
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return false;
  }
  refresh(true);
  return true;
}

QLineEdit* OnePackWindow::field(const QString& name) const {
  auto it = fields_.find(name);
  return it == fields_.end() ? nullptr : it->second;
}

void OnePackWindow::refresh(bool keep_entries) {
  auto set = [this, keep_entries](const QString& name, const QString& text) {
    QLineEdit* e = fields_.at(name);
    if (keep_entries && entry_of_.count(e)) return;  // what is typed there stays
    if (e->text() != text) {
      e->setText(text);
      e->setCursorPosition(0);
    }
  };
  // The paths with their ends (the files' names) in sight.
  show_path(fields_.at("PATH_IN4"), qs(form_.value("PATH_IN4")));
  show_path(fields_.at("PATH_OUT7"), qs(form_.value("PATH_OUT7")));
  show_path(fields_.at("IN4_FILE"), form_.in4_file().empty() ? QString() : qs_path(form_.in4_file()));
  show_path(fields_.at("OUT7_FILE"), qs(form_.value("OUT7_FILE")));
  for (const auto& [name, edit] : fields_) {
    if (name.startsWith("PATH_") || name == "IN4_FILE" || name == "OUT7_FILE") continue;
    set(name, qs(form_.value(name.toStdString())));
  }
  for (QLineEdit* e : entries_) set_entry(e, form_.entries_open());
  for (QPushButton* b : {in4_, out_, ok_, cancel_}) b->setEnabled(form_.buttons_enabled());
  status_->setText(qs(form_.status()));
}

void OnePackWindow::run(const std::optional<std::filesystem::path>& pack) {
  restore_position(s_.ini, app::kOnePackSection, *this, true);
  in4_->setFocus();  // the first action
  if (pack) {
    std::filesystem::path p = *pack;
    QTimer::singleShot(0, this, [this, p] { take_pack(p); });
  }
  exec();
}

void OnePackWindow::after_step() {
  if (form_.ended()) return finish();
  refresh();
}

void OnePackWindow::choose_pack() {
  op_.guard([this] { form_.choose_pack(); });
  after_step();
}

void OnePackWindow::take_pack(const std::filesystem::path& pack) {
  form_.take_pack(op_, pack);
  after_step();
}

void OnePackWindow::choose_output() {
  op_.guard([this] { form_.choose_output(); });
  after_step();
}

void OnePackWindow::convert_pack() {
  form_.press_ok(
      op_, {.typed =
                [this](std::string_view name) {
                  QLineEdit* e = fields_.at(QString::fromLatin1(name.data(), static_cast<int>(name.size())));
                  e->setModified(false);
                  return to_ansi(e->text().trimmed());
                },
            .refused =
                [this](std::string_view name) {
                  QLineEdit* e = fields_.at(QString::fromLatin1(name.data(), static_cast<int>(name.size())));
                  e->setFocus(Qt::OtherFocusReason);
                  e->selectAll();
                },
            .redraw = [this] { refresh(); },
            .open_converter = [this](core::DocumentRun& run) { op_.open_converter(run, [this] { documents_done(); }); },
            .documents_done = [this] { documents_done(); }});
}

void OnePackWindow::documents_done() {
  form_.finish_ok(op_);
  refresh();
}

void OnePackWindow::cancel() {
  if (form_.press_cancel(op_)) finish();
}

void OnePackWindow::finish() {
  if (finished_) return;
  finished_ = true;
  save_position(s_.ini, app::kOnePackSection, *this, true);
  done(QDialog::Rejected);
}

void OnePackWindow::closeEvent(QCloseEvent* event) {
  if (!finished_ && !op_.ending()) {
    // Closing by the frame is "Отмена".
    event->ignore();
    cancel();
    return;
  }
  QDialog::closeEvent(event);
}

void OnePackWindow::reject() {
  if (finished_ || op_.ending()) return QDialog::reject();
  cancel();
}

}  // namespace tolvex::gui
