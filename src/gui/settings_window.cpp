// SPDX-License-Identifier: MIT
#include "gui/settings_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/fitted_scroll_area.h"
#include "gui/qt_operator.h"
#include "gui/text.h"
#include "gui/widgets.h"
#include "gui/window_position.h"

namespace tolvex::gui {

namespace {

constexpr std::string_view kSection = "set_mode";

// A page scrolls when the screen is too small for it, so that the buttons stay in sight.
QVBoxLayout* new_page(QTabWidget* tabs, const QString& caption) {
  auto* w = new QWidget;
  auto* v = new QVBoxLayout(w);
  tabs->addTab(new FittedScrollArea(w), caption);
  return v;
}

void note(QVBoxLayout* page, const QString& text) {
  auto* l = new QLabel(text);
  l->setWordWrap(true);
  page->addWidget(l);
}

}  // namespace

SettingsWindow::SettingsWindow(core::Session& session, QtOperator& op, QWidget* parent)
    : QDialog(parent), s_(session), op_(op), form_(session) {
  setObjectName("set_mode");
  setWindowTitle(qs(app::kSettingsTitle));
  setSizeGripEnabled(true);
  auto* outer = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  outer->addWidget(pages_, 1);

  for (const app::SettingsPage& page : app::settings_pages()) {
    QVBoxLayout* p = new_page(pages_, qs(page.caption));
    for (const app::SettingsItem& item : page.items) {
      if (item.kind == app::SettingsItemKind::note) {
        note(p, qs(item.text));
      } else if (item.kind == app::SettingsItemKind::sample) {
        sample_ = shown_field("SAMPLE", this);
        sample_->setMaxLength(255);
        p->addWidget(sample_);
      } else if (item.kind == app::SettingsItemKind::program_folder) {
        p->addWidget(new QLabel(qs(item.text)));
        program_folder_ = new QLineEdit;
        program_folder_->setObjectName("PROGRAM_FOLDER");
        set_entry(program_folder_, false);
        path_field(program_folder_);
        p->addWidget(program_folder_);
      } else if (core::setting_row(item.setting).kind == core::SettingKind::flag) {
        add_check(p, item.setting);
      } else {
        add_field(p, item.setting);
      }
    }
    p->addStretch(1);
  }

  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  ok_ = button(QString::fromUtf8("&OK"), "OKBUTTON", this);
  cancel_ = button(QString::fromUtf8("Отмена"), "CANCELBUTTON", this);
  for (QPushButton* b : {ok_, cancel_}) {
    bottom->addWidget(b);
    // Each change was written when it was made: closing writes and undoes nothing.
    connect(b, &QPushButton::clicked, this, [this] { finish(); });
  }
  outer->addLayout(bottom);
  refresh();
  fit_to_screen(*this);
  // Wide enough for a folder of a usual depth, so that its name is seen whole.
  resize(std::max(width(),
                  std::min(room_on_screen(*this).width(), fontMetrics().horizontalAdvance(QString(96, QChar('x'))))),
         height());
}

void SettingsWindow::add_field(QVBoxLayout* page, core::Setting setting) {
  const core::SettingRow& row = core::setting_row(setting);
  page->addWidget(new QLabel(qs(row.caption)));
  auto* line = new QHBoxLayout;
  auto* e = new QLineEdit;
  e->setObjectName(QString::fromLatin1(row.key.data(), static_cast<qsizetype>(row.key.size())));
  if (row.width) e->setMaxLength(static_cast<int>(row.width));
  line->addWidget(e, 1);
  if (row.kind == core::SettingKind::folder || row.kind == core::SettingKind::program) path_field(e);
  fields_.push_back({setting, e});
  connect(e, &QLineEdit::editingFinished, this, [this, e, setting] {
    if (!e->isModified()) return;
    e->setModified(false);
    std::string typed = to_ansi(e->text());
    op_.guard([&] { e->setText(qs(form_.leave(setting, typed))); });
  });
  if (!row.dialog_title.empty()) {
    QPushButton* b = browse_button(qPrintable("BUTTON_" + e->objectName()), nullptr);
    line->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, e, setting] {
      op_.guard([&] {
        e->setText(qs(form_.browse(setting)));
        e->setModified(false);
      });
    });
  }
  page->addLayout(line);
}

void SettingsWindow::add_check(QVBoxLayout* page, core::Setting setting) {
  const core::SettingRow& row = core::setting_row(setting);
  auto* c = new QCheckBox(qs(row.caption));
  c->setObjectName(QString::fromLatin1(row.key.data(), static_cast<qsizetype>(row.key.size())));
  checks_.push_back({setting, c});
  page->addWidget(c);
  connect(c, &QCheckBox::clicked, this, [this, setting](bool on) {
    op_.guard([&] {
      if (form_.set_flag(setting, on)) refresh();  // the archive name and the sample line change with it
    });
  });
}

QLineEdit* SettingsWindow::edit(const QString& key) const { return findChild<QLineEdit*>(key); }

QCheckBox* SettingsWindow::check(const QString& key) const { return findChild<QCheckBox*>(key); }

QPushButton* SettingsWindow::browse(const QString& key) const { return findChild<QPushButton*>("BUTTON_" + key); }

void SettingsWindow::refresh() {
  program_folder_->setText(qs(s_.program_folder));
  for (const auto& [setting, e] : fields_) {
    QString v = qs(form_.value(setting));
    if (e->text() != v) e->setText(v);
    e->setModified(false);
  }
  for (const auto& [setting, c] : checks_) c->setChecked(form_.flag(setting) == 1);
  sample_->setText(qs(form_.sample_line()));
}

void SettingsWindow::run() {
  restore_position(s_.ini, kSection, *this, true);
  pages_->setCurrentIndex(0);
  program_folder_->setFocus();
  exec();
}

void SettingsWindow::finish() {
  if (finished_) return;
  // A field being edited is left now, and so written.
  if (auto* e = qobject_cast<QLineEdit*>(focusWidget())) emit e->editingFinished();
  finished_ = true;
  save_position(s_.ini, kSection, *this, true);
  done(QDialog::Accepted);
}

void SettingsWindow::reject() { finish(); }

void SettingsWindow::closeEvent(QCloseEvent* event) {
  if (!finished_) {
    event->ignore();
    finish();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace tolvex::gui
