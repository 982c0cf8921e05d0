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
  lines_.clear();
  encoding_ = Encoding::ansi;
  bom_.clear();
  line_end_.clear();
  read_error_ = 0;
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
  int rc = runtime::read_small_file(file_, kMaxSize, text, too_large_);
  if (rc == runtime::error::not_found) return;  // a missing file is made by the first write
  if (rc != runtime::error::ok) {
    read_error_ = rc;
    return;
  }
  if (!parse(text)) {
    lines_.clear();
    read_error_ = runtime::error::bad_structure;
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
    if (value && lines_[at].value == *value && write_error_ == 0) return true;
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
  std::string out = bom_;
  for (const auto& line : lines_) {
    out += line.bytes;
    out += line.end;
  }
  runtime::StagedFile f;
  int rc = f.create(file_);
  if (rc == runtime::error::ok) rc = f.write(out);
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
