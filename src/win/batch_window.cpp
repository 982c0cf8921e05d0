// SPDX-License-Identifier: MIT

// clang-format off
#include "win/system.h"  // first: the Windows headers before the core's
// clang-format on

#include "win/batch_window.h"

#include <algorithm>

#include "win/wide.h"

namespace tolvex::win {

namespace {

void show_end(HWND field, const std::wstring& text);

std::wstring text_of(HWND field) {
  int n = GetWindowTextLengthW(field);
  std::wstring now(static_cast<std::size_t>(n) + 1, L'\0');
  now.resize(static_cast<std::size_t>(GetWindowTextW(field, now.data(), n + 1)));
  return now;
}

// A field's text, set only when it changes (no flicker while the batch runs); a path shows its
// end.
void set_text(HWND field, const std::wstring& text, bool path = false) {
  if (text_of(field) == text) return;
  SetWindowTextW(field, text.c_str());
  if (path) show_end(field, text);
}

// A path longer than its field shows its end (the pack's or folder's own name).
void show_end(HWND field, const std::wstring& text) {
  HDC dc = GetDC(field);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(field, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(field, dc);
  RECT r;
  GetClientRect(field, &r);
  std::size_t at = size.cx + 8 > r.right ? text.size() : 0;
  SendMessageW(field, EM_SETSEL, at, at);
  SendMessageW(field, EM_SCROLLCARET, 0, 0);
}

}  // namespace

BatchWindow::BatchWindow(core::Session& session, core::PackState& pack_state, WinOperator& op, HWND owner)
    : s_(session), op_(op), form_(session, pack_state) {
  create(w(app::kBatchTitle).c_str(), WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, WS_EX_DLGMODALFRAME, owner);
  auto label = [&](std::string_view text) {
    return control(WC_STATICW, w(text), SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 0);
  };
  auto field = [&] { return control(WC_EDITW, L"", ES_AUTOHSCROLL | ES_READONLY, 0, nullptr, WS_EX_CLIENTEDGE); };
  mode_label_ = label(app::kBatchModeLabel);
  mode_ = field();
  in_label_ = label(app::kInputFolderLabel);
  in_ = field();
  in4_ = control(WC_BUTTONW, L"...", WS_TABSTOP | BS_PUSHBUTTON, kIn4);
  out_label_ = label(app::kOutputFolderLabel);
  out_ = field();
  out7_ = control(WC_BUTTONW, L"...", WS_TABSTOP | BS_PUSHBUTTON, kOut7);
  count_label_ = label(app::kPackCountLabel);
  count_ = field();
  current_label_ = label(app::kCurrentPackLabel);
  current_ = field();
  name_label_ = label(app::kEntryNameLabel);
  name_ = field();
  short_label_ = label(app::kEntryShortNameLabel);
  short_ = field();
  size_label_ = label(app::kEntrySizeLabel);
  size_ = field();
  file_label_ = label(app::kPackFileLabel);
  file_ = field();
  bar_ = control(PROGRESS_CLASSW, L"", 0, 0);
  documents_ = control(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, 0);
  ok_ = control(WC_BUTTONW, w(app::kBatchOk), WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
  cancel_ = control(WC_BUTTONW, w(app::kBatchCancel), WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
  // The tips of the fields that have one.
  tip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  for (auto [c, text] : {std::pair{mode_, app::kBatchModeTip}, std::pair{name_, app::kEntryNameTip},
                         std::pair{short_, app::kEntryShortNameTip}, std::pair{size_, app::kEntrySizeTip}}) {
    std::wstring t = w(text);
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(c);
    ti.lpszText = t.data();
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  form_.on_change([this] { draw(); });
  draw();
  // Wide enough for a folder of a usual depth, so that its name is seen whole.
  int width = text_width(std::wstring(96, L'x')) + 2 * px(11);
  layout(width, 0);
  fit_client(width, content_bottom_ + px(11) * 2 + px(26));
}

void BatchWindow::layout(int width, int height) {
  int m = px(11), gap = px(6), line = line_height(), eh = line + px(8), right = width - m, y = m;
  auto place = [](HWND c, int x, int top, int w, int h) { MoveWindow(c, x, top, std::max(w, 0), h, TRUE); };
  auto prompt = [&](std::string_view text) { return text_width(w(text)) + px(8); };
  int lw = prompt(app::kBatchModeLabel);
  place(mode_label_, m, y, lw, eh);
  place(mode_, m + lw, y, text_width(L"00") + px(14), eh);
  y += eh + gap;
  int bw = px(30);
  for (auto [prompt_label, shown, button] : {std::tuple{in_label_, in_, in4_}, std::tuple{out_label_, out_, out7_}}) {
    place(prompt_label, m, y, right - m, line);
    y += line + px(2);
    place(shown, m, y, right - m - bw - gap, eh);
    place(button, right - bw, y, bw, eh);
    y += eh + gap;
  }
  int cw = text_width(L"00000") + px(14), x = m;
  lw = prompt(app::kPackCountLabel);
  place(count_label_, x, y, lw, eh);
  place(count_, x + lw, y, cw, eh);
  x += lw + cw + px(16);
  lw = prompt(app::kCurrentPackLabel);
  place(current_label_, x, y, lw, eh);
  place(current_, x + lw, y, cw, eh);
  y += eh + gap;
  // The entry: its name takes what the short name and the size leave.
  int l1 = prompt(app::kEntryNameLabel), l2 = prompt(app::kEntryShortNameLabel) + gap,
      l3 = prompt(app::kEntrySizeLabel) + gap;
  int rest = right - m - l1 - l2 - l3;
  int sw = std::max(text_width(std::wstring(12, L'W')) + px(14), rest / 5);
  int zw = std::max(text_width(L"0000000000") + px(14), rest / 5);
  int nw = rest - sw - zw;
  x = m;
  place(name_label_, x, y, l1, eh);
  place(name_, x += l1, y, nw, eh);
  place(short_label_, (x += nw) + gap, y, l2 - gap, eh);
  place(short_, x += l2, y, sw, eh);
  place(size_label_, (x += sw) + gap, y, l3 - gap, eh);
  place(size_, x += l3, y, zw, eh);
  y += eh + gap;
  lw = prompt(app::kPackFileLabel);
  place(file_label_, m, y, lw, eh);
  place(file_, m + lw, y, right - m - lw, eh);
  y += eh + gap * 2;
  place(bar_, m, y, right - m, px(18));
  y += px(18) + gap;
  place(documents_, m, y, right - m, line);
  content_bottom_ = y + line;
  int bh = px(26), bwd = std::max(px(88), text_width(w(app::kBatchCancel)) + px(24));
  int by = std::max(content_bottom_ + m, height - m - bh);
  place(cancel_, right - bwd, by, bwd, bh);
  place(ok_, right - 2 * bwd - gap, by, bwd, bh);
  for (HWND path : {in_, out_, file_}) show_end(path, text_of(path));
}

void BatchWindow::draw() {
  const app::BatchFields& f = form_.fields();
  set_text(mode_, w(f.mode));
  set_text(in_, w(f.input), true);
  set_text(out_, w(f.output), true);
  set_text(count_, w(f.count));
  set_text(current_, w(f.current));
  set_text(name_, f.entry.filename().wstring());
  set_text(short_, std::wstring(f.short_name.begin(), f.short_name.end()));
  set_text(size_, w(f.size));
  set_text(file_, f.entry.wstring(), true);
  set_text(documents_, w(f.documents));
  SendMessageW(bar_, PBM_SETRANGE32, 0, f.bar_maximum);
  SendMessageW(bar_, PBM_SETPOS, f.bar_value, 0);
  // A button given up while it has the focus hands it on, so that Esc and Tab still work.
  HWND focus = GetFocus();
  EnableWindow(in4_, form_.folders_enabled());
  EnableWindow(out7_, form_.folders_enabled());
  EnableWindow(ok_, form_.ok_enabled());
  EnableWindow(cancel_, form_.cancel_enabled());
  if (focus && !IsWindowEnabled(focus) && IsWindowEnabled(cancel_)) SetFocus(cancel_);
}

void BatchWindow::start_batch() {
  if (form_.press_ok(op_)) finish();
}

void BatchWindow::cancel() {
  if (form_.press_cancel(op_)) finish();
}

void BatchWindow::finish() {
  if (finished_) return;
  finished_ = true;
  save_position(s_.ini, app::kBatchSection, true);
  close_modal();
}

void BatchWindow::run(HWND owner) {
  restore_position(s_.ini, app::kBatchSection, true);
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(ok_);  // the batch is what the window is opened for
  run_modal(owner);
}

LRESULT BatchWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) break;
      switch (LOWORD(wp)) {
        case kIn4:
          op_.guard([this] { form_.choose_input_folder(); });
          return 0;
        case kOut7:
          op_.guard([this] { form_.choose_output_folder(); });
          return 0;
        case IDOK:
          start_batch();
          return 0;
        case IDCANCEL:
          cancel();
          return 0;
      }
      break;
    case WM_CLOSE:
      if (op_.ending())
        close_modal();
      else
        cancel();
      return 0;
  }
  return Window::handle(msg, wp, lp);
}

}  // namespace tolvex::win
