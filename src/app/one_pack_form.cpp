// SPDX-License-Identifier: MIT
#include "app/one_pack_form.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "app/insurer_entry.h"
#include "core/conversion/messages.h"
#include "runtime/paths.h"

namespace tolvex::app {

using namespace runtime::literals;

namespace {

struct Caption {
  std::string_view record, field, text;
};
constexpr Caption kCaptions[] = {
    {"ZAG4", "TYP_Z", "Заголовок:"_w},
    {"ZAG4", "VER_F", "Формат ПФР:"_w},
    {"ZAG4", "IMJ_PRG", "Программа:"_w},
    {"ZAG4", "VER_PRG", "версия:"_w},
    {"IST4", "TYP_Z", "Запись:"_w},
    {"IST4", "IST_SVD", "Источник:"_w},
    {"IST4", "REGN", "Рег.№:"_w},
    {"IST4", "INN", "ИНН:"_w},
    {"IST4", "KPP", "КПП:"_w},
    {"IST4", "NAME", "Наименование:"_w},
    {"IST4", "SNAME", "Краткое наименование:"_w},
    {"IST4", "OP_FORMA", "Орг.-правовая форма"_w},
    {"IST4", "KOD_OGRN", "ОГРН:"_w},
    {"IST4", "TIP_OGRN", "тип ОГРН:"_w},
    {"IST4", "LIC_NUM", "Лицензия №"_w},
    {"IST4", "LIC_DATA", "от"_w},
    {"IST4", "UCH_D_P", "поставлена на учет"_w},
    {"IST4", "UCH_D_SN", "снята с учета"_w},
    {"IST4", "PODR_NAME", "Подразделение"_w},
    {"IST4", "PODR_KOD", "код подр.№"_w},
    {"PCH", "TYP_Z", "Запись:"_w},
    {"PCH", "PCH_N", "№"_w},
    {"PCH", "TYP_PCH", "тип:"_w},
    {"PCH", "TYP_OPISI", "Тип описи:"_w},
    {"PCH", "D_OPISI", "Дата составления:"_w},
    {"PCH", "KOL_TYP", "Типов док.="_w},
    {"PCH", "GOD", "год"_w},
    {"PCH", "KAT_ZL", "Категория ЗЛ:"_w},
    {"PCH", "DOP_T", "доп.:"_w},
    {"PCH", "TER_US", "Тер.усл.:"_w},
    {"PCH", "TYP_SVD", "Тип сведений:"_w},
    {"PCH", "KORR", "Вид корректировки:"_w},
    {"PCH", "KW", "Отчетный период квартал:"_w},
    {"PCH", "GOD_P", "год:"_w},
    {"PCH", "SUM_ZAR", "Всего начислено:"_w},
    {"PCH", "SUM_BOLN", "По временной нетрудоспособности:"_w},
    {"PCH", "SUM_STR", "страховая часть:"_w},
    {"PCH", "SUM_NAK", "накопительная часть:"_w},
    {"PCH", "SUM_DOP", "по дополнит.тарифу:"_w},
    {"PCH", "KOD_SPU", "Код подразделения:"_w},
    {"PCH", "N_ISH_SPU", "исходящий №:"_w},
    {"DOKT", "TYP_Z", "Запись:"_w},
    {"DOKT", "TYP_DOK", "тип документов:"_w},
    {"DOKT", "KOL_DOK", "количество в пачке:"_w},
};

using Row = std::span<const std::string_view>;
constexpr std::string_view kZag4Fields[] = {"TYP_Z", "VER_F", "IMJ_PRG", "VER_PRG"};
constexpr Row kZag4Rows[] = {Row(kZag4Fields, 2), Row(kZag4Fields + 2, 2)};
constexpr std::string_view kIst4Fields[] = {"TYP_Z",   "IST_SVD",  "REGN",      "INN",      "KPP",     "NAME",
                                            "SNAME",   "OP_FORMA", "KOD_OGRN",  "TIP_OGRN", "LIC_NUM", "LIC_DATA",
                                            "UCH_D_P", "UCH_D_SN", "PODR_NAME", "PODR_KOD"};
constexpr Row kIst4Rows[] = {Row(kIst4Fields, 2),      Row(kIst4Fields + 2, 1),  Row(kIst4Fields + 3, 2),
                             Row(kIst4Fields + 5, 1),  Row(kIst4Fields + 6, 1),  Row(kIst4Fields + 7, 1),
                             Row(kIst4Fields + 8, 2),  Row(kIst4Fields + 10, 2), Row(kIst4Fields + 12, 2),
                             Row(kIst4Fields + 14, 1), Row(kIst4Fields + 15, 1)};
// The sums one under another: the sickness benefit is part of the total, the three parts of
// the contributions go together.
constexpr std::string_view kPchFields[] = {"TYP_Z",   "PCH_N",   "TYP_PCH",  "TYP_OPISI", "D_OPISI", "KOL_TYP",
                                           "GOD",     "KAT_ZL",  "DOP_T",    "TER_US",    "TYP_SVD", "KORR",
                                           "KW",      "GOD_P",   "SUM_ZAR",  "SUM_BOLN",  "SUM_STR", "SUM_NAK",
                                           "SUM_DOP", "KOD_SPU", "N_ISH_SPU"};
constexpr Row kPchRows[] = {Row(kPchFields, 2),      Row(kPchFields + 2, 2),  Row(kPchFields + 4, 2),
                            Row(kPchFields + 6, 2),  Row(kPchFields + 8, 2),  Row(kPchFields + 10, 2),
                            Row(kPchFields + 12, 2), Row(kPchFields + 14, 1), Row(kPchFields + 15, 1),
                            Row(kPchFields + 16, 1), Row(kPchFields + 17, 1), Row(kPchFields + 18, 1),
                            Row(kPchFields + 19, 2)};
constexpr std::string_view kDoktFields[] = {"TYP_Z", "TYP_DOK", "KOL_DOK"};
constexpr Row kDoktRows[] = {Row(kDoktFields, 2), Row(kDoktFields + 2, 1)};

constexpr HeaderGroup kGroups[] = {
    {"Заголовок файла"_w, "ZAG4", kZag4Rows},
    {"Страхователь"_w, "IST4", kIst4Rows},
    {"Пачка"_w, "PCH", kPchRows},
    {"Документы"_w, "DOKT", kDoktRows},
};

std::string_view trim(std::string_view v) {
  v = core::trim_right(v);
  while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
  return v;
}

}  // namespace

std::span<const HeaderGroup> header_groups() { return kGroups; }

std::string_view header_caption(std::string_view record, std::string_view field) {
  for (const auto& c : kCaptions)
    if (c.record == record && c.field == field) return c.text;
  return {};
}

bool holds_letters(std::string_view field) {
  static constexpr std::string_view kLetters[] = {"TYP_Z",   "IST_SVD",   "VER_F",  "IMJ_PRG", "TIP_OGRN",
                                                  "TYP_PCH", "TYP_OPISI", "KAT_ZL", "DOP_T",   "TER_US",
                                                  "TYP_SVD", "KORR",      "TYP_DOK"};
  return std::find(std::begin(kLetters), std::end(kLetters), field) != std::end(kLetters);
}

EntryTyping entry_typing(std::string_view field) {
  if (field == "KOD_OGRN") return {"0123456789", 15, "13 цифр (ЕГРЮЛ) или 15 цифр (ЕГРИП)"_w};
  if (field == "PODR_KOD") return {"0123456789", 6, "до 6 цифр"_w};
  if (field == "LIC_DATA" || field == "UCH_D_P" || field == "UCH_D_SN") return {"0123456789.", 10, "дд.мм.гггг"_w};
  return {};
}

std::string time_of(long long hundredths) {
  long long s = hundredths / 100;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%02lld", s / 3600, s / 60 % 60, s % 60, hundredths % 100);
  return text;
}

OnePackForm::OnePackForm(core::Session& session, core::PackState& pack_state)
    : s_(session), p_(pack_state), conv_(session, pack_state) {}

bool OnePackForm::is_entry(std::string_view name) {
  return name.starts_with("IST4:") && is_insurer_entry(name.substr(5));
}

bool OnePackForm::entries_open() const { return pack_read_ && !converted_ && !running_ && conv_.header_ready(); }

std::string OnePackForm::value(std::string_view name) const {
  if (name == "PATH_IN4") return s_.settings.input_folder;
  if (name == "PATH_OUT7") return s_.settings.output_folder;
  if (!pack_read_) return {};
  if (name == "OUT7_FILE") return p_.output_full_name;
  if (name == "TYP_PFR") return std::string(p_.typ_pfr());
  if (name == "T_RAB_N") return core::hh_mm_ss(conv_.started());
  if (name == "T_RAB") return time_of(conv_.header_hundredths());
  std::size_t colon = name.find(':');
  if (colon == std::string_view::npos) return {};
  std::string_view record = name.substr(0, colon), field = name.substr(colon + 1);
  const core::PackHeader& h = p_.header;
  const core::Record* r = nullptr;
  if (record == "ZAG4") r = &h.zag4;
  if (record == "IST4") r = &h.ist4;
  if (record == "PCH") r = &h.pch;
  if (record == "DOKT") r = &h.dokt;
  if (!r) return {};
  return std::string(core::trim_right(r->field(r->layout().index(field))));
}

std::filesystem::path OnePackForm::in4_file() const { return pack_read_ ? p_.pack : std::filesystem::path(); }

std::string OnePackForm::output_name() const {
  return runtime::path_to_ansi(runtime::ansi_to_path(p_.output_full_name).filename());
}

void OnePackForm::after_pack(std::optional<core::PackOutcome> chosen) {
  if (!chosen) return end_procedure();
  const core::PackOutcome outcome = *chosen;
  pack_read_ = outcome != core::PackOutcome::no_pack;
  converted_ = false;
  status_.clear();
  if (outcome == core::PackOutcome::rejected || outcome == core::PackOutcome::unreadable) return end_procedure();
  if (!conv_.header_ready()) return;
  std::string code(core::trim_right(p_.header.dokt["TYP_DOK"]));
  const core::DocumentKind* kind = core::find_kind(s_.kinds, p_.header.dokt["TYP_DOK"]);
  if (kind && !kind->converted())
    status_ = std::string("Документы типа "_w) + code + " (" + std::string(kind->form_name) +
              std::string(") не конвертируются. «OK» закроет файл "_w) + output_name() +
              std::string(": в нем будет только опись пачки."_w);
  else if (!kind)
    status_ = std::string("Тип документов "_w) + code +
              std::string(" неизвестен: документы не конвертируются. «OK» закроет файл "_w) + output_name() +
              std::string(": в нем будет только опись пачки."_w);
  else
    status_ = std::string("Заголовок пачки прочитан, документов в пачке: "_w) +
              std::string(p_.header.dokt.value("KOL_DOK")) + std::string(". «OK» конвертирует документы."_w);
}

void OnePackForm::choose_pack() { after_pack(conv_.choose_pack()); }

void OnePackForm::take_pack(const std::filesystem::path& pack) { after_pack(conv_.take_pack(pack)); }

void OnePackForm::choose_output() {
  if (!conv_.choose_output_folder()) end_procedure();
}

bool OnePackForm::leave_entry(std::string_view name, std::string_view typed) {
  if (!entries_open() || !is_entry(name)) return true;
  std::string_view field = name.substr(5), value = trim(typed);
  if (auto error = insurer_entry_error(field, value)) {
    // Not taken: the record keeps what it had.
    s_.op.message({std::string(core::kTitleWarning), *error, core::Icon::information, {core::Button::ok}, {}});
    return false;
  }
  p_.header.ist4.set(p_.header.ist4.layout().index(field), value);
  if (field == "KOD_OGRN") core::OnePackConversion::classify_ogrn(p_.header.ist4);
  return true;
}

bool OnePackForm::begin_ok(const std::function<std::string(std::string_view name)>& typed, std::string* refused) {
  if (running_) return false;
  std::string why;
  if (!pack_read_)
    why = "Входная пачка не выбрана. Нажмите «Входная пачка» и выберите пачку 4 формата."_w;
  else if (converted_)
    why = std::string("Эта пачка уже сконвертирована в файл "_w) + p_.output_full_name +
          std::string(". Для следующей пачки нажмите «Входная пачка»."_w);
  else if (!conv_.header_ready())
    why = "Выходной файл не создан: конвертировать документы некуда. Выберите выходной каталог и пачку заново."_w;
  if (!why.empty()) {
    s_.op.message({std::string(core::kTitleMessage), why, core::Icon::information, {core::Button::ok}, {}});
    return false;
  }
  // Every entry that shows other than its record holds (being typed in, or refused before) is
  // checked again; a value refused there stops "&OK", so that the operator sees what went in.
  for (std::string_view f : kIst4Fields) {
    if (!entries_open() || !is_insurer_entry(f)) continue;
    std::string name = "IST4:" + std::string(f);
    std::string text = typed(name);
    if (trim(text) == core::trim_right(p_.header.ist4.field(p_.header.ist4.layout().index(f)))) continue;
    if (!leave_entry(name, text)) {
      if (refused) *refused = name;
      return false;
    }
  }
  running_ = true;
  return true;
}

core::DocumentRun* OnePackForm::start_ok() { return conv_.start_ok(); }

void OnePackForm::end_ok() {
  const core::PackOutcome outcome = conv_.finish_ok();
  running_ = false;
  converted_ = true;
  std::string file = output_name();
  std::string counts = std::to_string(conv_.documents_written()) + std::string(" из "_w) +
                       std::to_string(core::as_number(p_.header.dokt["KOL_DOK"]));
  switch (outcome) {
    case core::PackOutcome::documents_left_out:
      status_ = std::string("Записан файл "_w) + file + std::string(": документов "_w) + counts +
                std::string(". ВНИМАНИЕ: в пачке документов больше, чем указано в ней ("_w) +
                std::string(core::trim_right(p_.header.dokt["KOL_DOK"])) +
                std::string("); остальные не конвертированы (см. журнал)."_w);
      break;
    case core::PackOutcome::converted:
      status_ = std::string("Записан файл "_w) + file + std::string(": документов "_w) + counts + ".";
      break;
    case core::PackOutcome::not_converted:
      status_ = std::string("Документы типа "_w) + std::string(core::trim_right(p_.header.dokt["TYP_DOK"])) +
                std::string(" не конвертируются: в файле "_w) + file + std::string(" только опись пачки."_w);
      break;
    default:  // not written
      status_ = std::string("Файл "_w) + file + std::string(" не записан: причина в сообщении и в журнале."_w);
  }
}

void OnePackForm::press_ok(WindowOperator& op, const OkWindow& window) {
  std::string refused;
  bool begun = false;
  op.guard([&] { begun = begin_ok(window.typed, &refused); });
  if (!begun) {
    if (!refused.empty()) window.refused(refused);
    return;
  }
  window.redraw();
  core::DocumentRun* run = nullptr;
  if (!op.guard([&] { run = start_ok(); })) {
    ok_failed();
    return window.redraw();
  }
  // The converter window's buttons drive the documents from here on; "&OK" ends when it closes.
  if (run)
    window.open_converter(*run);
  else
    window.documents_done();
}

void OnePackForm::finish_ok(WindowOperator& op) {
  if (!op.guard([&] { end_ok(); })) ok_failed();
}

bool OnePackForm::press_cancel(WindowOperator& op) {
  if (!buttons_enabled()) return false;
  op.guard([this] { cancel(); });
  return true;
}

void OnePackForm::take_pack(WindowOperator& op, const std::filesystem::path& pack) {
  op.pack_taken(pack);
  op.guard([&] { take_pack(pack); });
}

void OnePackForm::cancel() {
  if (running_) return;
  ended_ = true;
  conv_.cancel();
}

void OnePackForm::end_procedure() {
  ended_ = true;
  if (conv_.header_ready()) conv_.cancel();
}

}  // namespace tolvex::app
