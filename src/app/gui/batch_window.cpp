#include "app/gui/batch_window.h"

#include "app/gui/widgets.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "app/gui/qt_operator.h"
#include "app/gui/text.h"
#include "app/gui/window_position.h"
#include "core/messages.h"
#include "runtime/paths.h"

namespace tolvex::gui {

using namespace runtime::literals;

namespace {

constexpr std::string_view kSection = "all_pch";

std::string_view why(core::PackOutcome o) {
  switch (o) {
    case core::PackOutcome::converted: return "сконвертирована"_w;
    case core::PackOutcome::rejected: return "не пачка 4 формата"_w;
    case core::PackOutcome::no_output: return "выходной файл не записан"_w;
    case core::PackOutcome::no_pack: return "пачка не указана"_w;
  }
  return {};
}

// The short (8.3) form of a name.
QString short_name(const std::filesystem::path& p) {
  QString stem = qs_path(p.stem()).left(8).toUpper(), ext = qs_path(p.extension()).left(4).toUpper();
  return stem + ext;
}

}  // namespace

std::string batch_summary_text(const app::BatchSummary& summary) {
  std::string text = std::string("Пачек: "_w) + std::to_string(summary.packs) + std::string(", сконвертировано: "_w) +
                     std::to_string(summary.converted) + ".";
  for (const auto& r : summary.results)
    if (r.outcome != core::PackOutcome::converted)
      text += "\n" + runtime::path_to_ansi(r.pack.filename()) + " - " + std::string(why(r.outcome));
  return text;
}

BatchWindow::BatchWindow(core::Session& session, core::PackState& pack_state, QtOperator& op, QWidget* parent)
    : QDialog(parent), s_(session), op_(op), batch_(session, pack_state) {
  setObjectName("all_pch");
  setWindowTitle(QString::fromUtf8("Пакетная обработка пачек 4 формата ПФР  в 7 формат XML"));
  setSizeGripEnabled(true);
  resize(760, 360);
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  int row = 0;
  auto* flag = shown_field("FL_PAKET", this);
  flag->setMaximumWidth(30);
  grid->addWidget(flag, row++, 0);
  grid->addWidget(new QLabel(QString::fromUtf8("Папка (каталог) входных пачек 4 формата ПФР"), this), row++, 0, 1, 3);
  grid->addWidget(shown_field("PATH_IN4", this), row, 0, 1, 2);
  in4_ = button("...", "BUTTON_IN4", this);
  grid->addWidget(in4_, row++, 2);
  grid->addWidget(new QLabel(QString::fromUtf8("Папка (каталог) выходных файлов 7 формата XML"), this), row++, 0, 1, 3);
  grid->addWidget(shown_field("PATH_OUT7", this), row, 0, 1, 2);
  out7_ = button("...", "BUTTON_OUT7", this);
  grid->addWidget(out7_, row++, 2);
  grid->addWidget(new QLabel(QString::fromUtf8("Количество пачек"), this), row, 0);
  grid->addWidget(shown_field("KOL_PCH", this), row++, 1);
  grid->addWidget(new QLabel(QString::fromUtf8("Текущая пачка"), this), row, 0);
  grid->addWidget(shown_field("TEK_N_PCH", this), row++, 1);
  auto* entry = new QHBoxLayout;
  entry->addWidget(shown_field("FIL:NAME", this), 3);
  entry->addWidget(shown_field("FIL:SHORTNAME", this), 1);
  entry->addWidget(shown_field("FIL:SIZE", this), 1);
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
  connect(cancel_, &QPushButton::clicked, this, [this] { finish(); });
  refresh();
}

QLineEdit* BatchWindow::field(const QString& name) const { return findChild<QLineEdit*>(name); }

void BatchWindow::refresh() {
  field("FL_PAKET")->setText("1");  // the window is the batch
  field("PATH_IN4")->setText(qs(s_.settings.path_in4));
  field("PATH_OUT7")->setText(qs(s_.settings.path_out7));
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
  field("IN4_FILE")->setText(qs_path(pack));
  bar_->setRange(0, static_cast<int>(total));
  bar_->setValue(static_cast<int>(current - 1));
}

void BatchWindow::start_batch() {
  if (running_) return;
  running_ = true;
  for (QPushButton* b : {in4_, out7_, ok_, cancel_}) b->setEnabled(false);
  op_.set_progress_sink([this](std::size_t c, std::size_t t, const std::filesystem::path& p) { show_progress(c, t, p); });
  app::BatchSummary summary;
  bool ok = op_.guard([&] { summary = batch_.run(); });
  op_.set_progress_sink({});
  running_ = false;
  if (!ok) return;
  bar_->setRange(0, std::max<int>(1, static_cast<int>(summary.packs)));
  bar_->setValue(bar_->maximum());
  op_.guard([&] {
    core::MessageBox box{std::string(core::kTitleMessage), batch_summary_text(summary), core::Icon::information,
                         {core::Button::ok}};
    op_.message(box);
  });
  finish();
}

void BatchWindow::run() {
  restore_position(s_.ini, kSection, *this, true);
  exec();
}

void BatchWindow::finish() {
  if (finished_) return;
  finished_ = true;
  save_position(s_.ini, kSection, *this, true);
  done(QDialog::Rejected);
}

void BatchWindow::closeEvent(QCloseEvent* event) {
  if (running_) return event->ignore();  // a batch is not left half done
  if (!finished_ && !op_.ending()) {
    event->ignore();
    finish();
    return;
  }
  QDialog::closeEvent(event);
}

void BatchWindow::reject() {
  if (running_) return;
  if (finished_ || op_.ending()) return QDialog::reject();
  finish();
}

}  // namespace tolvex::gui
