// SPDX-License-Identifier: MIT
#include "gui/batch_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "core/conversion/messages.h"
#include "gui/qt_operator.h"
#include "gui/text.h"
#include "gui/widgets.h"
#include "gui/window_position.h"
#include "runtime/paths.h"

namespace tolvex::gui {

using namespace runtime::literals;

namespace {

constexpr std::string_view kSection = "all_pch";

// The short (8.3) form of a name.
QString short_name(const std::filesystem::path& p) {
  QString stem = qs_path(p.stem()).left(8).toUpper(), ext = qs_path(p.extension()).left(4).toUpper();
  return stem + ext;
}

}  // namespace

namespace {

struct Heading {
  core::PackOutcome outcome;
  std::string_view count;  // the count's line in the box
  std::string_view list;   // the heading of its packs in the details
};

constexpr Heading kHeadings[] = {
    {core::PackOutcome::converted, "Сконвертировано: "_w, "Сконвертированы:"_w},
    {core::PackOutcome::documents_left_out, "Сконвертировано, но не все документы (их больше, чем указано в пачке): "_w,
     "Сконвертированы указанные в пачке документы, остальные не конвертированы (см. журнал):"_w},
    {core::PackOutcome::not_converted, "Не конвертируются (тип документа пока не обрабатывается): "_w,
     "Не конвертируются (в файле XML только опись пачки):"_w},
    {core::PackOutcome::rejected, "Отвергнуто (не пачка 4 формата): "_w, "Отвергнуты (не пачка 4 формата):"_w},
    {core::PackOutcome::unreadable, "Не прочитано (пачка не открывается или не читается): "_w, "Не прочитаны:"_w},
    {core::PackOutcome::no_output, "Не записано (выходной файл не создан): "_w, "Не записаны:"_w},
};

}  // namespace

std::string batch_summary_text(const app::BatchSummary& summary) {
  std::string text;
  if (summary.stopped)
    text = std::string("Пакетная обработка остановлена оператором: обработано пачек "_w) +
           std::to_string(summary.results.size()) + std::string(" из "_w) + std::to_string(summary.packs) + ".\n";
  text += std::string("Пачек в каталоге: "_w) + std::to_string(summary.packs) + ".";
  for (const Heading& h : kHeadings) {
    std::size_t n = summary.of(h.outcome).size();
    // Packs that could not be read are counted only when there are any.
    if (n == 0 && h.outcome == core::PackOutcome::unreadable) continue;
    text += "\n" + std::string(h.count) + std::to_string(n) + ".";
  }
  return text;
}

std::string batch_summary_details(const app::BatchSummary& summary) {
  std::string text;
  for (const Heading& h : kHeadings) {
    auto packs = summary.of(h.outcome);
    if (packs.empty()) continue;
    if (!text.empty()) text += "\n";
    text += std::string(h.list) + "\n";
    for (const app::BatchResult* r : packs) {
      text += "    " + runtime::path_to_ansi(r->pack.filename());
      if (!r->form.empty()) text += " (" + r->form + ")";
      if (r->link) text += std::string(": ссылка, не пачка"_w);
      if (!r->name_taken_by.empty())
        text += std::string(": имя файла XML уже дано пачке "_w) +
                runtime::path_to_ansi(runtime::ansi_to_path(r->name_taken_by).filename());
      text += "\n";
    }
  }
  return text;
}

BatchWindow::BatchWindow(core::Session& session, core::PackState& pack_state, QtOperator& op, QWidget* parent)
    : QDialog(parent), s_(session), op_(op), batch_(session, pack_state) {
  // Packs whose conversion asks the operator nothing are converted on every processor, ahead of
  // their turn; a pack with a box waits for its turn and shows it here, one box at a time.
  batch_.set_jobs(app::default_jobs());
  setObjectName("all_pch");
  setWindowTitle(QString::fromUtf8("Пакетная обработка пачек 4 формата ПФР  в 7 формат XML"));
  setSizeGripEnabled(true);
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  int row = 0;
  auto* flag = shown_field("FL_PAKET", this);
  flag->setMaximumWidth(30);
  flag->setToolTip(QString::fromUtf8("Пакетный режим: 1, пока открыто окно пакетной обработки"));
  auto* mode = new QHBoxLayout;
  mode->addWidget(new QLabel(QString::fromUtf8("Пакетный режим:"), this));
  mode->addWidget(flag);
  mode->addStretch(1);
  grid->addLayout(mode, row++, 0, 1, 3);
  grid->addWidget(new QLabel(QString::fromUtf8("Папка (каталог) входных пачек 4 формата ПФР"), this), row++, 0, 1, 3);
  grid->addWidget(shown_field("PATH_IN4", this), row, 0, 1, 2);
  in4_ = browse_button("BUTTON_IN4", this);
  grid->addWidget(in4_, row++, 2);
  grid->addWidget(new QLabel(QString::fromUtf8("Папка (каталог) выходных файлов 7 формата XML"), this), row++, 0, 1, 3);
  grid->addWidget(shown_field("PATH_OUT7", this), row, 0, 1, 2);
  out7_ = browse_button("BUTTON_OUT7", this);
  grid->addWidget(out7_, row++, 2);
  auto* counts = new QHBoxLayout;
  counts->addWidget(new QLabel(QString::fromUtf8("Количество пачек"), this));
  QLineEdit* kol = shown_field("KOL_PCH", this);
  counts->addWidget(kol);
  counts->addSpacing(16);
  counts->addWidget(new QLabel(QString::fromUtf8("Текущая пачка"), this));
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
  name->setToolTip(QString::fromUtf8("Имя файла текущей пачки"));
  short_name->setToolTip(QString::fromUtf8("Короткое имя файла (8.3)"));
  size->setToolTip(QString::fromUtf8("Размер файла пачки, байт"));
  entry->addWidget(new QLabel(QString::fromUtf8("Пачка:"), this));
  entry->addWidget(name, 3);
  entry->addWidget(new QLabel(QString::fromUtf8("имя 8.3:"), this));
  entry->addWidget(short_name, 1);
  entry->addWidget(new QLabel(QString::fromUtf8("байт:"), this));
  entry->addWidget(size, 1);
  grid->addLayout(entry, row++, 0, 1, 3);
  grid->addWidget(new QLabel(QString::fromUtf8("файл 4:"), this), row, 0);
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
  ok_ = button(QString::fromUtf8("&OK"), "OKBUTTON", this);
  cancel_ = button(QString::fromUtf8("Отмена"), "CANCELBUTTON", this);
  bottom->addWidget(ok_);
  bottom->addWidget(cancel_);
  outer->addLayout(bottom);

  connect(in4_, &QPushButton::clicked, this, [this] {
    op_.guard([this] { batch_.choose_input_folder(); });
    refresh();
  });
  connect(out7_, &QPushButton::clicked, this, [this] {
    op_.guard([this] { batch_.choose_output_folder(); });
    refresh();
  });
  connect(ok_, &QPushButton::clicked, this, [this] { start_batch(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { running_ ? ask_stop() : finish(); });
  refresh();
  fit_to_screen(*this);
  // Wide enough for a folder of a usual depth, so that its name is seen whole.
  resize(std::max(width(),
                  std::min(room_on_screen(*this).width(), fontMetrics().horizontalAdvance(QString(96, QChar('x'))))),
         height());
}

QLineEdit* BatchWindow::field(const QString& name) const { return findChild<QLineEdit*>(name); }

void BatchWindow::refresh() {
  field("FL_PAKET")->setText("1");  // the window is the batch
  show_path(field("PATH_IN4"), qs(s_.settings.path_in4));
  show_path(field("PATH_OUT7"), qs(s_.settings.path_out7));
  if (!running_)
    field("KOL_PCH")->setText(QString::number(app::list_packs(runtime::ansi_to_path(s_.settings.path_in4)).size()));
}

void BatchWindow::show_progress(std::size_t current, std::size_t total, const std::filesystem::path& pack) {
  field("KOL_PCH")->setText(QString::number(total));
  field("TEK_N_PCH")->setText(QString::fromStdString(core::zero_padded(static_cast<long long>(current), 3)));
  field("FIL:NAME")->setText(qs_path(pack.filename()));
  field("FIL:SHORTNAME")->setText(short_name(pack));
  std::error_code ec;
  auto size = std::filesystem::file_size(pack, ec);
  field("FIL:SIZE")->setText(ec ? QString() : QString::number(size));
  show_path(field("IN4_FILE"), qs_path(pack));
  documents_->clear();
  bar_->setRange(0, static_cast<int>(total));
  bar_->setValue(static_cast<int>(current - 1));
}

void BatchWindow::show_documents(long long done, long long announced) {
  // Nothing is announced yet while the pack converted on another thread has not reached its
  // documents.
  if (announced == 0 && done == 0) return documents_->clear();
  documents_->setText(QString::fromUtf8("Документы текущей пачки: %1 из %2").arg(done).arg(announced));
}

void BatchWindow::start_batch() {
  if (running_) return;
  running_ = true;
  for (QPushButton* b : {in4_, out7_, ok_}) b->setEnabled(false);
  op_.set_progress_sink(
      [this](std::size_t c, std::size_t t, const std::filesystem::path& p) { show_progress(c, t, p); });
  op_.set_documents_sink([this](long long done, long long announced) { show_documents(done, announced); });
  app::BatchSummary summary;
  bool ok = op_.guard([&] { summary = batch_.run(); });
  op_.set_progress_sink({});
  op_.set_documents_sink({});
  running_ = false;
  if (!ok) return;
  cancel_->setEnabled(false);
  bar_->setRange(0, std::max<int>(1, static_cast<int>(summary.packs)));
  bar_->setValue(static_cast<int>(summary.results.size()));
  op_.guard([&] {
    op_.message({std::string(core::kTitleMessage),
                 batch_summary_text(summary),
                 core::Icon::information,
                 {core::Button::ok},
                 batch_summary_details(summary)});
  });
  finish();
}

void BatchWindow::ask_stop() {
  if (stopping_) return;
  core::Button answer = core::Button::no;
  op_.guard([&] {
    answer =
        op_.message({std::string(core::kTitleWarning),
                     to_ansi(QString::fromUtf8("Остановить пакетную обработку? Текущая пачка будет сконвертирована "
                                               "до конца, следующие пачки обработаны не будут.")),
                     core::Icon::information,
                     {core::Button::yes, core::Button::no},
                     {}});
  });
  if (answer != core::Button::yes || !running_) return;
  stopping_ = true;
  batch_.request_stop();
  cancel_->setEnabled(false);
  documents_->setText(QString::fromUtf8("Остановка после текущей пачки..."));
}

void BatchWindow::run() {
  restore_position(s_.ini, kSection, *this, true);
  ok_->setFocus();  // the batch is what the window is opened for
  exec();
}

void BatchWindow::finish() {
  if (finished_) return;
  finished_ = true;
  save_position(s_.ini, kSection, *this, true);
  done(QDialog::Rejected);
}

void BatchWindow::closeEvent(QCloseEvent* event) {
  if (running_) {  // a batch is not left half done: it may only stop after the current pack
    event->ignore();
    ask_stop();
    return;
  }
  if (!finished_ && !op_.ending()) {
    event->ignore();
    finish();
    return;
  }
  QDialog::closeEvent(event);
}

void BatchWindow::reject() {
  if (running_) return ask_stop();
  if (finished_ || op_.ending()) return QDialog::reject();
  finish();
}

}  // namespace tolvex::gui
