// SPDX-License-Identifier: MIT
// The settings file "tolvex.ini" in the program folder: the working directories, the external
// programs and four on/off flags in section odna_pch, and one section per window for its
// position. Keys are matched without regard to case; the file is Windows-1251.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex::core {

// An INI file: sections in square brackets, key=value lines. The file is read once, when the
// store is made; every write puts the whole file in place as a staged file (new, synced,
// renamed), unless writes are held. A value with leading or trailing blanks is stored in
// double quotes so that it reads back unchanged.
//
// The file may be Windows-1251, UTF-8 (with a byte-order mark or without) or UTF-16 (little or
// big endian, with a byte-order mark), with CR LF, LF or CR line ends; its values are held as
// Windows-1251 text. A write changes only the lines of the keys it changes, each written in
// the file's own encoding and line end: comments, other sections and lines that are not
// key=value stay byte for byte, as the Windows profile functions leave them.
class IniStore {
 public:
  // A settings file larger than this is not read (nor ever written).
  static constexpr std::size_t kMaxSize = 1024 * 1024;

  explicit IniStore(std::filesystem::path file);

  // Why an existing file could not be read: 0 when it was read or is missing. A file that
  // could not be read, is too large or cannot be understood is never written by this store:
  // the operator's settings are not to be replaced by defaults.
  int read_error() const { return read_error_; }
  bool too_large() const { return too_large_; }
  // The file is not text in any of its encodings (binary bytes, a broken UTF-8 or UTF-16
  // sequence, a character Windows-1251 lacks): read_error() is 47; the line where it was seen.
  bool not_understood() const { return bad_line_ != 0; }
  std::size_t bad_line() const { return bad_line_; }

  // The value, or an empty text when the section or key is missing.
  std::string get_setting(std::string_view section, std::string_view key) const;
  bool has_setting(std::string_view section, std::string_view key) const;
  // Writes one key; an existing entry keeps the spelling of its key. Nothing as value removes
  // the entry; a value the entry already holds writes nothing. Returns false when the file
  // cannot be written. A path holding characters Windows-1251 lacks (escapes, codepage.h) is
  // stored relative to the settings' folder when it lies under it and that says it in 1251;
  // otherwise it is not stored (the caller keeps it for the run).
  bool put_setting(std::string_view section, std::string_view key, std::optional<std::string_view> value);

  // Changes made from hold_writes to release_writes reach the file in one write, and only
  // when there is a change. release_writes gives the runtime code of that write.
  void hold_writes() { held_ = true; }
  int release_writes();

  // The code of the last write that failed; 0 when none did.
  int write_error() const { return write_error_; }
  // Told the code of every write that fails from now on (the desktop program shows a box).
  void on_write_failure(std::function<void(int code)> report) { report_ = std::move(report); }

  const std::filesystem::path& file() const { return file_; }
  // Forgets what was read and reads the file again.
  void reload();

  enum class Encoding { ansi, utf8, utf16le, utf16be };

 private:
  // One line of the file: its bytes as the file holds them, and what it says.
  struct Line {
    std::string bytes;  // without its line end
    std::string end;    // its line end as the file holds it; empty for a last line without one
    enum Kind { other, section, entry } kind = other;
    std::string name;   // the section's name or the entry's key (Windows-1251)
    std::string value;  // the entry's value (Windows-1251)
  };
  // The lines [header, end) of the first section of that name; npos header when there is none.
  struct Range {
    std::size_t header, end;
  };
  Range find_section(std::string_view name) const;
  std::size_t find_entry(const Range& r, std::string_view key) const;  // npos when missing
  void read();
  bool parse(const std::string& bytes);
  // A line of `text` (Windows-1251) in the file's encoding, with the file's line end.
  Line make_line(std::string_view text) const;
  Line make_entry(std::string_view key, std::string_view value) const;
  // The form in which a value with escapes can be stored; empty when it cannot be.
  std::string storable(std::string_view value) const;
  bool changed();  // a write, now or when released
  int save();

  std::filesystem::path file_;
  std::vector<Line> lines_;
  Encoding encoding_ = Encoding::ansi;
  std::string bom_;
  std::string line_end_;  // of the file's first line, in its encoding: for new lines
  int read_error_ = 0;
  bool too_large_ = false;
  std::size_t bad_line_ = 0;
  bool held_ = false;
  bool dirty_ = false;
  int write_error_ = 0;
  std::function<void(int)> report_;
};

inline constexpr std::string_view kSettingsSection = "odna_pch";

// The settings variables, as Windows-1251 text cut to their widths.
struct Settings {
  std::string path_in4, path_out7, path_Report, path_kps, path_temp, path_error, path_Arhiv;
  std::string path_Arh_prg, par_Arh_prg;
  int zip_dt = 1;
  std::string imj_Arh;
  std::string path_ChPSN, par_ChPSN;
  int fl_p4 = 0, fl_p4all = 0;
  std::string path_ChXML;
  int fl_p7zap = 0;
  std::string path_edit;
};

// The width of a text key, as its variable holds it.
std::size_t setting_width(std::string_view key);

// Reads every key of section odna_pch, writing back a default for each one that is missing or
// empty, all in one write of the file (its code: ini.write_error()). `program_folder` ends
// with the directory separator.
Settings load_settings(IniStore& ini, std::string_view program_folder);

// The default of a directory or program key for a program folder ("<folder>In_4/"); empty for
// keys without a folder default.
std::string default_setting(std::string_view key, std::string_view program_folder);

// A window's position as its section keeps it.
struct WindowPosition {
  bool maximized = false;
  bool minimized = false;
  std::optional<int> x, y, width, height;
};

void save_window_position(IniStore& ini, std::string_view section, const WindowPosition& pos);
WindowPosition restore_window_position(const IniStore& ini, std::string_view section);

}  // namespace tolvex::core
