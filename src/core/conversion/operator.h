// SPDX-License-Identifier: MIT
// The operator seam: every message box and file or folder dialog of the system is reached
// through this interface (the converter windows are the front end's: see DocumentRun). The
// desktop program, the console program and the tests each implement it. All texts are
// Windows-1251.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tolvex::core {

enum class Button { ok, yes, no, abort, retry, ignore, cancel };

enum class Icon { information, stop };

struct MessageBox {
  std::string title;
  std::string text;
  Icon icon = Icon::information;
  std::vector<Button> buttons;  // in the order shown
  std::string details;          // a longer text the operator may open in the box; empty for none
};

// What the converter window shows of the current document.
struct ViewField {
  std::string prompt;  // "фамилия:"
  std::string value;
  std::size_t width = 0;  // the record field's width in characters; 0 for a value of the window's own
  std::string after{};    // a word shown after the value ("мес"), or nothing
};

// Fields shown together: in a frame under their caption, or without a frame when it is empty.
struct ViewGroup {
  std::string caption;  // "Документ. удостоверяющий личность"
  std::vector<ViewField> fields;
  bool beside = false;  // beside the group before it rather than under it
};

struct ViewList {
  std::string caption;               // "Календарные периоды стажа" (may be empty)
  std::vector<std::string> columns;  // "тип", "мес" ...
  std::vector<std::vector<std::string>> rows;
  bool beside = false;  // beside the list before it rather than under it
};

struct ViewPage {
  std::string caption;            // a tab's caption; empty when the window has no tabs
  std::vector<ViewGroup> groups;  // top to bottom
  std::vector<ViewList> lists;    // under the groups
};

struct ConverterView {
  std::string procedure;     // "load_adv1": the window-position section
  std::string title;         // the window title
  std::string next_caption;  // "Следующая" (АДВ-10 "Следущая"); empty when the window has none
  std::vector<ViewPage> pages;
  std::string started;  // "Начало:" hh:mm:ss
  std::string elapsed;  // "Время:" hh:mm:ss
};

// The buttons of a converter window: "Следующая", "&OK", "Отмена".
enum class ConverterAction { next, ok, cancel };

// Ends the program (abort in a stop box, the warnings of the checked opening). Caught by the
// front end, which closes the journal and exits.
class ProgramEnd : public std::runtime_error {
 public:
  ProgramEnd(std::string text, int exit_status)
      : std::runtime_error("program end"), text_(std::move(text)), exit_status_(exit_status) {}
  const std::string& text() const { return text_; }  // "Ошибка создания Файла!", "Disk Error"
  int exit_status() const { return exit_status_; }

 private:
  std::string text_;
  int exit_status_;
};

// The answer given by rule: ignore where the box offers it, otherwise its first button.
inline Button rule_answer(const MessageBox& box) {
  for (Button b : box.buttons)
    if (b == Button::ignore) return b;
  return box.buttons.empty() ? Button::ok : box.buttons.front();
}

class Operator {
 public:
  virtual ~Operator() = default;

  // A modal message box; returns the button pressed (a box closed by its frame answers with
  // the last button, as the system's boxes do).
  virtual Button message(const MessageBox& box) = 0;

  // Whether this operator answers every box by rule_answer() rather than by a person (the
  // console does). A pack is then converted into a report without being asked, and its boxes are
  // shown through message() when the report is played.
  virtual bool answers_by_rule() const { return false; }

  // The file dialog; nothing when the operator cancels.
  virtual std::optional<std::filesystem::path> choose_file(std::string_view title, std::string_view filter,
                                                           const std::filesystem::path& start) = 0;
  // The folder dialog; nothing when the operator cancels.
  virtual std::optional<std::filesystem::path> choose_folder(std::string_view title,
                                                             const std::filesystem::path& start) = 0;

  // Progress of a long run (the batch): the current pack and how many there are.
  virtual void progress(std::size_t /*current*/, std::size_t /*total*/, const std::filesystem::path& /*pack*/) {}
  // Progress of the run of a pack's documents (batch, "&OK"): `done` converted so far of the
  // `announced` ones (DOKT:KOL_DOK). Called after every document; a window may repaint here.
  virtual void documents_progress(long long /*done*/, long long /*announced*/) {}
};

}  // namespace tolvex::core
