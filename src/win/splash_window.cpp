// SPDX-License-Identifier: MIT
// clang-format off
#include "win/system.h"  // first: the Windows headers before the core's
// clang-format on

#include <algorithm>

#include "win/program_windows.h"
#include "win/wide.h"

namespace tolvex::win {

namespace {
constexpr UINT_PTR kCloseTimer = 1;
constexpr COLORREF kBackground = RGB(0xf4, 0xf7, 0xfb), kBorder = RGB(0x2f, 0x5d, 0x8a);
}  // namespace

SplashWindow::SplashWindow(const core::ClockTime& today, HWND owner) {
  for (const std::string& line : app::splash_lines(today)) lines_.push_back(w(line));
  create(w(app::kSplashTitle).c_str(), WS_POPUP, WS_EX_TOOLWINDOW, owner);
  // As wide as the longest line, as high as the icon and the lines.
  int width = text_width(w(app::kProgramCaption)) * 5 / 4;
  for (const auto& l : lines_) width = std::max(width, text_width(l));
  int height = px(22) + px(64) + px(8) + line_height() * 3 / 2 +
               static_cast<int>(lines_.size()) * line_height() * 5 / 4 + px(22);
  SetWindowPos(hwnd_, nullptr, 0, 0, width + px(56), height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  centre();
}

void SplashWindow::run(core::IniStore* ini, HWND owner) {
  if (ini) restore_position(*ini, "Splash_Pfr", false);
  SetTimer(hwnd_, kCloseTimer, app::kSplashCloseAfterMs, nullptr);
  run_modal(owner);
  KillTimer(hwnd_, kCloseTimer);
  if (ini) save_position(*ini, "Splash_Pfr", false);
}

bool SplashWindow::pre_translate(MSG& msg) {
  // A key or a click anywhere on it closes it.
  if (msg.hwnd == hwnd_ && (msg.message == WM_KEYDOWN || msg.message == WM_LBUTTONDOWN)) {
    close_modal();
    return true;
  }
  return false;
}

LRESULT SplashWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      close_modal();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) {
        was_active_ = true;
      } else if (was_active_) {
        close_modal();  // the focus went elsewhere
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      RECT r;
      GetClientRect(hwnd_, &r);
      HBRUSH bg = CreateSolidBrush(kBackground);
      FillRect(dc, &r, bg);
      DeleteObject(bg);
      HBRUSH frame = CreateSolidBrush(kBorder);
      FrameRect(dc, &r, frame);
      InflateRect(&r, -1, -1);
      FrameRect(dc, &r, frame);
      DeleteObject(frame);
      int y = px(22);
      HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"TOLVEX", IMAGE_ICON, px(64), px(64), 0));
      if (icon) {
        DrawIconEx(dc, (r.right - px(64)) / 2, y, icon, px(64), px(64), 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
      }
      y += px(64) + px(8);
      SetBkMode(dc, TRANSPARENT);
      LOGFONTW lf{};
      GetObjectW(bold_font(), sizeof lf, &lf);
      lf.lfHeight = lf.lfHeight * 4 / 3;
      HFONT big = CreateFontIndirectW(&lf);
      HGDIOBJ old = SelectObject(dc, big);
      std::wstring title = w(app::kProgramCaption);
      RECT line{0, y, r.right, y + line_height() * 3 / 2};
      DrawTextW(dc, title.c_str(), -1, &line, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
      SelectObject(dc, font());
      y = line.bottom;
      for (const auto& l : lines_) {
        RECT lr{0, y, r.right, y + line_height() * 5 / 4};
        DrawTextW(dc, l.c_str(), -1, &lr, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
        y = lr.bottom;
      }
      SelectObject(dc, old);
      DeleteObject(big);
      EndPaint(hwnd_, &ps);
      return 0;
    }
  }
  return Window::handle(msg, wp, lp);
}

}  // namespace tolvex::win
