// SPDX-License-Identifier: MIT
// What the window tests share: a program folder in a temporary directory started with a
// scripted dialog provider, a test converter for the АНКТ kind, and a script of steps that runs
// inside the windows' own modal loops.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <vector>

#include "app/document_kinds.h"
#include "app/startup.h"
#include "core/conversion/journal.h"
#include "core/conversion/one_pack.h"
#include "gui/qt_operator.h"
#include "gui/text.h"
#include "pack_text.h"
#include "scripted_operator.h"

namespace tolvex::guitest {

// Steps run one after another while the windows wait in their loops: each waits until its
// condition holds, then acts.
class UiScript {
 public:
  UiScript();
  UiScript& then(std::function<bool()> ready, std::function<void()> act, const char* what = "");
  void start();
  bool finished() const { return steps_.empty() && !starting_; }
  QString pending() const { return steps_.empty() ? QString() : QString::fromUtf8(steps_.front().what); }

 private:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
    const char* what;
  };
  void poll();
  std::deque<Step> steps_;
  std::unique_ptr<QTimer> timer_;
  int polls_ = 0;
  bool starting_ = false;
};

// The visible top-level window of a type, if any.
template <class W>
W* visible_window() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = dynamic_cast<W*>(w); t && t->isVisible()) return t;
  return nullptr;
}

// A document of the test converter: "АНК1,<name>" on one line.
core::ConverterFactory test_converter_factory();

// A program folder with its own session, so that a test converter can be installed.
class Folder {
 public:
  // In the temporary folder under `name`, with the process id unless `shared` (so that test
  // programs running side by side keep apart; the README's pictures show a steady name).
  explicit Folder(const std::string& name, bool shared = false);
  ~Folder();

  // Starts the session (settings, journal), the dialogs answered by `dialogs`.
  void start();
  core::Session& session() { return program_->session(); }
  core::PackState& pack_state() { return program_->pack_state(); }

  std::filesystem::path pack(const std::string& name, const std::string& utf8_lines);
  static std::string read(const std::filesystem::path& p) { return fakes::read_file(p); }
  std::string journal();  // UTF-8, without CR, the folder as <DIR>
  std::vector<std::filesystem::path> outputs();
  std::string ini(std::string_view section, std::string_view key) { return session().ini.get_setting(section, key); }

  std::filesystem::path dir;
  fakes::ScriptedOperator dialogs;
  gui::QtOperator op{&dialogs};
  fakes::FixedClock clock;
  fakes::RecordingPrograms programs;
  // The program's table of document kinds with the test converter in the row of АДВ-1.
  std::vector<core::DocumentKind> kinds;

 private:
  std::unique_ptr<app::Program> program_;
};

// The example packs of the project (examples/packs), in name order.
std::vector<std::filesystem::path> example_packs();

// A program folder with the real converters and the example packs in its input folder.
struct ExampleFolder : Folder {
  explicit ExampleFolder(const std::string& name, bool shared = false);
};

// The pack header of the tests (one document kind per test), and the name of its XML file.
using fakes::kHeader;
using fakes::kOutName;

QString u(const char* utf8);
// Windows-1251 text from UTF-8.
std::string a(const char* utf8);

}  // namespace tolvex::guitest
