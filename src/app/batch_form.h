// SPDX-License-Identifier: MIT
// The batch window (all_pch) without a toolkit: its texts, what its fields show before, during
// and after the run, which buttons are enabled, what the "..." buttons write, "&OK" running the
// batch and summing it up, "Отмена" closing the window or stopping the run after the current
// pack. The desktop programs of Linux and of Windows both draw from here.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "app/batch.h"
#include "app/window_operator.h"
#include "runtime/codepage.h"

namespace tolvex::app {

// The window's texts (Windows-1251), top to bottom.
inline constexpr std::string_view kBatchTitle = runtime::literals::operator""_w<
    "Пакетная обработка пачек 4 формата ПФР  в 7 формат XML">();
inline constexpr std::string_view kBatchSection = "all_pch";  // its position in the settings file
inline constexpr std::string_view kBatchModeLabel = runtime::literals::operator""_w<"Пакетный режим:">();
inline constexpr std::string_view kBatchModeTip = runtime::literals::operator""_w<
    "Пакетный режим: 1, пока открыто окно пакетной обработки">();
inline constexpr std::string_view kInputFolderLabel = runtime::literals::operator""_w<
    "Папка (каталог) входных пачек 4 формата ПФР">();
inline constexpr std::string_view kOutputFolderLabel = runtime::literals::operator""_w<
    "Папка (каталог) выходных файлов 7 формата XML">();
inline constexpr std::string_view kPackCountLabel = runtime::literals::operator""_w<"Количество пачек">();
inline constexpr std::string_view kCurrentPackLabel = runtime::literals::operator""_w<"Текущая пачка">();
inline constexpr std::string_view kEntryNameLabel = runtime::literals::operator""_w<"Пачка:">();
inline constexpr std::string_view kEntryNameTip = runtime::literals::operator""_w<"Имя файла текущей пачки">();
inline constexpr std::string_view kEntryShortNameLabel = runtime::literals::operator""_w<"имя 8.3:">();
inline constexpr std::string_view kEntryShortNameTip = runtime::literals::operator""_w<"Короткое имя файла (8.3)">();
inline constexpr std::string_view kEntrySizeLabel = runtime::literals::operator""_w<"байт:">();
inline constexpr std::string_view kEntrySizeTip = runtime::literals::operator""_w<"Размер файла пачки, байт">();
inline constexpr std::string_view kPackFileLabel = runtime::literals::operator""_w<"файл 4:">();
inline constexpr std::string_view kBatchOk = "&OK";
inline constexpr std::string_view kBatchCancel = runtime::literals::operator""_w<"Отмена">();

// The summary box's text: how many packs there were, and how many were converted, not
// converted (a kind answered with a message), rejected and failed.
std::string batch_summary_text(const BatchSummary& summary);
// Its details part: the packs under each of those headings.
std::string batch_summary_details(const BatchSummary& summary);
// The short (8.3) form of a file name: the first eight characters of its stem and four of its
// extension (the point included), in capitals.
std::u16string short_name(const std::filesystem::path& file);

// What the fields show (paths of the file system as paths; the rest Windows-1251).
struct BatchFields {
  std::string mode;             // FL_PAKET: "1", the window is the batch
  std::string input, output;    // PATH_IN4, PATH_OUT7
  std::string count;            // KOL_PCH
  std::string current;          // TEK_N_PCH, three digits
  std::filesystem::path entry;  // FIL:NAME is its file name, IN4_FILE the whole path
  std::u16string short_name;    // FIL:SHORTNAME
  std::string size;             // FIL:SIZE, bytes
  std::string documents;        // the line under the progress bar
  int bar_maximum = 1, bar_value = 0;
};

class BatchForm {
 public:
  // The packs that ask the operator nothing are converted on every processor, ahead of their
  // turn; a pack with a box waits for its turn and shows it, one box at a time.
  BatchForm(core::Session& session, core::PackState& pack_state);

  // Called whenever the fields or the buttons' states change (the window redraws then).
  void on_change(std::function<void()> changed) { changed_ = std::move(changed); }
  const BatchFields& fields() const { return fields_; }
  bool running() const { return running_; }
  // The "..." buttons and "&OK": before the run only. "Отмена": until a stop is asked or the
  // batch has ended.
  bool folders_enabled() const { return idle(); }
  bool ok_enabled() const { return idle(); }
  bool cancel_enabled() const { return !stopping_ && !summed_up_; }

  // The "..." buttons: the folder dialogs, the settings written (path_in4, path_Out7).
  void choose_input_folder();
  void choose_output_folder();
  // "&OK": the batch over the input folder, then the summary box with its details; true when
  // the window is to close then (always, unless the program is ending by then).
  bool ok();
  // While the batch runs the window is told of its progress here.
  void show_progress(std::size_t current, std::size_t total, const std::filesystem::path& pack);
  void show_documents(long long done, long long announced);
  // "Отмена", Esc or the frame's close: while the batch runs, asks and stops it after the
  // current pack (false: the window stays); otherwise true, once, when the window is to close
  // and keep its position (also after "&OK").
  bool cancel();
  // The window's "&OK" and "Отмена" (Esc, the frame) as the window runs them: ok() with the
  // batch's progress shown in the fields, cancel(), each in the operator's guard; true when the
  // window is to close (never once the program is ending).
  bool press_ok(WindowOperator& op);
  bool press_cancel(WindowOperator& op);

 private:
  bool idle() const { return !running_ && !started_; }
  void refresh();
  void ask_stop();
  void changed() {
    if (changed_) changed_();
  }

  core::Session& s_;
  BatchRun batch_;
  BatchFields fields_;
  std::function<void()> changed_;
  bool running_ = false, started_ = false, stopping_ = false, summed_up_ = false, closed_ = false;
};

}  // namespace tolvex::app
