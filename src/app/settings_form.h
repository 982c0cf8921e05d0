// SPDX-License-Identifier: MIT
// The rules of the settings window (set_mode) without the window: every control writes its
// setting when the operator leaves it, cleared folders take their defaults, a cancelled program
// choice with no program behind the field warns and clears it, and the date-time switch makes
// the archive name and the sample archiver command line. The window only shows what these
// functions return.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/conversion/one_pack.h"
#include "runtime/codepage.h"

namespace tolvex::app {

// What the settings window shows, page by page, top to bottom: the fields with their prompts,
// the switches, the notes, the sample line. The front ends lay these out; `key` names the
// setting (or "PROGRAM_FOLDER", "SAMPLE" for the two fields of the window's own).
enum class SettingsItemKind {
  folder_with_default,  // a folder that takes its default when cleared (leave_folder)
  plain,                // written as typed (leave_text)
  program,              // a program, with its "..." file dialog (browse_program)
  shown,                // shown, never written (the program folder)
  check,                // a switch (set_flag, set_zip_dt)
  note,                 // a line of explanation
  sample,               // the sample archiver line the date-time switch makes
};
struct SettingsItem {
  SettingsItemKind kind;
  std::string_view key;        // empty for a note
  std::string_view text;       // the prompt, the switch's caption, the note (Windows-1251)
  bool folder_button = false;  // a "..." folder dialog beside the field (browse_folder)
};
struct SettingsPage {
  std::string_view caption;
  std::span<const SettingsItem> items;
};
std::span<const SettingsPage> settings_pages();
inline constexpr std::string_view kSettingsTitle = runtime::literals::operator""_w<"Настройки">();

class SettingsForm {
 public:
  explicit SettingsForm(core::Session& session) : s_(session) {}

  // The value a setting holds now, as the window shows it (path_in4, imj_Arh ...).
  std::string value(std::string_view key) const;
  int flag(std::string_view key) const;

  // A folder field with a default (path_in4, path_out7, path_kps, path_error, path_Report) left
  // after a change: a blank value becomes the program folder with the default subfolder. The
  // value written is returned for the field to show.
  std::string leave_folder(std::string_view key, std::string_view typed);
  // The archive folder, the program paths, the parameters and the archive name: written as
  // typed, blank included.
  std::string leave_text(std::string_view key, std::string_view typed);
  // fl_p4, fl_p4all, fl_p7zap: "1" or "0".
  void set_flag(std::string_view key, bool on);

  // A folder's "..." button: the folder dialog; the field is written whatever the outcome (the
  // output folder under path_Out7). Returns the field's value.
  std::string browse_folder(std::string_view key, std::string_view title);
  // A program's "..." button (path_ChPSN, path_ChXML, path_Arh_prg, path_edit): the file dialog;
  // when cancelled and the field names no existing file, the warning and a cleared field. The
  // field is written in every case. Returns the field's value.
  std::string browse_program(std::string_view key, std::string_view title);

  // The date-time switch: the archive name (in memory only) and the sample command line; writes
  // zip_dt.
  void set_zip_dt(bool on);
  // Empty until the date-time switch has been changed.
  const std::string& sample_line() const { return sample_; }

  // The folder a cleared field takes ("<program folder>In_4/"; the report folder in this
  // window's spelling "Report").
  std::string folder_default(std::string_view key) const;
  // The warning of a program field left without a program.
  static std::string_view program_warning(std::string_view key);
  // The folder dialog's and program dialog's titles by key.
  static std::string_view browse_title(std::string_view key);

 private:
  std::string* text_setting(std::string_view key);
  int* flag_setting(std::string_view key);
  void write(std::string_view key, std::string_view value);

  core::Session& s_;
  std::string sample_;
};

}  // namespace tolvex::app
