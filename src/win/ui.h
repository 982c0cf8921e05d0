// SPDX-License-Identifier: MIT
// What every Win32 window of the program shares: a window class whose messages go to a C++
// object, the system's message font at the window's DPI, controls made in that font, a modal
// run over an owner, and the window's position kept in its section of the settings file.
#pragma once

#include <string>
#include <string_view>

#include "core/conversion/settings.h"
#include "win/system.h"

namespace tolvex::win {

// A top-level window (or a page inside one) that handles its own messages.
class Window {
 public:
  virtual ~Window();
  HWND hwnd() const { return hwnd_; }
  int dpi() const { return dpi_; }
  // Pixels at 96 DPI as pixels at the window's DPI.
  int px(int at96) const { return MulDiv(at96, dpi_, 96); }
  HFONT font() const { return font_; }
  HFONT bold_font() const { return bold_; }
  // The height of a line of text in the window's font, and a text's width.
  int line_height() const;
  int text_width(std::wstring_view text) const;
  // The height a text takes when wrapped to `width`.
  int wrapped_height(std::wstring_view text, int width) const;

  // A child control in the window's font.
  HWND control(const wchar_t* window_class, std::wstring_view text, DWORD style, int id, HWND parent = nullptr,
               DWORD ex_style = 0);

  // Shows the window over `owner` (disabled meanwhile) and runs its messages until close_modal().
  void run_modal(HWND owner);
  void close_modal() { done_ = true; }

  // Keeps the position (and for a resizable window the client size) in `section`; restores it
  // back onto the monitor it was on, or onto the nearest one.
  void save_position(core::IniStore& ini, std::string_view section, bool resizable) const;
  void restore_position(const core::IniStore& ini, std::string_view section, bool resizable);
  // Sizes the window for a client area of `width` × `height`, no larger than its monitor's work area.
  void fit_client(int width, int height);
  // Centres the window on its owner's monitor.
  void centre();

  static void register_classes(HINSTANCE instance);

 protected:
  // Makes the window; `style` is the top-level style.
  void create(const wchar_t* title, DWORD style, DWORD ex_style, HWND owner);
  // Places the controls for the client size (called at create, resize and DPI change).
  virtual void layout(int /*width*/, int /*height*/) {}
  virtual LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  // A message the modal loop sees before dispatching it (F1); true when taken.
  virtual bool pre_translate(MSG& /*msg*/) { return false; }
  friend int run_main_loop(Window& main);

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void make_fonts();

  int dpi_ = 96;
  HFONT font_ = nullptr, bold_ = nullptr;
  bool done_ = false;
};

// A page of a window (a tab's page, or a window's one page): a child that passes its controls'
// notices and their colour questions to the window it stands in.
class Pane : public Window {
 public:
  explicit Pane(HWND parent) { create(L"", WS_CHILD | WS_CLIPSIBLINGS, 0, parent); }

 protected:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
};

// The main window's message loop until it is destroyed; returns the quit code.
int run_main_loop(Window& main);

// Lets the windows paint and answer while a long step runs.
void pump_messages();

}  // namespace tolvex::win
