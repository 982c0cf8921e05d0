// SPDX-License-Identifier: MIT
// tolvex.exe: the desktop program of Windows. The program folder is the current directory: the
// information window, the windowless start (settings, journal), then the main window until it
// is closed. `tolvex.exe PACK` opens the one-pack window with that pack.
// clang-format off
#include "win/system.h"  // first: the Windows headers before the core's
// clang-format on

#include <filesystem>
#include <optional>

#include "app/process.h"
#include "app/startup.h"
#include "core/conversion/messages.h"
#include "runtime/platform.h"
#include "win/program_windows.h"

namespace fs = std::filesystem;
using namespace tolvex;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  win::Window::register_classes(instance);

  runtime::start_process();
  win::WinOperator op;
  fs::path folder;
  try {
    folder = app::current_folder(op);
  } catch (const core::ProgramEnd& end) {
    CoUninitialize();
    return end.exit_status();
  }
  std::optional<fs::path> pack;
  int argc = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    if (argc > 1) pack = folder / fs::path(argv[1]);
    LocalFree(argv);
  }
  if (app::journal_held_by_another(folder)) {
    // A second start: the copy that runs keeps its journal; this one says so and ends.
    core::info_box(op, core::kTitleMessage, app::journal_held_text());
    CoUninitialize();
    return 0;
  }

  core::SystemClock clock;
  {
    core::IniStore positions(app::settings_path(folder));
    win::SplashWindow splash(clock.now());
    splash.run(&positions, nullptr);
  }

  app::ProcessRunner programs;
  int rc = 0;
  try {
    app::Program program(folder, op, clock, programs);
    win::MainWindow window(program.session(), program.pack_state(), op);
    // The archiver runs beside the program: when it fails, the operator and the journal hear of it.
    window.every_second = [&] { op.guard([&] { programs.tell_failed_archivers(program.session()); }); };
    window.open();
    if (pack) PostMessageW(window.hwnd(), WM_APP, 0, reinterpret_cast<LPARAM>(new fs::path(*pack)));
    rc = win::run_main_loop(window);
    if (op.ending()) rc = op.end()->exit_status();
  } catch (const core::ProgramEnd& end) {
    rc = end.exit_status();
  }
  CoUninitialize();
  return rc;
}
