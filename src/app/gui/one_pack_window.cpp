#include "app/gui/one_pack_window.h"

#include "app/gui/widgets.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <algorithm>

#include "app/gui/qt_operator.h"
#include "app/gui/text.h"
#include "app/gui/window_position.h"
#include "runtime/paths.h"

namespace tolvex::gui {

namespace {

constexpr std::string_view kSection = "odna_pch";

// The captions of the header fields, by record and field.
const char* caption(std::string_view record, std::string_view field) {
  struct Caption {
    std::string_view record, field;
    const char* text;
  };
  static constexpr Caption kCaptions[] = {
      {"ZAG4", "TYP_Z", "Заголовок:"},
      {"ZAG4", "VER_F", "Формат ПФР:"},
      {"ZAG4", "IMJ_PRG", "Программа:"},
      {"ZAG4", "VER_PRG", "версия:"},
      {"IST4", "TYP_Z", "Запись:"},
      {"IST4", "IST_SVD", "Источник:"},
      {"IST4", "REGN", "Рег.№:"},
      {"IST4", "INN", "ИНН:"},
      {"IST4", "KPP", "КПП:"},
      {"IST4", "NAME", "Наименование:"},
      {"IST4", "SNAME", "Краткое наименование:"},
      {"IST4", "OP_FORMA", "Орг.-правовая форма"},
      {"IST4", "KOD_OGRN", "ОГРН:"},
      {"IST4", "TIP_OGRN", "тип ОГРН:"},
      {"IST4", "LIC_NUM", "Лицензия №"},
      {"IST4", "LIC_DATA", "от"},
      {"IST4", "UCH_D_P", "поставлена на учет"},
      {"IST4", "UCH_D_SN", "снята с учета"},
      {"IST4", "PODR_NAME", "Подразделение"},
      {"IST4", "PODR_KOD", "код подр.№"},
      {"PCH", "TYP_Z", "Запись:"},
      {"PCH", "PCH_N", "№"},
      {"PCH", "TYP_PCH", "тип:"},
      {"PCH", "TYP_OPISI", "Тип описи:"},
      {"PCH", "D_OPISI", "Дата составления:"},
      {"PCH", "KOL_TYP", "Типов док.="},
      {"PCH", "GOD", "год"},
      {"PCH", "KAT_ZL", "Категория ЗЛ:"},
      {"PCH", "DOP_T", "доп.:"},
      {"PCH", "TER_US", "Тер.усл.:"},
      {"PCH", "TYP_SVD", "Тип сведений:"},
      {"PCH", "KORR", "Вид корректировки:"},
      {"PCH", "KW", "Отчетный период квартал:"},
      {"PCH", "GOD_P", "год:"},
      {"PCH", "SUM_ZAR", "Всего начислено:"},
      {"PCH", "SUM_BOLN", "По временной нетрудоспособности:"},
      {"PCH", "SUM_STR", "страховая часть:"},
      {"PCH", "SUM_NAK", "накопительная часть:"},
      {"PCH", "SUM_DOP", "по дополнит.тарифу:"},
      {"PCH", "KOD_SPU", "Код подразделения:"},
      {"PCH", "N_ISH_SPU", "исходящий №:"},
      {"DOKT", "TYP_Z", "Запись:"},
      {"DOKT", "TYP_DOK", "тип документов:"},
      {"DOKT", "KOL_DOK", "количество в пачке:"},
  };
  for (const auto& c : kCaptions)
    if (c.record == record && c.field == field) return c.text;
  return "";
}

QString time_of(long long hundredths) {
  long long s = hundredths / 100;
  return QString("%1:%2:%3")
      .arg(s / 3600, 2, 10, QChar('0'))
      .arg(s / 60 % 60, 2, 10, QChar('0'))
      .arg(s % 60, 2, 10, QChar('0'));
}

}  // namespace

OnePackWindow::OnePackWindow(core::Session& session, core::PackState& pack_state, QtOperator& op, QWidget* parent)
    : QDialog(parent), s_(session), p_(pack_state), op_(op), conv_(session, pack_state) {
  setObjectName(QString::fromLatin1(kSection.data(), kSection.size()));
  setWindowTitle(QString::fromUtf8("Конвертация одной пачки"));
  setSizeGripEnabled(true);
  resize(1000, 720);

  auto* outer = new QVBoxLayout(this);
  auto* files = new QGridLayout;
  files->addWidget(new QLabel(QString::fromUtf8("Входной каталог:"), this), 0, 0);
  files->addWidget(fields_["PATH_IN4"] = shown_field("PATH_IN4", this), 0, 1);
  in4_ = button(QString::fromUtf8("Входная пачка"), "BUTTON_IN4", this);
  files->addWidget(in4_, 1, 0);
  files->addWidget(fields_["IN4_FILE"] = shown_field("IN4_FILE", this), 1, 1);
  out_ = button(QString::fromUtf8("Выходной каталог:"), "BUTTON_OUT_P", this);
  files->addWidget(out_, 2, 0);
  files->addWidget(fields_["PATH_OUT7"] = shown_field("PATH_OUT7", this), 2, 1);
  files->addWidget(new QLabel(QString::fromUtf8("Выходной файл XML"), this), 3, 0);
  files->addWidget(fields_["OUT7_FILE"] = shown_field("OUT7_FILE", this), 3, 1);
  outer->addLayout(files);

  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  auto* header = new QWidget;
  auto* hv = new QVBoxLayout(header);
  hv->addWidget(record_box(QString::fromUtf8("Заголовок файла"), p_.header.zag4, -1, 4));
  // IST4 fields 7 to 16 are not in the pack: the operator completes them.
  hv->addWidget(
      record_box(QString::fromUtf8("Страхователь"), p_.header.ist4, static_cast<int>(core::kIst4PackFields), 3));
  hv->addWidget(record_box(QString::fromUtf8("Пачка"), p_.header.pch, -1, 4));
  QWidget* dokt = record_box(QString::fromUtf8("Документы"), p_.header.dokt, -1, 4);
  auto* dg = static_cast<QGridLayout*>(dokt->layout());
  int row = dg->rowCount();
  dg->addWidget(new QLabel(QString::fromUtf8("форма:"), dokt), row, 0, Qt::AlignRight);
  dg->addWidget(fields_["TYP_PFR"] = shown_field("TYP_PFR", dokt), row, 1);
  hv->addWidget(dokt);
  hv->addStretch(1);
  scroll->setWidget(header);
  outer->addWidget(scroll, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(new QLabel(QString::fromUtf8("Начало:"), this));
  bottom->addWidget(fields_["T_RAB_N"] = shown_field("T_RAB_N", this));
  bottom->addWidget(new QLabel(QString::fromUtf8("Время работы:"), this));
  bottom->addWidget(fields_["T_RAB"] = shown_field("T_RAB", this));
  fields_["T_RAB_N"]->setMaximumWidth(90);
  fields_["T_RAB"]->setMaximumWidth(90);
  bottom->addStretch(1);
  ok_ = button(QString::fromUtf8("&OK"), "OKBUTTON", this);
  cancel_ = button(QString::fromUtf8("Отмена"), "CANCELBUTTON", this);
  bottom->addWidget(ok_);
  bottom->addWidget(cancel_);
  outer->addLayout(bottom);

  connect(in4_, &QPushButton::clicked, this, [this] { choose_pack(); });
  connect(out_, &QPushButton::clicked, this, [this] { choose_output(); });
  connect(ok_, &QPushButton::clicked, this, [this] { ok(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { cancel(); });
  refresh();
}

QWidget* OnePackWindow::record_box(const QString& title, core::Record& record, int first_entry, int columns) {
  auto* box = new QGroupBox(title);
  auto* grid = new QGridLayout(box);
  QString rec = QString::fromLatin1(record.layout().name.data(), static_cast<int>(record.layout().name.size()));
  int cursor = 0;  // the next free cell, counted in prompt/value pairs
  for (std::size_t i = 0; i < record.field_count(); ++i) {
    const core::FieldDef& def = record.layout().fields[i];
    QString name = rec + ":" + QString::fromLatin1(def.name.data(), static_cast<int>(def.name.size()));
    auto* edit = shown_field(name, box);
    edit->setMaxLength(static_cast<int>(def.width));
    // Room for the whole of a short field ("15.07.2010"), without widening the window for long ones.
    int chars = static_cast<int>(std::min<std::size_t>(def.width, 16));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(chars, QChar('0'))) + 14);
    bool entry = first_entry >= 0 && static_cast<int>(i) >= first_entry;
    if (entry) {
      edit->setReadOnly(false);
      // The operator's entries go straight into the record the converters read.
      connect(edit, &QLineEdit::textEdited, this, [this, &record, i](const QString& text) {
        record.set(i, to_ansi(text));
      });
    }
    if (def.name == "KOD_OGRN")
      connect(edit, &QLineEdit::editingFinished, this, [this] {
        core::OnePackConversion::classify_ogrn(p_.header.ist4);
        refresh();
      });
    // Long fields (names) take a whole row.
    bool wide = def.width >= 40;
    if (wide && cursor % columns != 0) cursor += columns - cursor % columns;
    int r = cursor / columns, c = cursor % columns * 2;
    grid->addWidget(new QLabel(QString::fromUtf8(caption(record.layout().name, def.name)), box), r, c, Qt::AlignRight);
    grid->addWidget(edit, r, c + 1, 1, wide ? columns * 2 - 1 : 1);
    cursor += wide ? columns : 1;
    fields_[name] = edit;
    records_[name] = &record;
  }
  return box;
}

QLineEdit* OnePackWindow::field(const QString& name) const {
  auto it = fields_.find(name);
  return it == fields_.end() ? nullptr : it->second;
}

void OnePackWindow::refresh() {
  auto set = [this](const QString& name, const QString& text) {
    QLineEdit* e = fields_.at(name);
    if (e->text() != text) {
      e->setText(text);
      e->setCursorPosition(0);
    }
  };
  set("PATH_IN4", qs(s_.settings.path_in4));
  set("IN4_FILE", qs_path(p_.pack));
  set("PATH_OUT7", qs(s_.settings.path_out7));
  set("OUT7_FILE", pack_opened_ ? qs(p_.output_full_name) : QString());
  for (const auto& [name, record] : records_) {
    QString f = name.mid(name.indexOf(':') + 1);
    set(name, qs(core::trim_right(record->field(record->layout().index(f.toStdString())))));
  }
  set("TYP_PFR", qs(p_.typ_pfr()));
  set("T_RAB_N", pack_opened_ ? QString::fromStdString(core::hh_mm_ss(conv_.started())) : QString());
  set("T_RAB", pack_opened_ ? time_of(conv_.header_hundredths()) : QString());
}

void OnePackWindow::run(const std::optional<std::filesystem::path>& dropped) {
  restore_position(s_.ini, kSection, *this, true);
  if (dropped) {
    std::filesystem::path pack = *dropped;
    QTimer::singleShot(0, this, [this, pack] { take_pack(pack); });
  }
  exec();
}

void OnePackWindow::after_pack(bool chosen, core::PackOutcome outcome) {
  if (!chosen) return end_procedure();
  pack_opened_ = outcome != core::PackOutcome::no_pack;
  refresh();
  if (outcome == core::PackOutcome::rejected) end_procedure();
}

void OnePackWindow::choose_pack() {
  op_.guard([this] {
    core::PackOutcome outcome = core::PackOutcome::no_pack;
    bool chosen = conv_.choose_pack(&outcome);
    after_pack(chosen, outcome);
  });
}

void OnePackWindow::take_pack(const std::filesystem::path& pack) {
  op_.guard([&] { after_pack(true, conv_.take_pack(pack)); });
}

void OnePackWindow::choose_output() {
  op_.guard([this] {
    if (!conv_.choose_output_folder()) return end_procedure();
    refresh();
  });
}

void OnePackWindow::ok() {
  op_.guard([this] {
    conv_.ok();
    refresh();
  });
}

void OnePackWindow::cancel() {
  op_.guard([this] { conv_.cancel(); });
  finish();
}

void OnePackWindow::end_procedure() {
  op_.guard([this] {
    if (conv_.header_ready()) conv_.cancel();
  });
  finish();
}

void OnePackWindow::finish() {
  if (finished_) return;
  finished_ = true;
  save_position(s_.ini, kSection, *this, true);
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
