// SPDX-License-Identifier: MIT
#include "core/settings.h"

#include <sstream>

#include "core/record.h"
#include "runtime/file_error.h"
#include "runtime/files.h"
#include "runtime/paths.h"
#include "runtime/platform.h"
#include "runtime/staged_file.h"

namespace tolvex::core {

namespace {

bool iequals(std::string_view a, std::string_view b) {
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
  sections_.clear();
  read_error_ = 0;
  too_large_ = false;
  read();
}

void IniStore::read() {
  std::string text;
  int rc = runtime::read_small_file(file_, kMaxSize, text, too_large_);
  if (rc == runtime::error::not_found) return;  // a missing file is made by the first write
  if (rc != runtime::error::ok) {
    read_error_ = rc;
    return;
  }
  std::string_view rest = text;
  while (!rest.empty()) {
    auto nl = rest.find('\n');
    std::string_view line = trim(rest.substr(0, nl));
    rest.remove_prefix(nl == std::string_view::npos ? rest.size() : nl + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      auto close = line.find(']');
      sections_.push_back(
          {std::string(trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1))), {}});
      continue;
    }
    if (sections_.empty()) continue;
    auto eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view value = trim(line.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    sections_.back().entries.push_back({std::string(trim(line.substr(0, eq))), std::string(value)});
  }
}

IniStore::Section* IniStore::find_section(std::string_view name) {
  for (auto& s : sections_)
    if (iequals(s.name, name)) return &s;
  return nullptr;
}

const IniStore::Section* IniStore::find_section(std::string_view name) const {
  for (const auto& s : sections_)
    if (iequals(s.name, name)) return &s;
  return nullptr;
}

std::string IniStore::get_setting(std::string_view section, std::string_view key) const {
  if (const Section* s = find_section(section))
    for (const auto& e : s->entries)
      if (iequals(e.key, key)) return e.value;
  return {};
}

bool IniStore::has_setting(std::string_view section, std::string_view key) const {
  if (const Section* s = find_section(section))
    for (const auto& e : s->entries)
      if (iequals(e.key, key)) return true;
  return false;
}

bool IniStore::put_setting(std::string_view section, std::string_view key, std::optional<std::string_view> value) {
  Section* s = find_section(section);
  if (!s) {
    if (!value) return true;
    sections_.push_back({std::string(section), {}});
    s = &sections_.back();
  }
  for (auto it = s->entries.begin(); it != s->entries.end(); ++it) {
    if (!iequals(it->key, key)) continue;
    // The file already holds this value (no write has failed since): nothing to write.
    if (value && it->value == *value && write_error_ == 0) return true;
    if (value)
      it->value = std::string(*value);
    else
      s->entries.erase(it);
    return changed();
  }
  if (!value) return true;
  s->entries.push_back({std::string(key), std::string(*value)});
  return changed();
}

bool IniStore::changed() {
  if (held_) {
    dirty_ = true;
    return true;
  }
  return save() == runtime::error::ok;
}

int IniStore::release_writes() {
  held_ = false;
  if (!dirty_) return runtime::error::ok;
  dirty_ = false;
  return save();
}

int IniStore::save() {
  // A file that could not be read keeps what it holds.
  if (read_error_ != 0) return write_error_ = read_error_;
  std::ostringstream out;
  bool first = true;
  for (const auto& s : sections_) {
    if (!first) out << "\r\n";
    first = false;
    out << '[' << s.name << "]\r\n";
    for (const auto& e : s.entries) {
      bool quote = !e.value.empty() && (e.value.front() == ' ' || e.value.back() == ' ' ||
                                        (e.value.size() >= 2 && e.value.front() == '"' && e.value.back() == '"'));
      out << e.key << '=' << (quote ? "\"" : "") << e.value << (quote ? "\"" : "") << "\r\n";
    }
  }
  runtime::StagedFile f;
  int rc = f.create(file_);
  if (rc == runtime::error::ok) rc = f.write(out.str());
  if (rc == runtime::error::ok) rc = f.commit();
  if (rc != runtime::error::ok) {
    write_error_ = rc;
    if (report_) report_(rc);
  }
  return rc;
}

// ---------------------------------------------------------------------------------------------

namespace {

// The viewer path the settings window starts from.
constexpr std::string_view kDefaultViewer = "C:\\AkelPad\\AkelPad.exe";

struct TextKey {
  std::string_view key;
  std::size_t width;        // 0: a path, never cut
  std::string_view folder;  // default: program folder + this (+ separator for directories)
  bool directory;
  std::string_view fixed_default;
};

// The keys of section odna_pch in the order they are read; the archiver's default is the
// runtime's default_archiver().
// clang-format off
constexpr TextKey kTextKeys[] = {
    {"path_in4", 0, "In_4", true, {}},
    {"path_out7", 0, "Out_7", true, {}},
    {"path_Report", 0, "REPORT", true, {}},
    {"path_kps", 0, "KPS", true, {}},
    {"path_temp", 0, "Error", true, {}},
    {"path_error", 0, "Error", true, {}},
    {"path_Arhiv", 0, "Arh", true, {}},
    {"path_Arh_prg", 0, {}, false, {}},
    {"par_Arh_prg", 80, {}, false, " -add "},
    {"imj_Arh", 20, {}, false, "arhiv"},
    {"path_ChPSN", 0, {}, false, {}},
    {"par_ChPSN", 20, {}, false, " U# "},
    {"path_ChXML", 0, {}, false, {}},
    {"path_edit", 0, {}, false, {}},
};
// clang-format on

const TextKey* text_key(std::string_view key) {
  for (const auto& k : kTextKeys)
    if (iequals(k.key, key)) return &k;
  return nullptr;
}

std::string cut(std::string_view value, std::size_t width) {
  if (width && value.size() > width) value = value.substr(0, width);
  return std::string(value);
}

std::string load_text(IniStore& ini, std::string_view key, std::string_view program_folder) {
  const TextKey* k = text_key(key);
  std::string v = cut(ini.get_setting(kSettingsSection, key), k->width);
  if (is_blank(v)) {
    v = cut(default_setting(key, program_folder), k->width);
    ini.put_setting(kSettingsSection, key, v);
  }
  return v;
}

// A flag key: a missing, empty or non-numeric value takes the default and is written back; a
// numeric value, 0 included, is kept.
int load_flag(IniStore& ini, std::string_view key, int def) {
  std::string v = ini.get_setting(kSettingsSection, key);
  std::string_view t = trim(v);
  if (!t.empty() && t.front() >= '0' && t.front() <= '9') return static_cast<int>(as_number(t) & 0xFF);
  ini.put_setting(kSettingsSection, key, std::to_string(def));
  return def;
}

}  // namespace

std::size_t setting_width(std::string_view key) {
  const TextKey* k = text_key(key);
  return k ? k->width : 0;
}

std::string default_setting(std::string_view key, std::string_view program_folder) {
  const TextKey* k = text_key(key);
  if (!k) return {};
  if (iequals(k->key, "path_Arh_prg")) return runtime::default_archiver(trim_right(program_folder));
  if (!k->folder.empty()) {
    std::string v(trim_right(program_folder));
    v.append(k->folder);
    if (k->directory) v.append(runtime::separator());
    return v;
  }
  return std::string(k->fixed_default);
}

Settings load_settings(IniStore& ini, std::string_view pf) {
  // The defaults of every missing key reach the file in one write.
  ini.hold_writes();
  Settings s;
  s.path_in4 = load_text(ini, "path_in4", pf);
  s.path_out7 = load_text(ini, "path_out7", pf);
  s.path_Report = load_text(ini, "path_Report", pf);
  s.path_kps = load_text(ini, "path_kps", pf);
  s.path_temp = load_text(ini, "path_temp", pf);
  s.path_error = load_text(ini, "path_error", pf);
  s.path_Arhiv = load_text(ini, "path_Arhiv", pf);
  s.path_Arh_prg = load_text(ini, "path_Arh_prg", pf);
  s.par_Arh_prg = load_text(ini, "par_Arh_prg", pf);
  s.zip_dt = load_flag(ini, "zip_dt", 1);
  s.imj_Arh = load_text(ini, "imj_Arh", pf);
  // The checker paths have no default: the key is written with an empty value.
  s.path_ChPSN = ini.get_setting(kSettingsSection, "path_ChPSN");
  if (is_blank(s.path_ChPSN)) ini.put_setting(kSettingsSection, "path_ChPSN", "");
  s.par_ChPSN = load_text(ini, "par_ChPSN", pf);
  s.fl_p4 = load_flag(ini, "fl_p4", 0);
  s.fl_p4all = load_flag(ini, "fl_p4all", 0);
  s.path_ChXML = ini.get_setting(kSettingsSection, "path_ChXML");
  if (is_blank(s.path_ChXML)) ini.put_setting(kSettingsSection, "path_ChXML", "");
  s.fl_p7zap = load_flag(ini, "fl_p7zap", 0);
  // The viewer is not read at start-up; only the settings window writes it.
  s.path_edit = kDefaultViewer;
  ini.release_writes();
  return s;
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
