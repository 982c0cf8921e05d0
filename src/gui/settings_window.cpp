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
      if (item.kind == app::SettingsItemKind::check) {
        add_check(p, qs(item.text), item.key);
      } else if (item.kind == app::SettingsItemKind::note) {
        note(p, qs(item.text));
      } else if (item.kind == app::SettingsItemKind::sample) {
        sample_ = shown_field("SAMPLE", this);
        sample_->setMaxLength(255);
        p->addWidget(sample_);
      } else {
        add_field(p, qs(item.text), item.key, item.kind, item.folder_button);
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

void SettingsWindow::add_field(QVBoxLayout* page, const QString& prompt, std::string_view key_text, Kind kind,
                               bool folder_button) {
  QString key = QString::fromLatin1(key_text.data(), static_cast<qsizetype>(key_text.size()));
  page->addWidget(new QLabel(prompt));
  auto* row = new QHBoxLayout;
  auto* e = new QLineEdit;
  e->setObjectName(key);
  std::size_t width = core::setting_width(key.toStdString());
  if (width) e->setMaxLength(static_cast<int>(width));
  row->addWidget(e, 1);
  if (kind == Kind::shown) set_entry(e, false);
  if (key == "PROGRAM_FOLDER" || key.startsWith("path_")) path_field(e);
  edits_[key] = e;
  std::string k = key.toStdString();
  if (kind != Kind::shown) {
    connect(e, &QLineEdit::editingFinished, this, [this, e, k, kind] {
      if (!e->isModified()) return;
      e->setModified(false);
      std::string typed = to_ansi(e->text());
      op_.guard([&] {
        std::string v = kind == Kind::folder_with_default ? form_.leave_folder(k, typed) : form_.leave_text(k, typed);
        e->setText(qs(v));
      });
    });
  }
  if (kind == Kind::program || folder_button) {
    QPushButton* b = browse_button(qPrintable("BUTTON_" + key), nullptr);
    row->addWidget(b);
    browse_[key] = b;
    connect(b, &QPushButton::clicked, this, [this, e, k, kind] {
      op_.guard([&] {
        std::string_view title = app::SettingsForm::browse_title(k);
        std::string v = kind == Kind::program ? form_.browse_program(k, title) : form_.browse_folder(k, title);
        e->setText(qs(v));
        e->setModified(false);
      });
    });
  }
  page->addLayout(row);
}

void SettingsWindow::add_check(QVBoxLayout* page, const QString& caption, std::string_view key_text) {
  QString key = QString::fromLatin1(key_text.data(), static_cast<qsizetype>(key_text.size()));
  auto* c = new QCheckBox(caption);
  c->setObjectName(key);
  checks_[key] = c;
  page->addWidget(c);
  std::string k = key.toStdString();
  connect(c, &QCheckBox::clicked, this, [this, k](bool on) {
    op_.guard([&] {
      if (k == "zip_dt") {
        form_.set_zip_dt(on);
        refresh();  // the archive name and the sample line change with it
      } else {
        form_.set_flag(k, on);
      }
    });
  });
}

QLineEdit* SettingsWindow::edit(const QString& key) const {
  if (key == "SAMPLE") return sample_;
  auto it = edits_.find(key);
  return it == edits_.end() ? nullptr : it->second;
}

QCheckBox* SettingsWindow::check(const QString& key) const {
  auto it = checks_.find(key);
  return it == checks_.end() ? nullptr : it->second;
}

QPushButton* SettingsWindow::browse(const QString& key) const {
  auto it = browse_.find(key);
  return it == browse_.end() ? nullptr : it->second;
}

void SettingsWindow::refresh() {
  for (const auto& [key, e] : edits_) {
    QString v = key == "PROGRAM_FOLDER" ? qs(s_.program_folder) : qs(form_.value(key.toStdString()));
    if (e->text() != v) e->setText(v);
    e->setModified(false);
  }
  for (const auto& [key, c] : checks_) c->setChecked(form_.flag(key.toStdString()) == 1);
  sample_->setText(qs(form_.sample_line()));
}

void SettingsWindow::run() {
  restore_position(s_.ini, kSection, *this, true);
  pages_->setCurrentIndex(0);
  edits_.at("PROGRAM_FOLDER")->setFocus();
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
