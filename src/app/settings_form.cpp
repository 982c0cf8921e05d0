// SPDX-License-Identifier: MIT
#include "app/settings_form.h"

#include <filesystem>

#include "core/conversion/messages.h"
#include "runtime/codepage.h"
#include "runtime/paths.h"

namespace tolvex::app {

using namespace runtime::literals;

namespace {

bool same_key(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (runtime::ansi_upper(a[i]) != runtime::ansi_upper(b[i])) return false;
  return true;
}

std::string cut_to_width(std::string_view key, std::string_view v) {
  std::size_t w = core::setting_width(key);
  if (w && v.size() > w) v = v.substr(0, w);
  return std::string(v);
}

struct Titles {
  std::string_view key, title, warning;
};

constexpr Titles kTitles[] = {
    {"path_in4", "Выбор входного каталога пачек ПФР"_w, {}},
    {"path_out7", "Выбор выходного каталога XML"_w, {}},
    {"path_kps", "Выбор каталога справочников "_w, {}},
    {"path_error", "Выбор каталога Ошибок"_w, {}},
    {"path_Report", "Выбор каталога отчетов"_w, {}},
    {"path_Arhiv", "Выбор каталога архивов"_w, {}},
    {"path_ChPSN", "Выбор программы проверки пачек 4 формата"_w,
     "Программа проверки не выбрана! Проверка НЕ возможна !!"_w},
    {"path_ChXML", "Выбор программы проверки XML"_w, "Программа проверки XMLне выбрана! Проверка НЕ возможна !!"_w},
    {"path_Arh_prg", "Выбор программы архивации пачек 4 и 7 формата"_w,
     "Программа архиватор не выбрана! Архивация НЕ возможна !!"_w},
    {"path_edit", "Выбор программы/редактора для просмотра документов"_w,
     "Программа просмотра не выбрана! Просмотр НЕ возможен !!"_w},
};

const Titles* titles(std::string_view key) {
  for (const auto& t : kTitles)
    if (same_key(t.key, key)) return &t;
  return nullptr;
}

using K = SettingsItemKind;

constexpr SettingsItem kFolders[] = {
    {K::shown, "PROGRAM_FOLDER", "Папка (каталог) программы конвертора Tolvex (лучше не менять)"_w},
    {K::folder_with_default, "path_in4", "Входная папка (каталог) для пачек формата 4 ПФР"_w, true},
    {K::folder_with_default, "path_out7", "Выходная папка (каталог) для сконвертированых пачек 7 формата XML"_w, true},
    {K::folder_with_default, "path_kps", "Местонахождение (путь) папки (каталога) с кодами постояных справочников"_w,
     true},
    {K::folder_with_default, "path_error", "Местонахождение (путь) папки (каталога) для временых файлов и ошибок"_w,
     true},
    {K::folder_with_default, "path_Report", "Местонахождение (путь) папки (каталога) для файлов отчета"_w, true},
};
constexpr SettingsItem kCheck4[] = {
    {K::check, "fl_p4", "Проверять перед конвертацией Одной пачки"_w},
    {K::check, "fl_p4all", "Проверять ВСЕ пачки перед пакетной конвертацией"_w},
    {K::note, {}, "K - проверка по КЛАДРу"_w},
    {K::note, {}, "L - разрешить просмотр журнала проверки"_w},
    {K::note, {}, "T - окно с итогами"_w},
    {K::note, {}, "#  - включать в сообщения об ошибках и предупреждения   фамилию, имя, отчество и страховой номер"_w},
    {K::note, {}, "E - можно редактировать"_w},
    {K::note, {}, "Z  - проверка дублирования страховых номеров в пачке"_w},
    {K::note, {}, "Wss - ждать клавишу ОК ss секунд"_w},
    {K::note, {}, "U - не выводить диагноз на экран"_w},
    {K::note, {}, "S - закончить проверку после ПЕРВОЙ ошибки"_w},
    {K::note, {}, "Инструкцию по настройке смотрите в файле Dok\\CHECKPSN.TXT "_w},
    {K::program, "path_ChPSN", "Местонахождение (путь) программы проверки пачек 4 формата ПФР CheckPSN.exe"_w},
    {K::plain, "par_ChPSN", "Параметры проверки пачек (командной строки)"_w},
};
constexpr SettingsItem kCheck7[] = {
    {K::program, "path_ChXML", "Местонахождение (путь) программы проверки документов 7 формата XML"_w},
    {K::check, "fl_p7zap", "Всегда запускать программу проверки XML  после конвертации пачек"_w},
    {K::note,
     {},
     "В настоящий момент программа проверки НЕ может работать с командной строкой подобно CheckPSN. Поэтому она "
     "вызывается несколько раз - при каждой проверке."_w},
};
constexpr SettingsItem kArchive[] = {
    {K::plain, "path_Arhiv", "Местонахождение (путь) папки резервных архивов входных и выходных документов"_w, true},
    {K::program, "path_Arh_prg", "Местонахождение (путь) программы-архиватора (RAR, pkZipc, arj)"_w},
    {K::plain, "par_Arh_prg", "Параметры архиватора (командной строки)"_w},
    {K::check, "zip_dt", "Имена архивов из текущей даты+времени, например= 050723_1234.zip"_w},
    {K::plain, "imj_Arh", "Имя :"_w},
    {K::sample, "SAMPLE", {}},
    {K::note,
     {},
     "В пакетном режиме в архив помещаются файлы обоих каталогов - с входными пачками 4 формата и выходными файлами 7 "
     "формата XML"_w},
};
constexpr SettingsItem kViewer[] = {
    {K::program, "path_edit", "Местонахождение (путь) программы редактора текстовых файлов для просмотра"_w},
};
constexpr SettingsPage kPages[] = {
    {"Папки"_w, kFolders}, {"Проверка 4 формата"_w, kCheck4}, {"Проверка 7 формата"_w, kCheck7},
    {"Архив"_w, kArchive}, {"Просмотр"_w, kViewer},
};

}  // namespace

std::span<const SettingsPage> settings_pages() { return kPages; }

std::string* SettingsForm::text_setting(std::string_view key) {
  core::Settings& st = s_.settings;
  struct Member {
    std::string_view key;
    std::string core::Settings::*member;
  };
  static constexpr Member kMembers[] = {
      {"path_in4", &core::Settings::path_in4},       {"path_out7", &core::Settings::path_out7},
      {"path_Report", &core::Settings::path_Report}, {"path_kps", &core::Settings::path_kps},
      {"path_temp", &core::Settings::path_temp},     {"path_error", &core::Settings::path_error},
      {"path_Arhiv", &core::Settings::path_Arhiv},   {"path_Arh_prg", &core::Settings::path_Arh_prg},
      {"par_Arh_prg", &core::Settings::par_Arh_prg}, {"imj_Arh", &core::Settings::imj_Arh},
      {"path_ChPSN", &core::Settings::path_ChPSN},   {"par_ChPSN", &core::Settings::par_ChPSN},
      {"path_ChXML", &core::Settings::path_ChXML},   {"path_edit", &core::Settings::path_edit},
  };
  for (const auto& m : kMembers)
    if (same_key(m.key, key)) return &(st.*m.member);
  return nullptr;
}

int* SettingsForm::flag_setting(std::string_view key) {
  core::Settings& st = s_.settings;
  if (same_key(key, "zip_dt")) return &st.zip_dt;
  if (same_key(key, "fl_p4")) return &st.fl_p4;
  if (same_key(key, "fl_p4all")) return &st.fl_p4all;
  if (same_key(key, "fl_p7zap")) return &st.fl_p7zap;
  return nullptr;
}

std::string SettingsForm::value(std::string_view key) const {
  std::string* v = const_cast<SettingsForm*>(this)->text_setting(key);
  return v ? *v : std::string();
}

int SettingsForm::flag(std::string_view key) const {
  int* v = const_cast<SettingsForm*>(this)->flag_setting(key);
  return v ? *v : 0;
}

void SettingsForm::write(std::string_view key, std::string_view value) {
  s_.ini.put_setting(core::kSettingsSection, key, value);
}

std::string SettingsForm::folder_default(std::string_view key) const {
  // This window spells the report folder "Report"; the start-up default is in capitals.
  if (same_key(key, "path_Report"))
    return std::string(core::trim_right(s_.program_folder)) + "Report" + std::string(runtime::separator());
  return core::default_setting(key, s_.program_folder);
}

std::string SettingsForm::leave_folder(std::string_view key, std::string_view typed) {
  std::string v = cut_to_width(key, typed);
  if (core::is_blank(v)) v = folder_default(key);
  if (std::string* m = text_setting(key)) *m = v;
  write(key, v);
  return v;
}

std::string SettingsForm::leave_text(std::string_view key, std::string_view typed) {
  std::string v = cut_to_width(key, typed);
  if (std::string* m = text_setting(key)) *m = v;
  write(key, v);
  return v;
}

void SettingsForm::set_flag(std::string_view key, bool on) {
  if (int* f = flag_setting(key)) *f = on ? 1 : 0;
  write(key, on ? "1" : "0");
}

std::string SettingsForm::browse_folder(std::string_view key, std::string_view title) {
  std::string* field = text_setting(key);
  if (!field) return {};
  std::string start = core::is_blank(*field) ? s_.program_folder : std::string(core::trim_right(*field));
  if (auto chosen = s_.op.choose_folder(title, runtime::ansi_to_path(start))) {
    // A chosen folder keeps its closing separator, as the defaults do, so that names put
    // directly after it (the archive name) stay inside it.
    *field = cut_to_width(key, runtime::with_separator(runtime::path_to_ansi(*chosen)));
  }
  write(same_key(key, "path_out7") ? std::string_view("path_Out7") : key, *field);
  return *field;
}

std::string SettingsForm::browse_program(std::string_view key, std::string_view title) {
  std::string* field = text_setting(key);
  if (!field) return {};
  auto chosen = s_.op.choose_file(title, "Файлы исполняемые|*.exe"_w, runtime::ansi_to_path(s_.program_folder));
  if (chosen) {
    *field = cut_to_width(key, runtime::path_to_ansi(*chosen));
  } else {
    std::error_code ec;
    std::string_view current = core::trim_right(*field);
    bool exists = !current.empty() && std::filesystem::is_regular_file(runtime::ansi_to_path(current), ec);
    if (!exists) {
      core::info_box(s_.op, core::kTitleWarning, program_warning(key));
      field->clear();
    }
  }
  write(key, *field);
  return *field;
}

void SettingsForm::set_zip_dt(bool on) {
  s_.settings.zip_dt = on ? 1 : 0;
  s_.settings.imj_Arh = on ? core::yymmdd_hhmm(s_.today, s_.clock.now()) : std::string("arhiv");
  sample_ = std::string(core::trim_right(s_.settings.par_Arh_prg)) + " " +
            std::string(core::trim_right(s_.settings.path_Arhiv)) + s_.settings.imj_Arh;
  if (sample_.size() > 255) sample_.resize(255);
  write("zip_dt", on ? "1" : "0");
}

std::string_view SettingsForm::program_warning(std::string_view key) {
  const Titles* t = titles(key);
  return t ? t->warning : std::string_view();
}

std::string_view SettingsForm::browse_title(std::string_view key) {
  const Titles* t = titles(key);
  return t ? t->title : std::string_view();
}

}  // namespace tolvex::app
