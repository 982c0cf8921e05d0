// SPDX-License-Identifier: MIT

// clang-format off
#include "win/system.h"  // first: the Windows headers before the core's
// clang-format on

#include <filesystem>

#include "core/conversion/messages.h"
#include "win/batch_window.h"
#include "win/pack_windows.h"
#include "win/program_windows.h"
#include "win/wide.h"

namespace tolvex::win {

namespace {
using namespace runtime::literals;
constexpr COLORREF kReminderColour = RGB(0xb0, 0x00, 0x00);
constexpr UINT_PTR kEverySecond = 1;  // the timer
}  // namespace

MainWindow::MainWindow(core::Session& session, core::PackState& pack_state, WinOperator& op)
    : s_(session), p_(pack_state), op_(op) {
  create(w(app::kProgramCaption).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_ACCEPTFILES, nullptr);
  buttons_[kOnePack] = control(WC_BUTTONW, w(app::kOnePackCaption), WS_TABSTOP | BS_PUSHBUTTON, kOnePack);
  buttons_[kBatch] = control(WC_BUTTONW, w(app::kBatchCaption), WS_TABSTOP | BS_PUSHBUTTON, kBatch);
  buttons_[kSettings] = control(WC_BUTTONW, w(app::kSettingsCaption), WS_TABSTOP | BS_PUSHBUTTON, kSettings);
  for (std::string_view reminder : app::kReminders) {
    HWND l = control(WC_STATICW, w(reminder), SS_CENTER | SS_NOPREFIX, 0);
    SendMessageW(l, WM_SETFONT, reinterpret_cast<WPARAM>(bold_font()), FALSE);
    reminders_.push_back(l);
  }
  buttons_[kSplash] = control(WC_BUTTONW, L"", WS_TABSTOP | BS_PUSHBUTTON | BS_ICON, kSplash);
  info_icon_ = static_cast<HICON>(LoadImageW(nullptr, IDI_INFORMATION, IMAGE_ICON, px(32), px(32), LR_SHARED));
  SendMessageW(buttons_[kSplash], BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(info_icon_));
  buttons_[kExit] = control(WC_BUTTONW, w(app::kExitCaption), WS_TABSTOP | BS_PUSHBUTTON, kExit);
  // The information button's tip.
  tip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  std::wstring tip = w(app::kSplashTip);
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(buttons_[kSplash]);
  ti.lpszText = tip.data();
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  // Wide enough for the longest caption, at least 640 × 420 as the Linux window.
  int width = std::max(px(640), text_width(w(app::kBatchCaption)) + px(60));
  fit_client(width, px(420));
}

MainWindow::~MainWindow() {
  // a shared icon: the system keeps it
}

void MainWindow::layout(int width, int height) {
  int m = px(11), gap = px(6), bh = px(44);
  int y = m;
  for (int id : {kOnePack, kBatch, kSettings}) {
    MoveWindow(buttons_[id], m, y, width - 2 * m, bh, TRUE);
    y += bh + gap;
  }
  for (HWND l : reminders_) {
    MoveWindow(l, m, y, width - 2 * m, line_height() + px(4), TRUE);
    y += line_height() + px(4) + gap;
  }
  int icon = px(32) + px(12);
  MoveWindow(buttons_[kSplash], m, height - m - icon, icon, icon, TRUE);
  int exit_w = std::max(px(100), text_width(w(app::kExitCaption)) + px(40));
  MoveWindow(buttons_[kExit], width - m - exit_w, height - m - bh, exit_w, bh, TRUE);
}

void MainWindow::open() {
  SetWindowTextW(hwnd_, w(app::main_title(s_.today)).c_str());
  centre();
  restore_position(s_.ini, "Main", true);
  if (!IsZoomed(hwnd_)) ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(buttons_[kOnePack]);
  SetTimer(hwnd_, kEverySecond, 1000, nullptr);
}

void MainWindow::one_pack(const std::optional<std::filesystem::path>& pack) {
  form_.open(op_.ending(), [&] {
    OnePackWindow w(s_, p_, op_, hwnd_);
    w.run(hwnd_, pack);
  });
}

void MainWindow::batch() {
  form_.open(op_.ending(), [&] {
    BatchWindow w(s_, p_, op_, hwnd_);
    w.run(hwnd_);
  });
}

void MainWindow::settings() {
  form_.open(op_.ending(), [&] {
    SettingsWindow w(s_, op_, hwnd_);
    w.run(hwnd_);
  });
}

void MainWindow::splash() {
  SplashWindow w(s_.today, hwnd_);
  w.run(&s_.ini, hwnd_);
}

// F1: the operator's guide installed beside the program (guide\index.html), in the system's
// browser; without it (a build folder) the information window, as before the guide was shipped.
void MainWindow::guide() {
  wchar_t exe[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  if (n > 0 && n < MAX_PATH) {
    std::filesystem::path page = std::filesystem::path(exe).parent_path() / L"guide" / L"index.html";
    std::error_code ec;
    if (std::filesystem::is_regular_file(page, ec) &&
        reinterpret_cast<INT_PTR>(ShellExecuteW(hwnd_, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32)
      return;
  }
  splash();
}

bool MainWindow::pre_translate(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1 && GetAncestor(msg.hwnd, GA_ROOT) == hwnd_) {
    guide();
    return true;
  }
  return false;
}

LRESULT MainWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kOnePack:
          one_pack();
          return 0;
        case kBatch:
          batch();
          return 0;
        case kSettings:
          settings();
          return 0;
        case kSplash:
          splash();
          return 0;
        case kExit:
          PostMessageW(hwnd_, WM_CLOSE, 0, 0);
          return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      for (HWND l : reminders_)
        if (reinterpret_cast<HWND>(lp) == l) {
          HDC dc = reinterpret_cast<HDC>(wp);
          SetTextColor(dc, kReminderColour);
          SetBkMode(dc, TRANSPARENT);
          return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
      break;
    case WM_DROPFILES: {
      auto drop = reinterpret_cast<HDROP>(wp);
      std::vector<std::filesystem::path> files;
      UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < n; ++i) {
        std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
        files.emplace_back(name);
      }
      DragFinish(drop);
      if (!form_.takes_drop()) return 0;
      // The drop is left first; the conversion window opens after it.
      if (auto pack = app::MainForm::dropped_pack(files)) {
        auto* later = new std::filesystem::path(*pack);
        PostMessageW(hwnd_, WM_APP, 0, reinterpret_cast<LPARAM>(later));
      }
      return 0;
    }
    case WM_APP: {
      std::unique_ptr<std::filesystem::path> pack(reinterpret_cast<std::filesystem::path*>(lp));
      one_pack(*pack);
      return 0;
    }
    case WM_CLOSE:
      if (!form_.may_close(op_.ending())) return 0;
      if (app::MainForm::keeps_position(op_.ending())) save_position(s_.ini, "Main", true);
      DestroyWindow(hwnd_);
      return 0;
    case WM_TIMER:
      if (wp == kEverySecond && every_second) every_second();
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kEverySecond);
      PostQuitMessage(0);
      return 0;
  }
  return Window::handle(msg, wp, lp);
}

}  // namespace tolvex::win
