// SPDX-License-Identifier: MIT
// The rules of the one-pack window (odna_pch) without the window: what it shows (the folders
// and files, the pack header under its captions in four groups, the form name, "Начало:" and
// "Время работы:", a short status of what "&OK" made), when the insurer entries and the
// buttons take input, and what each button does. The steps themselves are those of
// core::OnePackConversion. Every opening starts clean: the header of a pack read in an earlier
// opening or by the batch is not shown. The windows of both desktop programs draw from here;
// every step is called inside the operator's guard.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/window_operator.h"
#include "core/conversion/one_pack.h"
#include "runtime/codepage.h"

namespace tolvex::app {

inline constexpr std::string_view kOnePackSection = "odna_pch";  // the window-position section
inline constexpr std::string_view kOnePackTitle = runtime::literals::operator""_w<"Конвертация одной пачки">();

// The window's own fields and buttons: prompts and captions, with their accelerators (&).
inline constexpr std::string_view kPathIn4Prompt = runtime::literals::operator""_w<"Входной каталог:">();
inline constexpr std::string_view kOutputCaption = runtime::literals::operator""_w<"Вы&ходной каталог:">();
inline constexpr std::string_view kPackCaption = runtime::literals::operator""_w<"&Входная пачка">();
inline constexpr std::string_view kOut7Prompt = runtime::literals::operator""_w<"Выходной файл XML">();
inline constexpr std::string_view kFormNamePrompt = runtime::literals::operator""_w<"форма:">();
inline constexpr std::string_view kStartedPrompt = runtime::literals::operator""_w<"Начало:">();
inline constexpr std::string_view kHeaderTimePrompt = runtime::literals::operator""_w<"Время работы:">();
inline constexpr std::string_view kHeaderTimeTip = runtime::literals::operator""_w<
    "Время чтения заголовка пачки и записи описи">();
inline constexpr std::string_view kOkCaption = "&OK";
inline constexpr std::string_view kCancelCaption = runtime::literals::operator""_w<"Отмена">();

// A group of the pack header: its caption, its record, its fields row by row.
struct HeaderGroup {
  std::string_view caption;
  std::string_view record;  // "ZAG4", "IST4", "PCH", "DOKT"
  std::span<const std::span<const std::string_view>> rows;
};
// ZAG4, IST4, PCH, DOKT in that order; the DOKT group shows the form name (TYP_PFR) after its
// last row's field.
std::span<const HeaderGroup> header_groups();
// The caption of a header field ("ИНН:").
std::string_view header_caption(std::string_view record, std::string_view field);
// Fields of letters (codes) are sized for capitals; the others hold digits.
bool holds_letters(std::string_view field);
// What an insurer entry takes while it is typed (the whole value is checked when it is left):
// the characters allowed and how many; no limit but the field's width when `allowed` is empty.
struct EntryTyping {
  std::string_view allowed;  // "0123456789" ...
  int most = 0;
  std::string_view hint;  // the field's tip, Windows-1251
};
EntryTyping entry_typing(std::string_view field);
// A duration in hundredths as "hh:mm:ss.cc".
std::string time_of(long long hundredths);

class OnePackForm {
 public:
  OnePackForm(core::Session& session, core::PackState& pack_state);

  // The value a field shows, Windows-1251: "PATH_IN4", "PATH_OUT7", "OUT7_FILE", "TYP_PFR",
  // "T_RAB_N", "T_RAB" or a header field ("IST4:INN"). Blank until a pack's header is read.
  std::string value(std::string_view name) const;
  // "IN4_FILE": the pack's full name; empty until a pack's header is read.
  std::filesystem::path in4_file() const;
  // The header fields the operator may fill ("IST4:KOD_OGRN").
  static bool is_entry(std::string_view name);
  // The entries take input between reading a pack's header and "&OK".
  bool entries_open() const;
  // The buttons are answered (not while "&OK" runs).
  bool buttons_enabled() const { return !running_; }
  // What the last step made, or why "&OK" could not run; empty for nothing.
  const std::string& status() const { return status_; }
  // The procedure has ended: the window keeps its position and closes.
  bool ended() const { return ended_; }

  // "Входная пачка": the file dialog and the header stage.
  void choose_pack();
  // A pack named without the dialog (dropped, given on the command line).
  void take_pack(const std::filesystem::path& pack);
  // "Выходной каталог:".
  void choose_output();
  // An insurer entry left with `typed` (Windows-1251): taken into the record (true), or refused
  // with the warning box (false: the window puts the focus back in it, its text selected).
  bool leave_entry(std::string_view name, std::string_view typed);

  // "&OK" in three steps. begin_ok(): false when it cannot run now (the box has said why, or an
  // entry whose text `typed` differs from its record was refused: `refused` names it); the
  // window then shows itself busy. start_ok(): the first document; the run the converter
  // window is to drive, or nothing (the documents are done: call end_ok()). end_ok(): once the
  // run no longer waits (or the start failed in the guard), the closing lines and the status.
  bool begin_ok(const std::function<std::string(std::string_view name)>& typed, std::string* refused);
  core::DocumentRun* start_ok();
  void end_ok();

  // What "&OK" asks of the window that only its toolkit can do.
  struct OkWindow {
    // An insurer entry's text as shown (Windows-1251); from here on it counts as not edited.
    std::function<std::string(std::string_view name)> typed;
    // An entry refused: the focus goes back in it, its text selected.
    std::function<void(std::string_view name)> refused;
    // The window shows the form at once (busy while the documents are converted).
    std::function<void()> redraw;
    // The converter window opens on the run that waits with its first document; once it has
    // closed, the window calls finish_ok().
    std::function<void(core::DocumentRun& run)> open_converter;
    // No document waits for the converter window: the window calls finish_ok() now.
    std::function<void()> documents_done;
  };
  // "&OK" as the window runs it, each step in the operator's guard: begin_ok(), the window
  // redrawn busy, start_ok(), then the documents under the converter window or done at once.
  void press_ok(WindowOperator& op, const OkWindow& window);
  // The rest of "&OK" once its documents are done: end_ok() in the operator's guard; the
  // buttons come back when the program ends in it.
  void finish_ok(WindowOperator& op);

  // "Отмена" (and the window's frame): the closing lines, the procedure ends. Nothing while
  // "&OK" runs.
  void cancel();
  // The same from the window, in the operator's guard: true when the window is to close.
  bool press_cancel(WindowOperator& op);
  // take_pack() from the window, in the operator's guard; the file dialog opens on the pack
  // next time.
  void take_pack(WindowOperator& op, const std::filesystem::path& pack);

 private:
  // The start of "&OK" or its end failed (the program ends): the buttons come back.
  void ok_failed() { running_ = false; }
  // After "Входная пачка" or a pack named without the dialog; nothing when the dialog was
  // cancelled.
  void after_pack(std::optional<core::PackOutcome> chosen);
  void end_procedure();
  std::string output_name() const;

  core::Session& s_;
  core::PackState& p_;
  core::OnePackConversion conv_;
  std::string status_;
  bool pack_read_ = false;  // a pack's header was read in this opening
  bool converted_ = false;  // "&OK" has run on it
  bool running_ = false;
  bool ended_ = false;
};

}  // namespace tolvex::app
