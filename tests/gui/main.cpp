// SPDX-License-Identifier: MIT
// Runs every window test under the offscreen platform (no display needed), on a screen of an
// office laptop. "gui_tests WindowLayout" runs only the checks of the windows' fit (CTest runs
// them once more at a scale factor of 1.5).
#include <QApplication>
#include <cstring>
#include <optional>
#include <vector>

#include "gui/runtime_texts.h"

int run_layout_tests(int argc, char** argv);
int run_window_tests(int argc, char** argv);
int run_screenshots(int argc, char** argv);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", TOLVEX_OFFICE_SCREEN);
  bool layout_only = argc > 1 && std::strcmp(argv[1], "WindowLayout") == 0;
  std::vector<char*> args(argv, argv + argc);
  if (layout_only) args.erase(args.begin() + 1);
  int n = static_cast<int>(args.size());
  std::optional<tolvex::gui::RussianSystemLocale> russian(std::in_place);
  QApplication app(n, args.data());
  russian.reset();
  tolvex::gui::install_runtime_texts();
  int failed = run_layout_tests(n, args.data());
  if (!layout_only) {
    failed += run_window_tests(n, args.data());
    failed += run_screenshots(n, args.data());
  }
  return failed == 0 ? 0 : 1;
}
