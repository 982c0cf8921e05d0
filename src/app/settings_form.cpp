// SPDX-License-Identifier: MIT
#include "app/settings_form.h"

#include <filesystem>

#include "core/conversion/messages.h"
#include "runtime/codepage.h"
#include "runtime/paths.h"

namespace tolvex::app {

using namespace runtime::literals;

namespace {

using K = SettingsItemKind;
using core::Setting;

constexpr SettingsItem control(Setting s) { return {K::setting, s, {}}; }
constexpr SettingsItem note(std::string_view text) { return {K::note, {}, text}; }

constexpr SettingsItem kFolders[] = {
    {K::program_folder, {}, "Папка (каталог) программы конвертора Tolvex (лучше не менять)"_w},
    control(Setting::input_folder),
    control(Setting::output_folder),
    control(Setting::reference_folder),
    control(Setting::error_folder),
    control(Setting::report_folder),
};
constexpr SettingsItem kCheck4[] = {
    control(Setting::check_one_pack),
    control(Setting::check_batch_packs),
    note("K - проверка по КЛАДРу"_w),
    note("L - разрешить просмотр журнала проверки"_w),
    note("T - окно с итогами"_w),
    note("#  - включать в сообщения об ошибках и предупреждения   фамилию, имя, отчество и страховой номер"_w),
    note("E - можно редактировать"_w),
    note("Z  - проверка дублирования страховых номеров в пачке"_w),
    note("Wss - ждать клавишу ОК ss секунд"_w),
    note("U - не выводить диагноз на экран"_w),
    note("S - закончить проверку после ПЕРВОЙ ошибки"_w),
    note("Инструкцию по настройке смотрите в файле Dok\\CHECKPSN.TXT "_w),
    control(Setting::pack_checker),
    control(Setting::pack_checker_parameters),
};
constexpr SettingsItem kCheck7[] = {
    control(Setting::xml_checker),
    control(Setting::check_output_xml),
    note("В настоящий момент программа проверки НЕ может работать с командной строкой подобно CheckPSN. Поэтому она "
         "вызывается несколько раз - при каждой проверке."_w),
};
constexpr SettingsItem kArchive[] = {
    control(Setting::archive_folder),
    control(Setting::archiver),
    control(Setting::archiver_parameters),
    control(Setting::dated_archive_name),
    control(Setting::archive_name),
    {K::sample, {}, {}},
    note("В пакетном режиме в архив помещаются файлы обоих каталогов - с входными пачками 4 формата и выходными "
         "файлами 7 формата XML"_w),
};
constexpr SettingsItem kViewer[] = {
    control(Setting::viewer),
};
constexpr SettingsPage kPages[] = {
    {"Папки"_w, kFolders}, {"Проверка 4 формата"_w, kCheck4}, {"Проверка 7 формата"_w, kCheck7},
    {"Архив"_w, kArchive}, {"Просмотр"_w, kViewer},
};

std::string cut_to_width(Setting s, std::string_view v) {
  std::size_t w = core::setting_row(s).width;
  if (w && v.size() > w) v = v.substr(0, w);
  return std::string(v);
}

}  // namespace

std::span<const SettingsPage> settings_pages() { return kPages; }

std::string SettingsForm::value(Setting s) const {
  const std::string* v = s_.settings.text(s);
  return v ? *v : std::string();
}

int SettingsForm::flag(Setting s) const {
  const int* v = s_.settings.flag(s);
  return v ? *v : 0;
}

void SettingsForm::write(Setting s, std::string_view value) { core::put_setting(s_.ini, s, value); }

std::string SettingsForm::leave(Setting s, std::string_view typed) {
  const core::SettingRow& row = core::setting_row(s);
  std::string v = cut_to_width(s, typed);
  if (core::is_blank(v) && !row.cleared.empty())
    v = std::string(core::trim_right(s_.program_folder)) + std::string(row.cleared) + std::string(runtime::separator());
  if (std::string* m = s_.settings.text(s)) *m = v;
  write(s, v);
  return v;
}

bool SettingsForm::set_flag(Setting s, bool on) {
  if (int* f = s_.settings.flag(s)) *f = on ? 1 : 0;
  bool others = s == Setting::dated_archive_name;
  if (others) {
    core::Settings& st = s_.settings;
    st.archive_name = on ? core::yymmdd_hhmm(s_.today, s_.clock.now()) : std::string("arhiv");
    sample_ = std::string(core::trim_right(st.archiver_parameters)) + " " +
              std::string(core::trim_right(st.archive_folder)) + st.archive_name;
    if (sample_.size() > 255) sample_.resize(255);
  }
  write(s, on ? "1" : "0");
  return others;
}

std::string SettingsForm::browse(Setting s) {
  const core::SettingRow& row = core::setting_row(s);
  std::string* field = s_.settings.text(s);
  if (!field) return {};
  if (row.kind != core::SettingKind::program) {
    std::string start = core::is_blank(*field) ? s_.program_folder : std::string(core::trim_right(*field));
    if (auto chosen = s_.op.choose_folder(row.dialog_title, runtime::ansi_to_path(start))) {
      // A chosen folder keeps its closing separator, as the defaults do, so that names put
      // directly after it (the archive name) stay inside it.
      *field = cut_to_width(s, runtime::with_separator(runtime::path_to_ansi(*chosen)));
    }
    core::put_setting(s_.ini, s, *field, core::KeySpelling::second);
    return *field;
  }
  auto chosen =
      s_.op.choose_file(row.dialog_title, "Файлы исполняемые|*.exe"_w, runtime::ansi_to_path(s_.program_folder));
  if (chosen) {
    *field = cut_to_width(s, runtime::path_to_ansi(*chosen));
  } else {
    std::error_code ec;
    std::string_view current = core::trim_right(*field);
    bool exists = !current.empty() && std::filesystem::is_regular_file(runtime::ansi_to_path(current), ec);
    if (!exists) {
      core::info_box(s_.op, core::kTitleWarning, row.warning);
      field->clear();
    }
  }
  write(s, *field);
  return *field;
}

}  // namespace tolvex::app
