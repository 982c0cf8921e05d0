// SPDX-License-Identifier: MIT
#include "app/gui/settings_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/gui/fitted_scroll_area.h"
#include "app/gui/qt_operator.h"
#include "app/gui/text.h"
#include "app/gui/widgets.h"
#include "app/gui/window_position.h"

namespace tolvex::gui {

namespace {

constexpr std::string_view kSection = "set_mode";

// A page scrolls when the screen is too small for it, so that the buttons stay in sight.
QVBoxLayout* new_page(QTabWidget* tabs, const char* caption) {
  auto* w = new QWidget;
  auto* v = new QVBoxLayout(w);
  tabs->addTab(new FittedScrollArea(w), QString::fromUtf8(caption));
  return v;
}

void note(QVBoxLayout* page, const char* text) {
  auto* l = new QLabel(QString::fromUtf8(text));
  l->setWordWrap(true);
  page->addWidget(l);
}

}  // namespace

SettingsWindow::SettingsWindow(core::Session& session, QtOperator& op, QWidget* parent)
    : QDialog(parent), s_(session), op_(op), form_(session) {
  setObjectName("set_mode");
  setWindowTitle(QString::fromUtf8("Настройки"));
  setSizeGripEnabled(true);
  auto* outer = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  outer->addWidget(pages_, 1);

  QVBoxLayout* p = new_page(pages_, "Папки");
  add_field(p, "Папка (каталог) программы конвертора Tolvex (лучше не менять)", "PROGRAM_FOLDER", Kind::shown, false);
  add_field(p, "Входная папка (каталог) для пачек формата 4 ПФР", "path_in4", Kind::folder_with_default, true);
  add_field(p, "Выходная папка (каталог) для сконвертированых пачек 7 формата XML", "path_out7",
            Kind::folder_with_default, true);
  add_field(p, "Местонахождение (путь) папки (каталога) с кодами постояных справочников", "path_kps",
            Kind::folder_with_default, true);
  add_field(p, "Местонахождение (путь) папки (каталога) для временых файлов и ошибок", "path_error",
            Kind::folder_with_default, true);
  add_field(p, "Местонахождение (путь) папки (каталога) для файлов отчета", "path_Report", Kind::folder_with_default,
            true);
  p->addStretch(1);

  p = new_page(pages_, "Проверка 4 формата");
  add_check(p, "Проверять перед конвертацией Одной пачки", "fl_p4");
  add_check(p, "Проверять ВСЕ пачки перед пакетной конвертацией", "fl_p4all");
  for (const char* line :
       {"K - проверка по КЛАДРу", "L - разрешить просмотр журнала проверки", "T - окно с итогами",
        "#  - включать в сообщения об ошибках и предупреждения   фамилию, имя, отчество и страховой номер",
        "E - можно редактировать", "Z  - проверка дублирования страховых номеров в пачке",
        "Wss - ждать клавишу ОК ss секунд", "U - не выводить диагноз на экран",
        "S - закончить проверку после ПЕРВОЙ ошибки", "Инструкцию по настройке смотрите в файле Dok\\CHECKPSN.TXT "})
    note(p, line);
  add_field(p, "Местонахождение (путь) программы проверки пачек 4 формата ПФР CheckPSN.exe", "path_ChPSN",
            Kind::program, false);
  add_field(p, "Параметры проверки пачек (командной строки)", "par_ChPSN", Kind::plain, false);
  p->addStretch(1);

  p = new_page(pages_, "Проверка 7 формата");
  add_field(p, "Местонахождение (путь) программы проверки документов 7 формата XML", "path_ChXML", Kind::program,
            false);
  add_check(p, "Всегда запускать программу проверки XML  после конвертации пачек", "fl_p7zap");
  note(p,
       "В настоящий момент программа проверки НЕ может работать с командной строкой подобно CheckPSN. Поэтому она "
       "вызывается несколько раз - при каждой проверке.");
  p->addStretch(1);

  p = new_page(pages_, "Архив");
  add_field(p, "Местонахождение (путь) папки резервных архивов входных и выходных документов", "path_Arhiv",
            Kind::plain, true);
  add_field(p, "Местонахождение (путь) программы-архиватора (RAR, pkZipc, arj)", "path_Arh_prg", Kind::program, false);
  add_field(p, "Параметры архиватора (командной строки)", "par_Arh_prg", Kind::plain, false);
  add_check(p, "Имена архивов из текущей даты+времени, например= 050723_1234.zip", "zip_dt");
  add_field(p, "Имя :", "imj_Arh", Kind::plain, false);
  sample_ = shown_field("SAMPLE", this);
  sample_->setMaxLength(255);
  p->addWidget(sample_);
  note(
      p,
      "В пакетном режиме в архив помещаются файлы обоих каталогов - с входными пачками 4 формата и выходными файлами 7 "
      "формата XML");
  p->addStretch(1);

  p = new_page(pages_, "Просмотр");
  add_field(p, "Местонахождение (путь) программы редактора текстовых файлов для просмотра", "path_edit", Kind::program,
            false);
  p->addStretch(1);

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

void SettingsWindow::add_field(QVBoxLayout* page, const char* prompt, const char* key_text, Kind kind,
                               bool folder_button) {
  QString key = QString::fromLatin1(key_text);
  page->addWidget(new QLabel(QString::fromUtf8(prompt)));
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

void SettingsWindow::add_check(QVBoxLayout* page, const char* caption, const char* key_text) {
  QString key = QString::fromLatin1(key_text);
  auto* c = new QCheckBox(QString::fromUtf8(caption));
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
