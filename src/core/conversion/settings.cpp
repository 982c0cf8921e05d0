// SPDX-License-Identifier: MIT
#include "core/conversion/settings.h"

#include "core/format4/record.h"
#include "runtime/codepage.h"
#include "runtime/file_error.h"
#include "runtime/files.h"
#include "runtime/paths.h"
#include "runtime/platform.h"
#include "runtime/staged_file.h"

namespace tolvex::core {

namespace {

constexpr bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

IniStore::IniStore(std::filesystem::path file) : file_(std::move(file)) { read(); }

void IniStore::reload() {
  lines_.clear();
  encoding_ = Encoding::ansi;
  bom_.clear();
  line_end_.clear();
  read_error_ = runtime::Error::ok;
  too_large_ = false;
  bad_line_ = 0;
  read();
}

namespace {

// Reads the file's characters one by one, in its encoding.
class Decoder {
 public:
  Decoder(std::string_view bytes, IniStore::Encoding encoding) : b_(bytes), e_(encoding) {}
  std::size_t at() const { return i_; }
  bool done() const { return i_ >= b_.size(); }
  // The next character; false when the bytes there are not a character of the encoding.
  bool next(char32_t& cp) {
    switch (e_) {
      case IniStore::Encoding::ansi:
        cp = runtime::ansi_to_unicode(b_[i_++]);
        return cp != 0xFFFD;
      case IniStore::Encoding::utf8:
        return next_utf8(cp);
      default:
        return next_utf16(cp);
    }
  }

 private:
  unsigned byte(std::size_t k) const { return static_cast<unsigned char>(b_[k]); }
  bool next_utf8(char32_t& cp) {
    unsigned c = byte(i_);
    int extra = c < 0x80 ? 0 : c >= 0xC2 && c <= 0xDF ? 1 : (c & 0xF0) == 0xE0 ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : -1;
    if (extra < 0 || i_ + extra >= b_.size() + (extra == 0 ? 1 : 0)) return false;
    cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k <= extra; ++k) {
      if (i_ + k >= b_.size() || (byte(i_ + k) & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (byte(i_ + k) & 0x3F);
    }
    // Overlong forms, surrogates and code points past Unicode are not UTF-8.
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i_ += 1 + extra;
    return true;
  }
  char32_t unit(std::size_t k) const {
    return e_ == IniStore::Encoding::utf16le ? byte(k) | (byte(k + 1) << 8) : (byte(k) << 8) | byte(k + 1);
  }
  bool next_utf16(char32_t& cp) {
    if (i_ + 2 > b_.size()) return false;  // an odd length
    cp = unit(i_);
    if (cp >= 0xDC00 && cp <= 0xDFFF) return false;
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      if (i_ + 4 > b_.size()) return false;
      char32_t low = unit(i_ + 2);
      if (low < 0xDC00 || low > 0xDFFF) return false;
      cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
      i_ += 2;
    }
    i_ += 2;
    return true;
  }

  std::string_view b_;
  IniStore::Encoding e_;
  std::size_t i_ = 0;
};

// Text without a byte-order mark is UTF-8 when it has bytes past ASCII and all of them form
// UTF-8 sequences (Windows-1251 Russian text practically never does), otherwise Windows-1251.
bool looks_utf8(std::string_view bytes) {
  bool high = false;
  Decoder d(bytes, IniStore::Encoding::utf8);
  char32_t cp;
  while (!d.done()) {
    if (!d.next(cp)) return false;
    high = high || cp >= 0x80;
  }
  return high;
}

}  // namespace

void IniStore::read() {
  std::string text;
  runtime::Error rc = runtime::read_small_file(file_, kMaxSize, text, too_large_);
  if (rc == runtime::Error::not_found) return;  // a missing file is made by the first write
  if (rc != runtime::Error::ok) {
    read_error_ = rc;
    return;
  }
  if (!parse(text)) {
    lines_.clear();
    read_error_ = runtime::Error::bad_structure;
  }
}

bool IniStore::parse(const std::string& bytes) {
  std::string_view rest = bytes;
  auto starts = [&](std::string_view mark) { return rest.substr(0, mark.size()) == mark; };
  if (starts("\xEF\xBB\xBF")) {
    encoding_ = Encoding::utf8;
  } else if (starts("\xFF\xFE")) {
    encoding_ = Encoding::utf16le;
  } else if (starts("\xFE\xFF")) {
    encoding_ = Encoding::utf16be;
  } else {
    encoding_ = looks_utf8(rest) ? Encoding::utf8 : Encoding::ansi;
  }
  std::size_t mark = starts("\xEF\xBB\xBF")                                             ? 3
                     : encoding_ == Encoding::utf16le || encoding_ == Encoding::utf16be ? 2
                                                                                        : 0;
  bom_ = std::string(rest.substr(0, mark));
  rest.remove_prefix(bom_.size());

  Decoder d(rest, encoding_);
  std::size_t line_start = 0;
  std::string text;  // the line's characters in Windows-1251
  bool in_section = false;
  auto finish = [&](std::size_t text_end, std::size_t end_end) {
    Line line;
    line.bytes = std::string(rest.substr(line_start, text_end - line_start));
    line.end = std::string(rest.substr(text_end, end_end - text_end));
    if (line_end_.empty()) line_end_ = line.end;
    std::string_view t = trim(text);
    if (!t.empty() && t.front() == '[') {
      auto close = t.find(']');
      line.kind = Line::section;
      line.name = std::string(trim(t.substr(1, close == std::string_view::npos ? t.npos : close - 1)));
      in_section = true;
    } else if (!t.empty() && t.front() != ';' && in_section && t.find('=') != std::string_view::npos) {
      auto eq = t.find('=');
      std::string_view value = trim(t.substr(eq + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
      line.kind = Line::entry;
      line.name = std::string(trim(t.substr(0, eq)));
      line.value = std::string(value);
    }
    lines_.push_back(std::move(line));
    text.clear();
    line_start = end_end;
  };
  while (!d.done()) {
    std::size_t at = d.at();
    char32_t cp;
    if (!d.next(cp)) {
      bad_line_ = lines_.size() + 1;
      return false;
    }
    if (cp == '\r' || cp == '\n') {
      std::size_t end_end = d.at();
      if (cp == '\r' && !d.done()) {
        Decoder look = d;
        char32_t lf;
        if (look.next(lf) && lf == '\n') {
          d = look;
          end_end = d.at();
        }
      }
      finish(at, end_end);
      continue;
    }
    char c;
    // Binary bytes (NUL and the other control codes but the tab) and characters Windows-1251
    // lacks: not a settings file that can be understood.
    if ((cp < 0x20 && cp != '\t') || !runtime::unicode_to_ansi(cp, c)) {
      bad_line_ = lines_.size() + 1;
      return false;
    }
    text.push_back(c);
  }
  if (line_start < rest.size()) finish(rest.size(), rest.size());
  return true;
}

IniStore::Range IniStore::find_section(std::string_view name) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind != Line::section || !iequals(lines_[i].name, name)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && lines_[end].kind != Line::section) ++end;
    return {i, end};
  }
  return {std::string::npos, std::string::npos};
}

std::size_t IniStore::find_entry(const Range& r, std::string_view key) const {
  if (r.header == std::string::npos) return std::string::npos;
  for (std::size_t i = r.header + 1; i < r.end; ++i)
    if (lines_[i].kind == Line::entry && iequals(lines_[i].name, key)) return i;
  return std::string::npos;
}

std::string IniStore::get_setting(std::string_view section, std::string_view key) const {
  std::size_t i = find_entry(find_section(section), key);
  return i == std::string::npos ? std::string() : lines_[i].value;
}

bool IniStore::has_setting(std::string_view section, std::string_view key) const {
  return find_entry(find_section(section), key) != std::string::npos;
}

IniStore::Line IniStore::make_line(std::string_view text) const {
  Line line;
  for (char c : text) {
    char32_t cp = runtime::ansi_to_unicode(c);
    switch (encoding_) {
      case Encoding::ansi:
        line.bytes.push_back(c);
        break;
      case Encoding::utf8:
        line.bytes += runtime::ansi_to_utf8(std::string_view(&c, 1));
        break;
      case Encoding::utf16le:
        line.bytes.push_back(static_cast<char>(cp & 0xFF));
        line.bytes.push_back(static_cast<char>(cp >> 8));
        break;
      case Encoding::utf16be:
        line.bytes.push_back(static_cast<char>(cp >> 8));
        line.bytes.push_back(static_cast<char>(cp & 0xFF));
        break;
    }
  }
  if (!line_end_.empty()) {
    line.end = line_end_;
  } else if (encoding_ == Encoding::utf16le) {
    line.end = std::string("\r\0\n\0", 4);
  } else if (encoding_ == Encoding::utf16be) {
    line.end = std::string("\0\r\0\n", 4);
  } else {
    line.end = "\r\n";
  }
  return line;
}

IniStore::Line IniStore::make_entry(std::string_view key, std::string_view value) const {
  bool quote = !value.empty() && (value.front() == ' ' || value.back() == ' ' ||
                                  (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
  std::string text(key);
  text += '=';
  if (quote) text += '"';
  text += value;
  if (quote) text += '"';
  Line line = make_line(text);
  line.kind = Line::entry;
  line.name = std::string(key);
  line.value = std::string(value);
  return line;
}

std::string IniStore::storable(std::string_view value) const {
  // A name under the settings' own folder (the program folder, the current directory) is kept
  // relative to it, which resolves to the same folder.
  std::filesystem::path p = runtime::ansi_to_path(value);
  std::filesystem::path folder = file_.parent_path();
  if (!p.is_absolute() || folder.empty()) return {};
  std::filesystem::path rel = p.lexically_normal().lexically_relative(folder.lexically_normal());
  if (rel.empty() || *rel.begin() == "..") return {};
  std::string text = runtime::path_to_ansi(rel);
  if (runtime::has_escape(text)) return {};
  if (value.back() == '/' || value.back() == '\\') text = runtime::with_separator(text);
  return text;
}

bool IniStore::put_setting(std::string_view section, std::string_view key, std::optional<std::string_view> value) {
  std::string kept;
  if (value && runtime::has_escape(*value)) {
    // A name with characters the file's Windows-1251 lacks is never stored in a lossy form:
    // relative to the program folder when that says it in 1251, or else not at all (it is
    // used for this run as it is).
    kept = storable(*value);
    if (kept.empty()) return true;
    value = kept;
  }
  Range r = find_section(section);
  std::size_t at = find_entry(r, key);
  if (at != std::string::npos) {
    // The file already holds this value (no write has failed since): nothing to write.
    if (value && lines_[at].value == *value && write_error_ == runtime::Error::ok) return true;
    if (value) {
      Line line = make_entry(lines_[at].name, *value);
      line.end = lines_[at].end;
      lines_[at] = std::move(line);
    } else {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return changed();
  }
  if (!value) return true;
  // A line that a new one follows needs its line end.
  auto ended = [this](std::size_t i) {
    if (lines_[i].end.empty()) lines_[i].end = make_line("").end;
  };
  if (r.header == std::string::npos) {
    // A new section at the end of the file, after an empty line.
    if (!lines_.empty()) {
      ended(lines_.size() - 1);
      lines_.push_back(make_line(""));
    }
    Line header = make_line("[" + std::string(section) + "]");
    header.kind = Line::section;
    header.name = std::string(section);
    lines_.push_back(std::move(header));
    lines_.push_back(make_entry(key, *value));
    return changed();
  }
  // A new key after the section's last key (after its name when it has none).
  std::size_t after = r.header;
  for (std::size_t i = r.header + 1; i < r.end; ++i)
    if (lines_[i].kind == Line::entry) after = i;
  ended(after);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after + 1), make_entry(key, *value));
  return changed();
}

bool IniStore::changed() {
  if (held_) {
    dirty_ = true;
    return true;
  }
  return save() == runtime::Error::ok;
}

runtime::Error IniStore::release_writes() {
  held_ = false;
  if (!dirty_) return runtime::Error::ok;
  dirty_ = false;
  return save();
}

runtime::Error IniStore::save() {
  // A file that could not be read keeps what it holds.
  if (read_error_ != runtime::Error::ok) return write_error_ = read_error_;
  std::string out = bom_;
  for (const auto& line : lines_) {
    out += line.bytes;
    out += line.end;
  }
  runtime::StagedFile f;
  runtime::Error rc = f.create(file_);
  if (rc == runtime::Error::ok) rc = f.write(out);
  if (rc == runtime::Error::ok) rc = f.commit();
  if (rc != runtime::Error::ok) {
    write_error_ = rc;
    if (report_) report_(rc);
  }
  return rc;
}

// ---------------------------------------------------------------------------------------------

namespace {

using namespace runtime::literals;
using K = SettingKind;
using D = StartDefault;
using S = Settings;

// The settings of section odna_pch. A new setting: its name in the enumeration, its variable in
// Settings, its row here (and its control on a page of the settings window, app/settings_form.cpp).
// Columns: the setting, its key and the key's second spelling, kind, width, start-up default,
// the default of a field cleared in the settings window, the title of the "..." dialog, the
// warning of a program left unchosen, the caption in the settings window, the variable.
// clang-format off
constexpr SettingRow kRows[] = {
    {Setting::input_folder, "path_in4", {}, K::folder, 0, D::subfolder, "In_4", "In_4",
     "Выбор входного каталога пачек ПФР"_w, {},
     "Входная папка (каталог) для пачек формата 4 ПФР"_w, &S::input_folder, nullptr},
    {Setting::output_folder, "path_out7", "path_Out7", K::folder, 0, D::subfolder, "Out_7", "Out_7",
     "Выбор выходного каталога XML"_w, {},
     "Выходная папка (каталог) для сконвертированых пачек 7 формата XML"_w, &S::output_folder, nullptr},
    // The settings window spells a cleared report folder "Report"; start-up writes it in capitals.
    {Setting::report_folder, "path_Report", {}, K::folder, 0, D::subfolder, "REPORT", "Report",
     "Выбор каталога отчетов"_w, {},
     "Местонахождение (путь) папки (каталога) для файлов отчета"_w, &S::report_folder, nullptr},
    {Setting::reference_folder, "path_kps", {}, K::folder, 0, D::subfolder, "KPS", "KPS",
     "Выбор каталога справочников "_w, {},
     "Местонахождение (путь) папки (каталога) с кодами постояных справочников"_w, &S::reference_folder, nullptr},
    {Setting::temporary_folder, "path_temp", {}, K::folder, 0, D::subfolder, "Error", {},
     {}, {},
     {}, &S::temporary_folder, nullptr},
    {Setting::error_folder, "path_error", {}, K::folder, 0, D::subfolder, "Error", "Error",
     "Выбор каталога Ошибок"_w, {},
     "Местонахождение (путь) папки (каталога) для временых файлов и ошибок"_w, &S::error_folder, nullptr},
    {Setting::archive_folder, "path_Arhiv", {}, K::folder, 0, D::subfolder, "Arh", {},
     "Выбор каталога архивов"_w, {},
     "Местонахождение (путь) папки резервных архивов входных и выходных документов"_w, &S::archive_folder, nullptr},
    {Setting::archiver, "path_Arh_prg", {}, K::program, 0, D::archiver, {}, {},
     "Выбор программы архивации пачек 4 и 7 формата"_w,
     "Программа архиватор не выбрана! Архивация НЕ возможна !!"_w,
     "Местонахождение (путь) программы-архиватора (RAR, pkZipc, arj)"_w, &S::archiver, nullptr},
    {Setting::archiver_parameters, "par_Arh_prg", {}, K::parameters, 80, D::text, " -add ", {},
     {}, {},
     "Параметры архиватора (командной строки)"_w, &S::archiver_parameters, nullptr},
    {Setting::dated_archive_name, "zip_dt", {}, K::flag, 0, D::text, "1", {},
     {}, {},
     "Имена архивов из текущей даты+времени, например= 050723_1234.zip"_w, nullptr, &S::dated_archive_name},
    {Setting::archive_name, "imj_Arh", {}, K::name, 20, D::text, "arhiv", {},
     {}, {},
     "Имя :"_w, &S::archive_name, nullptr},
    {Setting::pack_checker, "path_ChPSN", {}, K::program, 0, D::text, "", {},
     "Выбор программы проверки пачек 4 формата"_w,
     "Программа проверки не выбрана! Проверка НЕ возможна !!"_w,
     "Местонахождение (путь) программы проверки пачек 4 формата ПФР CheckPSN.exe"_w, &S::pack_checker, nullptr},
    {Setting::pack_checker_parameters, "par_ChPSN", {}, K::parameters, 20, D::text, " U# ", {},
     {}, {},
     "Параметры проверки пачек (командной строки)"_w, &S::pack_checker_parameters, nullptr},
    {Setting::check_one_pack, "fl_p4", {}, K::flag, 0, D::text, "0", {},
     {}, {},
     "Проверять перед конвертацией Одной пачки"_w, nullptr, &S::check_one_pack},
    {Setting::check_batch_packs, "fl_p4all", {}, K::flag, 0, D::text, "0", {},
     {}, {},
     "Проверять ВСЕ пачки перед пакетной конвертацией"_w, nullptr, &S::check_batch_packs},
    {Setting::xml_checker, "path_ChXML", {}, K::program, 0, D::text, "", {},
     "Выбор программы проверки XML"_w,
     "Программа проверки XMLне выбрана! Проверка НЕ возможна !!"_w,
     "Местонахождение (путь) программы проверки документов 7 формата XML"_w, &S::xml_checker, nullptr},
    {Setting::check_output_xml, "fl_p7zap", {}, K::flag, 0, D::text, "0", {},
     {}, {},
     "Всегда запускать программу проверки XML  после конвертации пачек"_w, nullptr, &S::check_output_xml},
    {Setting::viewer, "path_edit", {}, K::program, 0, D::not_read, "C:\\AkelPad\\AkelPad.exe", {},
     "Выбор программы/редактора для просмотра документов"_w,
     "Программа просмотра не выбрана! Просмотр НЕ возможен !!"_w,
     "Местонахождение (путь) программы редактора текстовых файлов для просмотра"_w, &S::viewer, nullptr},
};
// clang-format on

// What the compiler can check of the table: one row per setting in the enumeration's order,
// keys that differ without regard to case, a variable of the setting's sort.
constexpr bool rows_are_sound() {
  if (std::size(kRows) != kSettingCount) return false;
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const SettingRow& r = kRows[i];
    if (static_cast<std::size_t>(r.setting) != i || r.key.empty()) return false;
    if ((r.kind == K::flag) != (r.flag != nullptr) || (r.kind == K::flag) == (r.text != nullptr)) return false;
    if (r.start == D::not_read && r.kind == K::flag) return false;
    for (std::size_t j = 0; j < i; ++j)
      for (std::string_view key : {r.key, r.second_key})
        if (!key.empty() && (iequals(kRows[j].key, key) || iequals(kRows[j].second_key, key))) return false;
  }
  return true;
}
static_assert(rows_are_sound());

std::string cut(std::string_view value, std::size_t width) {
  if (width && value.size() > width) value = value.substr(0, width);
  return std::string(value);
}

std::string load_text(IniStore& ini, const SettingRow& row, std::string_view program_folder) {
  std::string v = cut(ini.get_setting(kSettingsSection, row.key), row.width);
  if (is_blank(v)) {
    v = cut(default_setting(row.setting, program_folder), row.width);
    ini.put_setting(kSettingsSection, row.key, v);
  }
  return v;
}

// A flag key: a missing, empty or non-numeric value takes the default and is written back; a
// numeric value, 0 included, is kept.
int load_flag(IniStore& ini, const SettingRow& row) {
  std::string v = ini.get_setting(kSettingsSection, row.key);
  std::string_view t = trim(v);
  if (!t.empty() && t.front() >= '0' && t.front() <= '9') return static_cast<int>(as_number(t) & 0xFF);
  ini.put_setting(kSettingsSection, row.key, row.initial);
  return static_cast<int>(as_number(row.initial));
}

}  // namespace

const SettingRow& setting_row(Setting s) { return kRows[static_cast<std::size_t>(s)]; }

std::string* Settings::text(Setting s) {
  auto member = setting_row(s).text;
  return member ? &(this->*member) : nullptr;
}

const std::string* Settings::text(Setting s) const { return const_cast<Settings*>(this)->text(s); }

int* Settings::flag(Setting s) {
  auto member = setting_row(s).flag;
  return member ? &(this->*member) : nullptr;
}

const int* Settings::flag(Setting s) const { return const_cast<Settings*>(this)->flag(s); }

std::string default_setting(Setting s, std::string_view program_folder) {
  const SettingRow& row = setting_row(s);
  switch (row.start) {
    case D::archiver:
      return runtime::default_archiver(trim_right(program_folder));
    case D::subfolder:
      return std::string(trim_right(program_folder)) + std::string(row.initial) + std::string(runtime::separator());
    default:
      return std::string(row.initial);
  }
}

Settings load_settings(IniStore& ini, std::string_view pf) {
  // The defaults of every missing key reach the file in one write.
  ini.hold_writes();
  Settings s;
  for (const SettingRow& row : kRows) {
    if (row.start == D::not_read)
      *s.text(row.setting) = row.initial;
    else if (row.kind == K::flag)
      *s.flag(row.setting) = load_flag(ini, row);
    else
      *s.text(row.setting) = load_text(ini, row, pf);
  }
  // A failed write of the defaults is told to on_write_failure and kept in write_error().
  static_cast<void>(ini.release_writes());
  return s;
}

bool put_setting(IniStore& ini, Setting s, std::string_view value, KeySpelling spelling) {
  const SettingRow& row = setting_row(s);
  bool second = spelling == KeySpelling::second && !row.second_key.empty();
  return ini.put_setting(kSettingsSection, second ? row.second_key : row.key, value);
}

void save_window_position(IniStore& ini, std::string_view section, const WindowPosition& pos) {
  ini.put_setting(section, "Maximize", pos.maximized ? "Yes" : "No");
  ini.put_setting(section, "Minimize", pos.minimized ? "Yes" : "No");
  auto put = [&](std::string_view key, const std::optional<int>& v) {
    if (v)
      ini.put_setting(section, key, std::to_string(*v));
    else
      ini.put_setting(section, key, std::nullopt);
  };
  put("XPos", pos.x);
  put("YPos", pos.y);
  put("Width", pos.width);
  put("Height", pos.height);
}

WindowPosition restore_window_position(const IniStore& ini, std::string_view section) {
  WindowPosition p;
  p.maximized = iequals(trim(ini.get_setting(section, "Maximize")), "Yes");
  p.minimized = iequals(trim(ini.get_setting(section, "Minimize")), "Yes");
  auto get = [&](std::string_view key) -> std::optional<int> {
    std::string v = ini.get_setting(section, key);
    std::string_view t = trim(v);
    if (t.empty()) return std::nullopt;
    bool neg = t.front() == '-';
    if (neg) t.remove_prefix(1);
    if (t.empty() || t.front() < '0' || t.front() > '9') return std::nullopt;
    long long n = as_number(t);
    return static_cast<int>(neg ? -n : n);
  };
  p.x = get("XPos");
  p.y = get("YPos");
  p.width = get("Width");
  p.height = get("Height");
  return p;
}

}  // namespace tolvex::core
