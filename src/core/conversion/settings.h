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

#include "runtime/file_error.h"

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

  // Why an existing file could not be read: ok when it was read or is missing. A file that
  // could not be read, is too large or cannot be understood is never written by this store:
  // the operator's settings are not to be replaced by defaults.
  runtime::Error read_error() const { return read_error_; }
  bool too_large() const { return too_large_; }
  // The file is not text in any of its encodings (binary bytes, a broken UTF-8 or UTF-16
  // sequence, a character Windows-1251 lacks): read_error() is bad_structure (47); the line where it was seen.
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
  runtime::Error release_writes();

  // The code of the last write that failed; ok when none did.
  runtime::Error write_error() const { return write_error_; }
  // Told the code of every write that fails from now on (the desktop program shows a box).
  void on_write_failure(std::function<void(runtime::Error code)> report) { report_ = std::move(report); }

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
  runtime::Error save();

  std::filesystem::path file_;
  std::vector<Line> lines_;
  Encoding encoding_ = Encoding::ansi;
  std::string bom_;
  std::string line_end_;  // of the file's first line, in its encoding: for new lines
  runtime::Error read_error_ = runtime::Error::ok;
  bool too_large_ = false;
  std::size_t bad_line_ = 0;
  bool held_ = false;
  bool dirty_ = false;
  runtime::Error write_error_ = runtime::Error::ok;
  std::function<void(runtime::Error)> report_;
};

inline constexpr std::string_view kSettingsSection = "odna_pch";

// The settings of section odna_pch, by what they hold, in the order they are read at start-up.
// Each has one row in the table of settings (settings.cpp): its old key, and all the rest.
enum class Setting : unsigned char {
  input_folder,             // path_in4: the format-4 packs; the one-pack conversion keeps the last pack's folder
  output_folder,            // path_out7: the XML files
  report_folder,            // path_Report
  reference_folder,         // path_kps: the reference code tables
  temporary_folder,         // path_temp
  error_folder,             // path_error
  archive_folder,           // path_Arhiv
  archiver,                 // path_Arh_prg
  archiver_parameters,      // par_Arh_prg
  dated_archive_name,       // zip_dt: the archive named by the date and time
  archive_name,             // imj_Arh: its name otherwise
  pack_checker,             // path_ChPSN: the checker of format-4 packs
  pack_checker_parameters,  // par_ChPSN
  check_one_pack,           // fl_p4: the one-pack conversion checks the chosen pack
  check_batch_packs,        // fl_p4all: the batch checks every pack first
  xml_checker,              // path_ChXML: the checker of XML files
  check_output_xml,         // fl_p7zap: the XML checker is run on what was made
  viewer,                   // path_edit: the text viewer
};
inline constexpr std::size_t kSettingCount = static_cast<std::size_t>(Setting::viewer) + 1;

// The settings variables, as Windows-1251 text cut to their widths.
struct Settings {
  std::string input_folder, output_folder, report_folder, reference_folder, temporary_folder, error_folder;
  std::string archive_folder, archiver, archiver_parameters;
  int dated_archive_name = 1;
  std::string archive_name;
  std::string pack_checker, pack_checker_parameters;
  int check_one_pack = 0, check_batch_packs = 0;
  std::string xml_checker;
  int check_output_xml = 0;
  std::string viewer;

  // The variable of a text setting, of a flag; nullptr for a setting of the other sort.
  std::string* text(Setting s);
  const std::string* text(Setting s) const;
  int* flag(Setting s);
  const int* flag(Setting s) const;
};

// What a setting holds, and so what its control in the settings window is.
enum class SettingKind : unsigned char {
  folder,      // a folder; "..." opens the folder dialog
  program,     // a program's full name; "..." opens the file dialog, which warns when cancelled
               // with no program behind the field
  parameters,  // a program's command-line parameters
  name,        // a name
  flag,        // 1 or 0: a switch
};

// Where the value written at start-up for a missing or blank key comes from.
enum class StartDefault : unsigned char {
  text,       // `initial` ("" too: the key is written with an empty value)
  subfolder,  // the program folder followed by `initial` and the directory separator
  archiver,   // the archiver that comes with the program
  not_read,   // not read at start-up: `initial` in memory, written only from the settings window
};

// One setting. Texts are Windows-1251.
struct SettingRow {
  Setting setting;
  // Its key in section odna_pch, and the key's other spelling (keys match without regard to
  // case: the same entry) that the batch and settings windows write after their folder dialog;
  // empty when it has none.
  std::string_view key, second_key;
  SettingKind kind;
  // A longer value is cut to it; 0: never cut (a path).
  std::size_t width;
  // The value start-up writes for a missing or blank key, as `start` says; "1" or "0" for a flag.
  StartDefault start;
  std::string_view initial;
  // The subfolder a field cleared in the settings window takes; empty: a blank is written blank.
  std::string_view cleared;
  // The title of the dialog of its "..." button (empty: no button), and for a program the warning
  // of that dialog cancelled with no program behind the field.
  std::string_view dialog_title, warning;
  // Its prompt or switch in the settings window; empty: not shown there.
  std::string_view caption;
  // Its variable: a text's or a flag's.
  std::string Settings::*text;
  int Settings::*flag;
};

// A setting's row of the table.
const SettingRow& setting_row(Setting s);

// Reads every key of section odna_pch, writing back a default for each one that is missing or
// empty, all in one write of the file (its code: ini.write_error()). `program_folder` ends
// with the directory separator.
Settings load_settings(IniStore& ini, std::string_view program_folder);

// The value start-up writes for a missing or blank key, for a program folder ("<folder>In_4/").
std::string default_setting(Setting s, std::string_view program_folder);

// Writes one setting under its key; KeySpelling::second under its other spelling, when it has
// one. Returns IniStore::put_setting's answer.
enum class KeySpelling { usual, second };
bool put_setting(IniStore& ini, Setting s, std::string_view value, KeySpelling spelling = KeySpelling::usual);

// A window's position as its section keeps it.
struct WindowPosition {
  bool maximized = false;
  bool minimized = false;
  std::optional<int> x, y, width, height;
};

void save_window_position(IniStore& ini, std::string_view section, const WindowPosition& pos);
WindowPosition restore_window_position(const IniStore& ini, std::string_view section);

}  // namespace tolvex::core
