// SPDX-License-Identifier: MIT
// clang-format off
#include "win/system.h"  // first: the Windows headers before the core's
// clang-format on

#include "win/ui.h"

#include <algorithm>

namespace tolvex::win {

namespace {

constexpr wchar_t kClass[] = L"TolvexWindow";

// The system's message font at `dpi`.
LOGFONTW message_font(int dpi) {
  NONCLIENTMETRICSW m{};
  m.cbSize = sizeof m;
  if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0, static_cast<UINT>(dpi))) {
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    m.lfMessageFont.lfHeight = MulDiv(m.lfMessageFont.lfHeight, dpi, 96);
  }
  return m.lfMessageFont;
}

RECT work_area(HWND hwnd, POINT at) {
  HMONITOR monitor =
      hwnd ? MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST) : MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST);
  if (at.x != LONG_MIN) monitor = MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  return info.rcWork;
}

}  // namespace

Window::~Window() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (font_) DeleteObject(font_);
  if (bold_) DeleteObject(bold_);
}

void Window::register_classes(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.hIcon = LoadIconW(instance, L"TOLVEX");
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);
}

void Window::create(const wchar_t* title, DWORD style, DWORD ex_style, HWND owner) {
  CreateWindowExW(ex_style | WS_EX_CONTROLPARENT, kClass, title, style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner,
                  nullptr, GetModuleHandleW(nullptr), this);
}

void Window::make_fonts() {
  if (font_) DeleteObject(font_);
  if (bold_) DeleteObject(bold_);
  LOGFONTW lf = message_font(dpi_);
  font_ = CreateFontIndirectW(&lf);
  lf.lfWeight = FW_BOLD;
  bold_ = CreateFontIndirectW(&lf);
}

int Window::line_height() const {
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, font_);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  return tm.tmHeight;
}

int Window::text_width(std::wstring_view text) const {
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, font_);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  return size.cx;
}

int Window::wrapped_height(std::wstring_view text, int width) const {
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, font_);
  RECT r{0, 0, width, 0};
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  return r.bottom;
}

HWND Window::control(const wchar_t* window_class, std::wstring_view text, DWORD style, int id, HWND parent,
                     DWORD ex_style) {
  std::wstring t(text);
  HWND c = CreateWindowExW(ex_style, window_class, t.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                           parent ? parent : hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return c;
}

LRESULT CALLBACK Window::procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
    self->dpi_ = static_cast<int>(GetDpiForWindow(hwnd));
    if (self->dpi_ <= 0) self->dpi_ = 96;
    self->make_fonts();
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
    self->hwnd_ = nullptr;
    return r;
  }
  return self->handle(msg, wp, lp);
}

LRESULT Window::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      layout(LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_DPICHANGED: {
      // On a monitor of another scale: the font, the controls and the size at the new DPI.
      dpi_ = HIWORD(wp);
      make_fonts();
      EnumChildWindows(
          hwnd_,
          [](HWND child, LPARAM font) {
            SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
            return TRUE;
          },
          reinterpret_cast<LPARAM>(font_));
      const RECT* r = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      close_modal();
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Window::run_modal(HWND owner) {
  done_ = false;
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  MSG msg;
  while (!done_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (pre_translate(msg)) continue;
    if (IsDialogMessageW(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  ShowWindow(hwnd_, SW_HIDE);
  if (msg.message == WM_QUIT) PostQuitMessage(static_cast<int>(msg.wParam));
}

int run_main_loop(Window& main) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (main.pre_translate(msg)) continue;
    if (main.hwnd() && IsDialogMessageW(main.hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void pump_messages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    // The keys of the window the message is for, as its own loop takes them (Esc, Tab, Alt+O).
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Window::fit_client(int width, int height) {
  RECT r{0, 0, width, height};
  DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  DWORD ex = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  AdjustWindowRectExForDpi(&r, style, FALSE, ex, static_cast<UINT>(dpi_));
  RECT work = work_area(hwnd_, POINT{LONG_MIN, 0});
  int w = std::min<int>(r.right - r.left, work.right - work.left);
  int h = std::min<int>(r.bottom - r.top, work.bottom - work.top);
  SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::centre() {
  RECT work = work_area(hwnd_, POINT{LONG_MIN, 0});
  RECT r;
  GetWindowRect(hwnd_, &r);
  int x = work.left + std::max<int>(0, ((work.right - work.left) - (r.right - r.left)) / 2);
  int y = work.top + std::max<int>(0, ((work.bottom - work.top) - (r.bottom - r.top)) / 2);
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::save_position(core::IniStore& ini, std::string_view section, bool resizable) const {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(hwnd_, &wp);
  core::WindowPosition pos;
  pos.maximized = wp.showCmd == SW_SHOWMAXIMIZED || IsZoomed(hwnd_);
  pos.minimized = wp.showCmd == SW_SHOWMINIMIZED || IsIconic(hwnd_);
  if (!pos.maximized && !pos.minimized) {
    RECT r;
    GetWindowRect(hwnd_, &r);
    pos.x = r.left;
    pos.y = r.top;
    if (resizable) {
      // The client area, as the Linux windows keep it.
      RECT c;
      GetClientRect(hwnd_, &c);
      pos.width = c.right;
      pos.height = c.bottom;
    }
  }
  core::save_window_position(ini, section, pos);
}

void Window::restore_position(const core::IniStore& ini, std::string_view section, bool resizable) {
  core::WindowPosition pos = core::restore_window_position(ini, section);
  RECT now;
  GetWindowRect(hwnd_, &now);
  if (resizable && (pos.width || pos.height)) {
    RECT c;
    GetClientRect(hwnd_, &c);
    fit_client(pos.width.value_or(c.right), pos.height.value_or(c.bottom));
    GetWindowRect(hwnd_, &now);
  }
  if (pos.x && pos.y) {
    // Back onto the monitor: its frame inside the work area.
    RECT work = work_area(nullptr, POINT{*pos.x, *pos.y});
    int w = now.right - now.left, h = now.bottom - now.top;
    int x = std::clamp<int>(*pos.x, work.left, std::max<int>(work.left, work.right - w));
    int y = std::clamp<int>(*pos.y, work.top, std::max<int>(work.top, work.bottom - h));
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    centre();
  }
  if (pos.maximized) ShowWindow(hwnd_, SW_MAXIMIZE);
}

LRESULT Pane::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_CTLCOLORSTATIC)
    return SendMessageW(GetParent(hwnd_), msg, wp, lp);
  return Window::handle(msg, wp, lp);
}

}  // namespace tolvex::win
