// SPDX-License-Identifier: MIT

// clang-format off
#include "win/system.h"  // first: the Windows headers before the core's
// clang-format on

#include <algorithm>

#include "core/conversion/settings.h"
#include "win/program_windows.h"
#include "win/wide.h"

namespace tolvex::win {

namespace {

using namespace runtime::literals;
using K = app::SettingsItemKind;
constexpr std::string_view kSection = "set_mode";
// Enter in a field leaves it (and so writes it) without closing the window.
constexpr int kEnter = 9999;

int edit_id(std::size_t page, std::size_t item) { return static_cast<int>(1000 + page * 100 + item * 4); }

// A setting's switch, as against its field.
bool is_switch(const app::SettingsItem& item) {
  return item.kind == K::setting && core::setting_row(item.setting).kind == core::SettingKind::flag;
}

}  // namespace

SettingsWindow::SettingsWindow(core::Session& session, WinOperator& op, HWND owner)
    : s_(session), op_(op), form_(session) {
  create(w(app::kSettingsTitle).c_str(), WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, WS_EX_DLGMODALFRAME, owner);
  tabs_ = control(WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, 900);
  auto pages = app::settings_pages();
  for (std::size_t p = 0; p < pages.size(); ++p) {
    std::wstring caption = w(pages[p].caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(tabs_, TCM_INSERTITEMW, p, reinterpret_cast<LPARAM>(&item));
    auto* page = new Pane(hwnd_);
    pages_.push_back(page);
    HWND ph = page->hwnd();
    std::vector<Field> fields;
    for (std::size_t i = 0; i < pages[p].items.size(); ++i) {
      const app::SettingsItem& it = pages[p].items[i];
      Field f{&it};
      int id = edit_id(p, i);
      const core::SettingRow* row = it.kind == K::setting ? &core::setting_row(it.setting) : nullptr;
      if (is_switch(it)) {
        f.check = control(WC_BUTTONW, w(row->caption), WS_TABSTOP | BS_AUTOCHECKBOX, id + 2, ph);
      } else if (it.kind == K::note) {
        f.note = control(WC_STATICW, w(it.text), SS_LEFT | SS_NOPREFIX, 0, ph);
      } else {
        std::string_view prompt = row ? row->caption : it.text;
        if (!prompt.empty()) f.label = control(WC_STATICW, w(prompt), SS_LEFT | SS_NOPREFIX, 0, ph);
        f.edit =
            control(WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL | (row ? 0 : ES_READONLY), id, ph, WS_EX_CLIENTEDGE);
        std::size_t width = it.kind == K::sample ? 255 : row ? row->width : 0;
        if (width) SendMessageW(f.edit, EM_LIMITTEXT, width, 0);
        if (it.kind == K::sample) sample_ = f.edit;
        if (row && !row->dialog_title.empty())
          f.browse = control(WC_BUTTONW, L"...", WS_TABSTOP | BS_PUSHBUTTON, id + 1, ph);
      }
      fields.push_back(f);
    }
    fields_.push_back(std::move(fields));
  }
  ok_ = control(WC_BUTTONW, L"&OK", WS_TABSTOP | BS_PUSHBUTTON, IDOK);
  cancel_ = control(WC_BUTTONW, w("Отмена"_w), WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
  refresh();
  // Wide enough for a folder of a usual depth, high enough for the tallest page.
  int width = text_width(std::wstring(96, L'x')) + px(40);
  int tallest = 0;
  for (std::size_t p = 0; p < pages_.size(); ++p) tallest = std::max(tallest, page_height(p, width - px(40)));
  RECT r{0, 0, width, tallest};
  SendMessageW(tabs_, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&r));
  fit_client(width, (r.bottom - r.top) + px(11) * 3 + px(26));
  show_page(0);
}

SettingsWindow::~SettingsWindow() {
  for (Pane* p : pages_) delete p;
}

int SettingsWindow::page_height(std::size_t page, int width) const {
  int y = px(8), line = line_height(), gap = px(4);
  for (const Field& f : fields_[page]) {
    if (f.label) y += line + gap / 2;
    if (f.edit) y += line + px(8) + gap;
    if (f.check) y += line + px(6) + gap;
    if (f.note) y += wrapped_height(w(f.item->text), width - px(16)) + gap;
  }
  return y + px(8);
}

void SettingsWindow::layout_page(std::size_t page, int width) {
  int x = px(8), y = px(8), line = line_height(), gap = px(4), right = width - px(8);
  for (const Field& f : fields_[page]) {
    if (f.label) {
      MoveWindow(f.label, x, y, right - x, line, TRUE);
      y += line + gap / 2;
    }
    if (f.edit) {
      int button = f.browse ? px(30) : 0;
      MoveWindow(f.edit, x, y, right - x - (button ? button + gap : 0), line + px(8), TRUE);
      if (f.browse) MoveWindow(f.browse, right - button, y, button, line + px(8), TRUE);
      y += line + px(8) + gap;
    }
    if (f.check) {
      MoveWindow(f.check, x, y, right - x, line + px(6), TRUE);
      y += line + px(6) + gap;
    }
    if (f.note) {
      int h = wrapped_height(w(f.item->text), right - x);
      MoveWindow(f.note, x, y, right - x, h, TRUE);
      y += h + gap;
    }
  }
}

void SettingsWindow::layout(int width, int height) {
  int m = px(11), bh = px(26), bw = std::max(px(88), text_width(w("Отмена"_w)) + px(24));
  MoveWindow(tabs_, m, m, width - 2 * m, height - 3 * m - bh, TRUE);
  RECT r{m, m, width - m, height - 2 * m - bh};
  SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  for (std::size_t p = 0; p < pages_.size(); ++p) {
    MoveWindow(pages_[p]->hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    layout_page(p, r.right - r.left);
  }
  MoveWindow(cancel_, width - m - bw, height - m - bh, bw, bh, TRUE);
  MoveWindow(ok_, width - 2 * m - 2 * bw + px(5), height - m - bh, bw, bh, TRUE);
}

void SettingsWindow::show_page(int index) {
  SendMessageW(tabs_, TCM_SETCURSEL, index, 0);
  for (std::size_t p = 0; p < pages_.size(); ++p)
    ShowWindow(pages_[p]->hwnd(), static_cast<int>(p) == index ? SW_SHOW : SW_HIDE);
  SetWindowPos(pages_[index]->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void SettingsWindow::refresh() {
  for (auto& page : fields_)
    for (Field& f : page) {
      if (f.check) {
        SendMessageW(f.check, BM_SETCHECK, form_.flag(f.item->setting) == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
      } else if (f.edit) {
        std::string v = f.item->kind == K::program_folder ? s_.program_folder
                        : f.item->kind == K::sample       ? form_.sample_line()
                                                          : form_.value(f.item->setting);
        SetWindowTextW(f.edit, w(v).c_str());
        SendMessageW(f.edit, EM_SETMODIFY, FALSE, 0);
      }
    }
}

void SettingsWindow::leave(Field& f) {
  if (!SendMessageW(f.edit, EM_GETMODIFY, 0, 0)) return;
  SendMessageW(f.edit, EM_SETMODIFY, FALSE, 0);
  std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(f.edit)) + 1, L'\0');
  typed.resize(static_cast<std::size_t>(GetWindowTextW(f.edit, typed.data(), static_cast<int>(typed.size()))));
  op_.guard([&] {
    // Folders and programs are file names: a character 1251 lacks is kept, as the console keeps it.
    core::SettingKind kind = core::setting_row(f.item->setting).kind;
    bool name = kind == core::SettingKind::folder || kind == core::SettingKind::program;
    SetWindowTextW(f.edit, w(form_.leave(f.item->setting, name ? ansi_name(typed) : ansi(typed))).c_str());
  });
}

void SettingsWindow::command(int id, int code, HWND) {
  if (id == IDOK || id == IDCANCEL) return finish();
  if (id == kEnter) {
    id = GetDlgCtrlID(GetFocus());
    code = EN_KILLFOCUS;
  }
  if (id < 1000) return;
  std::size_t page = static_cast<std::size_t>(id - 1000) / 100, item = static_cast<std::size_t>(id - 1000) % 100 / 4;
  if (page >= fields_.size() || item >= fields_[page].size()) return;
  Field& f = fields_[page][item];
  int part = (id - 1000) % 4;
  if (part == 0 && code == EN_KILLFOCUS && f.item->kind == K::setting) {
    leave(f);
  } else if (part == 1 && code == BN_CLICKED) {
    op_.guard([&] {
      SetWindowTextW(f.edit, w(form_.browse(f.item->setting)).c_str());
      SendMessageW(f.edit, EM_SETMODIFY, FALSE, 0);
    });
  } else if (part == 2 && code == BN_CLICKED) {
    bool on = SendMessageW(f.check, BM_GETCHECK, 0, 0) == BST_CHECKED;
    op_.guard([&] {
      if (form_.set_flag(f.item->setting, on)) refresh();  // the archive name and the sample line change with it
    });
  }
}

void SettingsWindow::run(HWND owner) {
  restore_position(s_.ini, kSection, true);
  show_page(0);
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(fields_[0][0].edit);
  run_modal(owner);
}

void SettingsWindow::finish() {
  if (finished_) return;
  // A field being edited is left now, and so written.
  HWND focus = GetFocus();
  for (auto& page : fields_)
    for (Field& f : page)
      if (f.edit && f.edit == focus && f.item->kind == K::setting) leave(f);
  finished_ = true;
  save_position(s_.ini, kSection, true);
  close_modal();
}

LRESULT SettingsWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(kEnter, DC_HASDEFID);
    case WM_NOTIFY: {
      auto* n = reinterpret_cast<NMHDR*>(lp);
      if (n->hwndFrom == tabs_ && n->code == TCN_SELCHANGE)
        show_page(static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
      return 0;
    }
    case WM_CLOSE:
      finish();
      return 0;
  }
  return Window::handle(msg, wp, lp);
}

}  // namespace tolvex::win
