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

#include "app/insurer_entry.h"
#include "core/conversion/messages.h"
#include "gui/fitted_scroll_area.h"
#include "gui/qt_operator.h"
#include "gui/text.h"
#include "gui/widgets.h"
#include "gui/window_position.h"
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

// The header fields row by row, as the groups show them.
const std::vector<std::vector<std::string_view>> kZag4Rows = {{"TYP_Z", "VER_F"}, {"IMJ_PRG", "VER_PRG"}};
const std::vector<std::vector<std::string_view>> kIst4Rows = {{"TYP_Z", "IST_SVD"},
                                                              {"REGN"},
                                                              {"INN", "KPP"},
                                                              {"NAME"},
                                                              {"SNAME"},
                                                              {"OP_FORMA"},
                                                              {"KOD_OGRN", "TIP_OGRN"},
                                                              {"LIC_NUM", "LIC_DATA"},
                                                              {"UCH_D_P", "UCH_D_SN"},
                                                              {"PODR_NAME"},
                                                              {"PODR_KOD"}};
// The sums one under another: the sickness benefit is part of the total, the three parts of
// the contributions go together.
const std::vector<std::vector<std::string_view>> kPchRows = {{"TYP_Z", "PCH_N"},
                                                             {"TYP_PCH", "TYP_OPISI"},
                                                             {"D_OPISI", "KOL_TYP"},
                                                             {"GOD", "KAT_ZL"},
                                                             {"DOP_T", "TER_US"},
                                                             {"TYP_SVD", "KORR"},
                                                             {"KW", "GOD_P"},
                                                             {"SUM_ZAR"},
                                                             {"SUM_BOLN"},
                                                             {"SUM_STR"},
                                                             {"SUM_NAK"},
                                                             {"SUM_DOP"},
                                                             {"KOD_SPU", "N_ISH_SPU"}};
const std::vector<std::vector<std::string_view>> kDoktRows = {{"TYP_Z", "TYP_DOK"}, {"KOL_DOK"}};

// Fields of letters (codes, names) are sized for capitals; the others hold digits.
bool holds_letters(std::string_view field) {
  static constexpr std::string_view kLetters[] = {"TYP_Z",   "IST_SVD",   "VER_F",  "IMJ_PRG", "TIP_OGRN",
                                                  "TYP_PCH", "TYP_OPISI", "KAT_ZL", "DOP_T",   "TER_US",
                                                  "TYP_SVD", "KORR",      "TYP_DOK"};
  return std::find(std::begin(kLetters), std::end(kLetters), field) != std::end(kLetters);
}

// What the entry fields take while they are typed; the whole value is checked when left.
QValidator* entry_validator(std::string_view field, QObject* parent) {
  const char* pattern = nullptr;
  if (field == "KOD_OGRN") pattern = "[0-9]{0,15}";
  if (field == "PODR_KOD") pattern = "[0-9]{0,6}";
  if (field == "LIC_DATA" || field == "UCH_D_P" || field == "UCH_D_SN") pattern = "[0-9.]{0,10}";
  return pattern ? new QRegularExpressionValidator(QRegularExpression(pattern), parent) : nullptr;
}

const char* entry_hint(std::string_view field) {
  if (field == "KOD_OGRN") return "13 цифр (ЕГРЮЛ) или 15 цифр (ЕГРИП)";
  if (field == "PODR_KOD") return "до 6 цифр";
  if (field == "LIC_DATA" || field == "UCH_D_P" || field == "UCH_D_SN") return "дд.мм.гггг";
  return "";
}

// A duration as a time to the hundredth, as the clock counts it: a header stage takes less
// than a second.
QString time_of(long long hundredths) {
  long long s = hundredths / 100;
  return QString("%1:%2:%3.%4")
      .arg(s / 3600, 2, 10, QChar('0'))
      .arg(s / 60 % 60, 2, 10, QChar('0'))
      .arg(s % 60, 2, 10, QChar('0'))
      .arg(hundredths % 100, 2, 10, QChar('0'));
}

}  // namespace

OnePackWindow::OnePackWindow(core::Session& session, core::PackState& pack_state, QtOperator& op, QWidget* parent)
    : QDialog(parent), s_(session), p_(pack_state), op_(op), conv_(session, pack_state) {
  setObjectName(QString::fromLatin1(kSection.data(), kSection.size()));
  setWindowTitle(QString::fromUtf8("Конвертация одной пачки"));
  setSizeGripEnabled(true);

  auto* outer = new QVBoxLayout(this);
  // The folders side by side; the files, with their long names, each on a row of its own.
  auto* files = new QGridLayout;
  files->addWidget(new QLabel(QString::fromUtf8("Входной каталог:"), this), 0, 0);
  files->addWidget(fields_["PATH_IN4"] = shown_field("PATH_IN4", this), 0, 1);
  out_ = button(QString::fromUtf8("Вы&ходной каталог:"), "BUTTON_OUT_P", this);
  files->addWidget(out_, 0, 2);
  files->addWidget(fields_["PATH_OUT7"] = shown_field("PATH_OUT7", this), 0, 3);
  in4_ = button(QString::fromUtf8("&Входная пачка"), "BUTTON_IN4", this);
  files->addWidget(in4_, 1, 0);
  files->addWidget(fields_["IN4_FILE"] = shown_field("IN4_FILE", this), 1, 1, 1, 3);
  files->addWidget(new QLabel(QString::fromUtf8("Выходной файл XML"), this), 2, 0);
  files->addWidget(fields_["OUT7_FILE"] = shown_field("OUT7_FILE", this), 2, 1, 1, 3);
  files->setColumnStretch(1, 1);
  files->setColumnStretch(3, 1);
  outer->addLayout(files);

  auto* header = new QWidget;
  QGroupBox* zag4 = record_box(QString::fromUtf8("Заголовок файла"), p_.header.zag4, kZag4Rows);
  QGroupBox* ist4 = record_box(QString::fromUtf8("Страхователь"), p_.header.ist4, kIst4Rows);
  QGroupBox* pch = record_box(QString::fromUtf8("Пачка"), p_.header.pch, kPchRows);
  QGroupBox* dokt = record_box(QString::fromUtf8("Документы"), p_.header.dokt, kDoktRows);
  add_value(static_cast<QGridLayout*>(dokt->layout()), 1, 2, 1, QString::fromUtf8("форма:"),
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
  bottom->addWidget(new QLabel(QString::fromUtf8("Начало:"), this));
  bottom->addWidget(fields_["T_RAB_N"] = shown_field("T_RAB_N", this));
  bottom->addWidget(new QLabel(QString::fromUtf8("Время работы:"), this));
  bottom->addWidget(fields_["T_RAB"] = shown_field("T_RAB", this));
  fit_chars(fields_["T_RAB_N"], 8);
  fit_chars(fields_["T_RAB"], 11);
  fields_["T_RAB"]->setToolTip(QString::fromUtf8("Время чтения заголовка пачки и записи описи"));
  for (const char* name : {"T_RAB_N", "T_RAB"}) fields_[name]->setMaximumWidth(fields_[name]->minimumWidth());
  bottom->addStretch(1);
  ok_ = button(QString::fromUtf8("&OK"), "OKBUTTON", this);
  cancel_ = button(QString::fromUtf8("Отмена"), "CANCELBUTTON", this);
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

QGroupBox* OnePackWindow::record_box(const QString& title, core::Record& record, const Rows& rows) {
  auto* box = new QGroupBox(title);
  auto* grid = new QGridLayout(box);
  grid->setVerticalSpacing(3);
  QString rec = QString::fromLatin1(record.layout().name.data(), static_cast<int>(record.layout().name.size()));
  std::size_t pairs = 0;
  for (const auto& row : rows) pairs = std::max(pairs, row.size());
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      std::string_view f = rows[r][c];
      std::size_t i = record.layout().index(f);
      const core::FieldDef& def = record.layout().fields[i];
      QString name = rec + ":" + QString::fromLatin1(f.data(), static_cast<int>(f.size()));
      QLineEdit* edit = shown_field(name, box);
      edit->setMaxLength(static_cast<int>(def.width));
      // Long fields (names) take the rest of their row and grow with the window.
      bool wide = def.width >= 40;
      int chars = static_cast<int>(std::min<std::size_t>(def.width, 20));
      fit_chars(edit, chars, holds_letters(f) ? QChar(u'Н') : QChar('0'));
      int span = wide ? static_cast<int>(pairs - c) * 2 - 1 : 1;
      add_value(grid, r, static_cast<int>(c) * 2, span, QString::fromUtf8(caption(record.layout().name, f)), edit);
      fields_[name] = edit;
      records_[name] = &record;
      if (&record == &p_.header.ist4 && app::is_insurer_entry(f)) {
        entries_.push_back(edit);
        if (QValidator* v = entry_validator(f, edit)) edit->setValidator(v);
        if (*entry_hint(f)) edit->setToolTip(QString::fromUtf8(entry_hint(f)));
        connect(edit, &QLineEdit::editingFinished, this, [this, &record, i, edit] { take_entry(record, i, edit); });
        entry_of_[edit] = {&record, i};
      }
    }
  }
  for (int c = 1; c < static_cast<int>(pairs) * 2; c += 2) grid->setColumnStretch(c, 1);
  return box;
}

void OnePackWindow::take_entry(core::Record& record, std::size_t index, QLineEdit* edit) {
  if (edit->isReadOnly()) return;
  std::string value = to_ansi(edit->text().trimmed());
  std::string_view field = record.layout().fields[index].name;
  if (auto error = app::insurer_entry_error(field, value)) {
    // Not taken: the record keeps what it had; the field keeps what was typed, with the focus
    // back in it and its text selected, to be put right.
    op_.guard([&] {
      op_.message({std::string(core::kTitleWarning), *error, core::Icon::information, {core::Button::ok}, {}});
    });
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    entry_refused_ = true;
    return;
  }
  record.set(index, value);
  if (field == "KOD_OGRN") core::OnePackConversion::classify_ogrn(p_.header.ist4);
  refresh(true);
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
  show_path(fields_.at("PATH_IN4"), qs(s_.settings.path_in4));
  show_path(fields_.at("PATH_OUT7"), qs(s_.settings.path_out7));
  show_path(fields_.at("IN4_FILE"), pack_read_ ? qs_path(p_.pack) : QString());
  show_path(fields_.at("OUT7_FILE"), pack_read_ ? qs(p_.output_full_name) : QString());
  for (const auto& [name, record] : records_) {
    QString f = name.mid(name.indexOf(':') + 1);
    set(name, pack_read_ ? qs(core::trim_right(record->field(record->layout().index(f.toStdString())))) : QString());
  }
  set("TYP_PFR", pack_read_ ? qs(p_.typ_pfr()) : QString());
  set("T_RAB_N", pack_read_ ? QString::fromStdString(core::hh_mm_ss(conv_.started())) : QString());
  set("T_RAB", pack_read_ ? time_of(conv_.header_hundredths()) : QString());
  // The operator completes the insurer data between reading a pack's header and "&OK".
  bool entry = pack_read_ && !converted_ && !running_ && conv_.header_ready();
  for (QLineEdit* e : entries_) set_entry(e, entry);
}

void OnePackWindow::say(const QString& text) { status_->setText(text); }

void OnePackWindow::run(const std::optional<std::filesystem::path>& pack) {
  restore_position(s_.ini, kSection, *this, true);
  in4_->setFocus();  // the first action
  if (pack) {
    std::filesystem::path p = *pack;
    QTimer::singleShot(0, this, [this, p] { take_pack(p); });
  }
  exec();
}

void OnePackWindow::after_pack(bool chosen, core::PackOutcome outcome) {
  if (!chosen) return end_procedure();
  pack_read_ = outcome != core::PackOutcome::no_pack;
  converted_ = false;
  refresh();
  if (outcome == core::PackOutcome::rejected || outcome == core::PackOutcome::unreadable) return end_procedure();
  const core::DocumentKind* kind = core::find_kind(s_.kinds, p_.header.dokt["TYP_DOK"]);
  if (conv_.header_ready() && kind && !kind->converted())
    say(QString::fromUtf8("Документы типа %1 (%2) не конвертируются. «OK» закроет файл %3: в нем будет только "
                          "опись пачки.")
            .arg(qs(core::trim_right(p_.header.dokt["TYP_DOK"])), qs(kind->form_name),
                 qs_path(runtime::ansi_to_path(p_.output_full_name).filename())));
  else if (conv_.header_ready() && !kind)
    say(QString::fromUtf8("Тип документов %1 неизвестен: документы не конвертируются. «OK» закроет файл %2: в нем "
                          "будет только опись пачки.")
            .arg(qs(core::trim_right(p_.header.dokt["TYP_DOK"])),
                 qs_path(runtime::ansi_to_path(p_.output_full_name).filename())));
  else if (conv_.header_ready())
    say(QString::fromUtf8("Заголовок пачки прочитан, документов в пачке: %1. «OK» конвертирует документы.")
            .arg(qs(p_.header.dokt.value("KOL_DOK"))));
  else
    say(QString());
}

void OnePackWindow::choose_pack() {
  op_.guard([this] {
    core::PackOutcome outcome = core::PackOutcome::no_pack;
    bool chosen = conv_.choose_pack(&outcome);
    after_pack(chosen, outcome);
  });
}

void OnePackWindow::take_pack(const std::filesystem::path& pack) {
  op_.pack_taken(pack);
  op_.guard([&] { after_pack(true, conv_.take_pack(pack)); });
}

void OnePackWindow::choose_output() {
  op_.guard([this] {
    if (!conv_.choose_output_folder()) return end_procedure();
    refresh();
  });
}

void OnePackWindow::convert_pack() {
  if (running_) return;
  QString why;
  if (!pack_read_)
    why = QString::fromUtf8("Входная пачка не выбрана. Нажмите «Входная пачка» и выберите пачку 4 формата.");
  else if (converted_)
    why = QString::fromUtf8("Эта пачка уже сконвертирована в файл %1. Для следующей пачки нажмите «Входная пачка».")
              .arg(qs(p_.output_full_name));
  else if (!conv_.header_ready())
    why = QString::fromUtf8(
        "Выходной файл не создан: конвертировать документы некуда. Выберите выходной каталог "
        "и пачку заново.");
  if (!why.isEmpty()) {
    op_.guard([&] {
      op_.message({std::string(core::kTitleMessage), to_ansi(why), core::Icon::information, {core::Button::ok}, {}});
    });
    return;
  }
  // Every insurer field that shows other than its record holds (being typed in, or refused
  // before) is checked again; a value refused there stops "&OK", so that the operator sees
  // what went in.
  entry_refused_ = false;
  for (QLineEdit* e : entries_) {
    auto [record, index] = entry_of_.at(e);
    if (e->isReadOnly() || to_ansi(e->text().trimmed()) == core::trim_right(record->field(index))) continue;
    e->setModified(false);
    take_entry(*record, index, e);
    if (entry_refused_) return;
  }
  running_ = true;
  for (QPushButton* b : {in4_, out_, ok_, cancel_}) b->setEnabled(false);
  refresh();
  core::DocumentRun* run = nullptr;
  if (!op_.guard([&] { run = conv_.start_ok(); })) {
    running_ = false;
    for (QPushButton* b : {in4_, out_, ok_, cancel_}) b->setEnabled(true);
    return;
  }
  // The converter window's buttons drive the documents from here on; "&OK" ends when it closes.
  if (run)
    op_.open_converter(*run, [this] { documents_done(); });
  else
    documents_done();
}

void OnePackWindow::documents_done() {
  bool written = false;
  bool done = op_.guard([&] { written = conv_.finish_ok(); });
  running_ = false;
  for (QPushButton* b : {in4_, out_, ok_, cancel_}) b->setEnabled(true);
  if (!done) return;
  converted_ = true;
  refresh();
  QString file = qs_path(runtime::ansi_to_path(p_.output_full_name).filename());
  if (!written) {
    say(QString::fromUtf8("Файл %1 не записан: причина в сообщении и в журнале.").arg(file));
    return;
  }
  const core::DocumentKind* kind = core::find_kind(s_.kinds, p_.header.dokt["TYP_DOK"]);
  if (kind && kind->converted() && conv_.documents_left_out())
    say(QString::fromUtf8("Записан файл %1: документов %2 из %3. ВНИМАНИЕ: в пачке документов больше, чем указано в "
                          "ней (%4); остальные не конвертированы (см. журнал).")
            .arg(file)
            .arg(conv_.documents_written())
            .arg(core::as_number(p_.header.dokt["KOL_DOK"]))
            .arg(qs(core::trim_right(p_.header.dokt["KOL_DOK"]))));
  else if (kind && kind->converted())
    say(QString::fromUtf8("Записан файл %1: документов %2 из %3.")
            .arg(file)
            .arg(conv_.documents_written())
            .arg(core::as_number(p_.header.dokt["KOL_DOK"])));
  else
    say(QString::fromUtf8("Документы типа %1 не конвертируются: в файле %2 только опись пачки.")
            .arg(qs(core::trim_right(p_.header.dokt["TYP_DOK"])), file));
}

void OnePackWindow::cancel() {
  if (running_) return;
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
