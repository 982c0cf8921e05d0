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

// What the settings window shows, page by page, top to bottom: the settings' controls (their
// captions, kinds and dialogs are the settings' rows, core::setting_row), the program folder, the
// notes, the sample line. The front ends lay these out.
enum class SettingsItemKind {
  setting,         // a setting's field (with its "..." button when its row has a dialog) or switch
  program_folder,  // the program folder: shown, never written
  note,            // a line of explanation
  sample,          // the sample archiver line the date-time switch makes
};
struct SettingsItem {
  SettingsItemKind kind;
  core::Setting setting{};  // of a setting's control
  std::string_view text;    // the program folder's prompt, a note (Windows-1251)
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

  // The value a text setting holds now, as the window shows it; a flag's.
  std::string value(core::Setting s) const;
  int flag(core::Setting s) const;

  // A field left after a change: cut to its width and written; a folder field cleared takes its
  // default folder (the program folder with the row's subfolder), others are written blank. The
  // value written is returned for the field to show.
  std::string leave(core::Setting s, std::string_view typed);
  // A switch: "1" or "0". The date-time switch also makes the archive name (in memory only) and
  // the sample command line: true when the window is to show the other fields again.
  bool set_flag(core::Setting s, bool on);

  // A "..." button. A folder's: the folder dialog; the field is written whatever the outcome (the
  // output folder in its second spelling, path_Out7). A program's: the file dialog; when
  // cancelled and the field names no existing file, the warning and a cleared field; the field
  // is written in every case. Returns the field's value.
  std::string browse(core::Setting s);

  // Empty until the date-time switch has been changed.
  const std::string& sample_line() const { return sample_; }

 private:
  void write(core::Setting s, std::string_view value);

  core::Session& s_;
  std::string sample_;
};

}  // namespace tolvex::app
