// The settings file "tolvex.ini" in the program folder: the working directories, the external
// programs and four on/off flags in section odna_pch, and one section per window for its
// position. Keys are matched without regard to case; the file is Windows-1251.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex::core {

// An INI file: sections in square brackets, key=value lines. Every write goes to the file at
// once. A value with leading or trailing blanks is stored in double quotes so that it reads
// back unchanged.
class IniStore {
 public:
  explicit IniStore(std::filesystem::path file);

  // The value, or an empty text when the section or key is missing.
  std::string get_setting(std::string_view section, std::string_view key) const;
  bool has_setting(std::string_view section, std::string_view key) const;
  // Writes one key; an existing entry keeps the spelling of its key. Nothing as value removes
  // the entry. Returns false when the file cannot be written.
  bool put_setting(std::string_view section, std::string_view key, std::optional<std::string_view> value);

  const std::filesystem::path& file() const { return file_; }
  // Reads the file again (another window may have written it).
  void reload();

 private:
  struct Entry {
    std::string key, value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  Section* find_section(std::string_view name);
  const Section* find_section(std::string_view name) const;
  bool save() const;

  std::filesystem::path file_;
  std::vector<Section> sections_;
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
// empty. `program_folder` ends with the directory separator.
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
