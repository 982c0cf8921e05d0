// Runs every window test under the offscreen platform (no display needed).
#include <QApplication>

#include "app/gui/runtime_texts.h"

int run_window_tests(int argc, char** argv);
int run_screenshots(int argc, char** argv);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  tolvex::gui::install_runtime_texts();
  int failed = run_window_tests(argc, argv);
  failed += run_screenshots(argc, argv);
  return failed == 0 ? 0 : 1;
}
