// SPDX-License-Identifier: MIT
// The rules of a converter window without the window: its texts, which buttons it has, when
// they are answered, what each does with the run of the pack's documents (core::DocumentRun),
// and when the window closes. The window shows view(); it waits for no button: each press is
// passed here by the window's own handler, inside the operator's guard.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/window_operator.h"
#include "core/conversion/driver.h"
#include "core/conversion/operator.h"
#include "runtime/codepage.h"

namespace tolvex::app {

inline constexpr std::string_view kConverterStarted = runtime::literals::operator""_w<"Начало:">();
inline constexpr std::string_view kConverterElapsed = runtime::literals::operator""_w<"Время:">();
inline constexpr std::string_view kConverterOk = "&OK";
inline constexpr std::string_view kConverterCancel = runtime::literals::operator""_w<"Отмена">();

// The pages show as tabs: more than one, or one with a caption.
bool is_tabbed(const core::ConverterView& view);
// "Следующая" and "Отмена" beside "&OK" (a one-document kind has "&OK" alone).
inline bool has_next(const core::ConverterView& view) { return !view.next_caption.empty(); }
// The progress of "&OK": "документов 3 из 10".
std::string documents_progress_text(long long done, long long announced);

class ConverterForm {
 public:
  explicit ConverterForm(core::DocumentRun& run) : run_(run), view_(run.view()) {}

  const core::ConverterView& view() const { return view_; }
  // The window-position section.
  const std::string& section() const { return view_.procedure; }
  // The buttons are answered: not while a button's work is done.
  bool buttons_enabled() const { return !running_ && !busy_; }

  // A button pressed, or nothing for the window closed by its frame: `shows_next` while the run
  // waits again (view() holds the next document), `closes` when the run no longer waits (the
  // window keeps its position in section() and closes), `ignored` while the buttons are not
  // answered.
  enum class Step { ignored, shows_next, closes };
  Step press(std::optional<core::ConverterAction> action);
  // The same from the window, in the operator's guard: `ignored` once the program ends.
  Step press(WindowOperator& op, std::optional<core::ConverterAction> action);
  // "&OK" converts the remaining documents: the buttons wait until it ends.
  void progress(long long done, long long announced);
  const std::string& progress_text() const { return progress_; }
  bool running() const { return running_; }

 private:
  core::DocumentRun& run_;
  core::ConverterView view_;
  std::string progress_;
  bool running_ = false;
  bool busy_ = false;
  bool closed_ = false;
};

}  // namespace tolvex::app
