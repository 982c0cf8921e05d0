// SPDX-License-Identifier: MIT

// clang-format off
#include "win/system.h"  // first: the Windows headers before the core's
// clang-format on

#include <algorithm>

#include "win/pack_windows.h"
#include "win/wide.h"

namespace tolvex::win {

namespace {

enum Id { kIn4 = 201, kOut, kFirstField = 1000 };
// Enter in an entry leaves it (and so takes it) without pressing a button.
constexpr int kEnter = 9999;
constexpr UINT kTakePack = WM_APP + 1;       // lParam: a new path
constexpr UINT kRefocus = WM_APP + 2;        // wParam: the entry refused
constexpr UINT kConverterDone = WM_APP + 3;  // the converter window has closed

// A path with its end (the file's name) in sight: from its start, then to its end as far as needed.
void show_end(HWND edit) {
  int len = GetWindowTextLengthW(edit);
  SendMessageW(edit, EM_SETSEL, 0, 0);
  SendMessageW(edit, EM_SETSEL, len, len);
}

}  // namespace

OnePackWindow::OnePackWindow(core::Session& session, core::PackState& pack_state, WinOperator& op, HWND owner)
    : s_(session), op_(op), form_(session, pack_state) {
  create(w(app::kOnePackTitle).c_str(), WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, WS_EX_DLGMODALFRAME, owner);
  auto label = [&](std::string_view text) {
    HWND l = control(WC_STATICW, w(text), SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 0);
    labels_.push_back(l);
    return l;
  };
  auto shown = [&](const std::string& name, int id = 0) {
    HWND e = control(WC_EDITW, L"", ES_AUTOHSCROLL | ES_READONLY, id, nullptr, WS_EX_CLIENTEDGE);
    own_[name] = e;
    return e;
  };
  label(app::kPathIn4Prompt);
  shown("PATH_IN4");
  out_ = control(WC_BUTTONW, w(app::kOutputCaption), WS_TABSTOP | BS_PUSHBUTTON, kOut);
  shown("PATH_OUT7");
  in4_ = control(WC_BUTTONW, w(app::kPackCaption), WS_TABSTOP | BS_PUSHBUTTON, kIn4);
  shown("IN4_FILE");
  label(app::kOut7Prompt);
  shown("OUT7_FILE");

  // The header in its four groups; the form name after DOKT's last row.
  core::PackHeader& h = pack_state.header;
  for (const app::HeaderGroup& g : app::header_groups()) {
    const core::Record& record = g.record == "ZAG4"   ? static_cast<const core::Record&>(h.zag4)
                                 : g.record == "IST4" ? static_cast<const core::Record&>(h.ist4)
                                 : g.record == "PCH"  ? static_cast<const core::Record&>(h.pch)
                                                      : static_cast<const core::Record&>(h.dokt);
    Group group{&g, control(WC_BUTTONW, w(g.caption), BS_GROUPBOX, 0), {}};
    for (std::size_t r = 0; r < g.rows.size(); ++r) {
      std::vector<std::size_t> row;
      for (std::string_view f : g.rows[r]) {
        Field field;
        field.name = std::string(g.record) + ":" + std::string(f);
        field.width = record.layout().fields[record.layout().index(f)].width;
        field.entry = app::OnePackForm::is_entry(field.name);
        field.prompt =
            control(WC_STATICW, w(app::header_caption(g.record, f)), SS_RIGHT | SS_NOPREFIX | SS_CENTERIMAGE, 0);
        int id = kFirstField + static_cast<int>(fields_.size());
        app::EntryTyping typing = app::entry_typing(f);
        DWORD digits = typing.allowed == "0123456789" ? ES_NUMBER : 0;
        field.edit = control(WC_EDITW, L"", ES_AUTOHSCROLL | ES_READONLY | digits, id, nullptr, WS_EX_CLIENTEDGE);
        SendMessageW(field.edit, EM_LIMITTEXT, typing.most ? typing.most : field.width, 0);
        row.push_back(fields_.size());
        fields_.push_back(field);
      }
      if (g.record == "DOKT" && r + 1 == g.rows.size()) {
        Field form_name{"TYP_PFR", 8};
        form_name.prompt = control(WC_STATICW, w(app::kFormNamePrompt), SS_RIGHT | SS_NOPREFIX | SS_CENTERIMAGE, 0);
        form_name.edit = control(WC_EDITW, L"", ES_AUTOHSCROLL | ES_READONLY, 0, nullptr, WS_EX_CLIENTEDGE);
        row.push_back(fields_.size());
        fields_.push_back(form_name);
      }
      group.rows.push_back(row);
    }
    groups_.push_back(group);
  }
  status_ = control(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, 0);
  label(app::kStartedPrompt);
  shown("T_RAB_N");
  label(app::kHeaderTimePrompt);
  shown("T_RAB");
  ok_ = control(WC_BUTTONW, w(app::kOkCaption), WS_TABSTOP | BS_PUSHBUTTON, IDOK);
  cancel_ = control(WC_BUTTONW, w(app::kCancelCaption), WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
  // The tips: what an entry takes, what the time is.
  tip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  auto add_tip = [&](HWND control, std::string_view text) {
    tips_.push_back(w(text));
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = tips_.back().data();
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  };
  for (const Field& f : fields_) {
    std::string_view hint = app::entry_typing(f.name.substr(f.name.find(':') + 1)).hint;
    if (f.entry && !hint.empty()) add_tip(f.edit, hint);
  }
  add_tip(own_["T_RAB"], app::kHeaderTimeTip);
  refresh();
  // As wide as the screen allows up to a comfortable width; as high as the groups need.
  int left = group_height(groups_[0]) + group_height(groups_[1]);
  int right = group_height(groups_[3]) + group_height(groups_[2]);
  int row = line_height() + px(8), gap = px(4);
  int height = px(11) * 2 + 3 * (row + gap) + std::max(left, right) + gap + 2 * line_height() + gap + row;
  fit_client(px(1100), height);
}

OnePackWindow::~OnePackWindow() = default;

int OnePackWindow::group_height(const Group& g) const {
  int row = line_height() + px(7), gap = px(2);
  return line_height() + px(4) + static_cast<int>(g.rows.size()) * (row + gap) + px(6);
}

// A group's rows: the captions right-aligned in their columns, the values sized for their
// fields and given the rest of the width; a row of one field takes the whole row.
void OnePackWindow::layout_group(const Group& g, int x, int y, int width) {
  int h = group_height(g);
  MoveWindow(g.frame, x, y, width, h, TRUE);
  int row = line_height() + px(7), gap = px(2), inner = px(8), space = px(6);
  std::size_t columns = 0;
  for (const auto& r : g.rows) columns = std::max(columns, r.size());
  std::vector<int> caption(columns, 0), value(columns, 0);
  int digit = text_width(L"0"), letter = text_width(L"Н");
  for (const auto& r : g.rows)
    for (std::size_t c = 0; c < r.size(); ++c) {
      const Field& f = fields_[r[c]];
      caption[c] = std::max(caption[c],
                            text_width(w(app::header_caption(g.group->record, f.name.substr(f.name.find(':') + 1)))));
      if (f.name == "TYP_PFR") caption[c] = std::max(caption[c], text_width(w(app::kFormNamePrompt)));
      if (r.size() == 1 && columns > 1) continue;
      int chars = static_cast<int>(std::min<std::size_t>(f.width, 20));
      bool letters = f.name == "TYP_PFR" || app::holds_letters(f.name.substr(f.name.find(':') + 1));
      value[c] = std::max(value[c], chars * (letters ? letter : digit) + px(10));
    }
  int used = 2 * inner + static_cast<int>(2 * columns - 1) * space;
  for (std::size_t c = 0; c < columns; ++c) used += caption[c] + value[c];
  int extra = std::max(0, width - used) / static_cast<int>(columns);
  int top = y + line_height() + px(4);
  for (const auto& r : g.rows) {
    int cx = x + inner;
    for (std::size_t c = 0; c < r.size(); ++c) {
      const Field& f = fields_[r[c]];
      MoveWindow(f.prompt, cx, top, caption[c], row, TRUE);
      cx += caption[c] + space;
      int vw = value[c] + extra;
      if (c + 1 == r.size()) vw = x + width - inner - cx;  // the last takes the rest of the row
      MoveWindow(f.edit, cx, top, vw, row, TRUE);
      cx += vw + space;
    }
    top += row + gap;
  }
}

void OnePackWindow::layout(int width, int height) {
  int m = px(11), gap = px(4), space = px(6), row = line_height() + px(8);
  int prompt = std::max(
      {text_width(w(app::kPathIn4Prompt)), text_width(w(app::kOut7Prompt)), text_width(w(app::kPackCaption)) + px(24)});
  int out_w = text_width(w(app::kOutputCaption)) + px(24);
  int y = m;
  int half = (width - 2 * m - prompt - out_w - 3 * space) / 2;
  MoveWindow(labels_[0], m, y, prompt, row, TRUE);
  MoveWindow(own_["PATH_IN4"], m + prompt + space, y, half, row, TRUE);
  MoveWindow(out_, m + prompt + 2 * space + half, y, out_w, row, TRUE);
  MoveWindow(own_["PATH_OUT7"], m + prompt + 3 * space + half + out_w, y,
             width - m - (m + prompt + 3 * space + half + out_w), row, TRUE);
  y += row + gap;
  MoveWindow(in4_, m, y, prompt, row, TRUE);
  MoveWindow(own_["IN4_FILE"], m + prompt + space, y, width - 2 * m - prompt - space, row, TRUE);
  y += row + gap;
  MoveWindow(labels_[1], m, y, prompt, row, TRUE);
  MoveWindow(own_["OUT7_FILE"], m + prompt + space, y, width - 2 * m - prompt - space, row, TRUE);
  for (const char* name : {"PATH_IN4", "PATH_OUT7", "IN4_FILE", "OUT7_FILE"}) show_end(own_[name]);
  y += row + gap;
  // The groups two by two: the file's header and the documents, the insurer and the pack.
  int column = (width - 2 * m - space) / 2;
  int top = std::max(group_height(groups_[0]), group_height(groups_[3]));
  layout_group(groups_[0], m, y, column);
  layout_group(groups_[3], m + column + space, y, column);
  layout_group(groups_[1], m, y + top + gap, column);
  layout_group(groups_[2], m + column + space, y + top + gap, column);
  // The status over the bottom row.
  int bottom = height - m - row;
  int status_h = 2 * line_height();
  MoveWindow(status_, m, bottom - gap - status_h, width - 2 * m, status_h, TRUE);
  int x = m;
  auto place = [&](HWND c, int cw) {
    MoveWindow(c, x, bottom, cw, row, TRUE);
    x += cw + space;
  };
  place(labels_[2], text_width(w(app::kStartedPrompt)));
  place(own_["T_RAB_N"], text_width(L"00:00:00") + px(12));
  place(labels_[3], text_width(w(app::kHeaderTimePrompt)));
  place(own_["T_RAB"], text_width(L"00:00:00.00") + px(12));
  int bw = std::max(px(88), text_width(w(app::kCancelCaption)) + px(24));
  MoveWindow(cancel_, width - m - bw, bottom, bw, row, TRUE);
  MoveWindow(ok_, width - m - 2 * bw - space, bottom, bw, row, TRUE);
}

std::string OnePackWindow::text_of(HWND edit) const {
  std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
  t.resize(static_cast<std::size_t>(GetWindowTextW(edit, t.data(), static_cast<int>(t.size()))));
  return ansi(t);
}

void OnePackWindow::refresh(bool keep_entries) {
  auto set = [](HWND e, const std::wstring& text) {
    std::wstring now(static_cast<std::size_t>(GetWindowTextLengthW(e)) + 1, L'\0');
    now.resize(static_cast<std::size_t>(GetWindowTextW(e, now.data(), static_cast<int>(now.size()))));
    if (now != text) SetWindowTextW(e, text.c_str());
  };
  for (const char* name : {"PATH_IN4", "PATH_OUT7", "OUT7_FILE", "T_RAB_N", "T_RAB"})
    set(own_[name], w(form_.value(name)));
  set(own_["IN4_FILE"], form_.in4_file().wstring());
  for (const char* name : {"PATH_IN4", "PATH_OUT7", "IN4_FILE", "OUT7_FILE"}) show_end(own_[name]);
  bool open = form_.entries_open();
  for (Field& f : fields_) {
    if (!(keep_entries && f.entry)) {
      set(f.edit, w(form_.value(f.name)));
      SendMessageW(f.edit, EM_SETMODIFY, FALSE, 0);
    }
    if (!f.entry) continue;
    // An entry takes input, and is in the Tab order, while it is open; shown fields only by a click.
    SendMessageW(f.edit, EM_SETREADONLY, !open, 0);
    LONG_PTR style = GetWindowLongPtrW(f.edit, GWL_STYLE);
    SetWindowLongPtrW(f.edit, GWL_STYLE, open ? style | WS_TABSTOP : style & ~static_cast<LONG_PTR>(WS_TABSTOP));
  }
  for (HWND b : {in4_, out_, ok_, cancel_}) EnableWindow(b, form_.buttons_enabled());
  set(status_, w(form_.status()));
}

bool OnePackWindow::leave(Field& f) {
  if (!f.entry || !SendMessageW(f.edit, EM_GETMODIFY, 0, 0)) return true;
  SendMessageW(f.edit, EM_SETMODIFY, FALSE, 0);
  bool taken = true;
  op_.guard([&] { taken = form_.leave_entry(f.name, text_of(f.edit)); });
  if (!taken) {
    // Not taken: the field keeps what was typed, the focus goes back to it, its text selected.
    PostMessageW(hwnd_, kRefocus, reinterpret_cast<WPARAM>(f.edit), 0);
    return false;
  }
  refresh(true);
  return true;
}

void OnePackWindow::after_step() {
  if (form_.ended()) return finish();
  refresh();
}

void OnePackWindow::convert_pack() {
  auto field = [this](std::string_view name) -> Field* {
    for (Field& f : fields_)
      if (f.name == name) return &f;
    return nullptr;
  };
  form_.press_ok(op_, {.typed =
                           [field, this](std::string_view name) {
                             Field* f = field(name);
                             if (!f) return std::string();
                             SendMessageW(f->edit, EM_SETMODIFY, FALSE, 0);
                             return text_of(f->edit);
                           },
                       .refused =
                           [field, this](std::string_view name) {
                             if (Field* f = field(name))
                               PostMessageW(hwnd_, kRefocus, reinterpret_cast<WPARAM>(f->edit), 0);
                           },
                       .redraw =
                           [this] {
                             refresh();
                             UpdateWindow(hwnd_);
                           },
                       .open_converter =
                           [this](core::DocumentRun& run) {
                             converter_ = std::make_unique<ConverterWindow>(
                                 run, s_.ini, op_, hwnd_, [this] { PostMessageW(hwnd_, kConverterDone, 0, 0); });
                           },
                       .documents_done = [this] { documents_done(); }});
}

void OnePackWindow::documents_done() {
  converter_.reset();
  EnableWindow(hwnd_, TRUE);
  SetForegroundWindow(hwnd_);
  form_.finish_ok(op_);
  refresh();
  SetFocus(in4_);
}

void OnePackWindow::cancel() {
  if (form_.press_cancel(op_)) finish();
}

void OnePackWindow::finish() {
  if (finished_) return;
  finished_ = true;
  save_position(s_.ini, app::kOnePackSection, true);
  close_modal();
}

void OnePackWindow::run(HWND owner, const std::optional<std::filesystem::path>& pack) {
  restore_position(s_.ini, app::kOnePackSection, true);
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(in4_);  // the first action
  if (pack) PostMessageW(hwnd_, kTakePack, 0, reinterpret_cast<LPARAM>(new std::filesystem::path(*pack)));
  run_modal(owner);
}

bool OnePackWindow::pre_translate(MSG& msg) {
  // The converter window's keys (Alt+O, Tab) while it is open.
  return converter_ && converter_->hwnd() && IsDialogMessageW(converter_->hwnd(), &msg);
}

void OnePackWindow::command(int id, int code, HWND) {
  if (op_.ending()) return;
  if (id == kEnter) {
    HWND focus = GetFocus();
    for (Field& f : fields_)
      if (f.edit == focus) leave(f);
    return;
  }
  if (code != BN_CLICKED && id < kFirstField) return;
  switch (id) {
    case kIn4:
      op_.guard([this] { form_.choose_pack(); });
      return after_step();
    case kOut:
      op_.guard([this] { form_.choose_output(); });
      return after_step();
    case IDOK:
      return convert_pack();
    case IDCANCEL:
      return cancel();
  }
  std::size_t i = static_cast<std::size_t>(id - kFirstField);
  if (id >= kFirstField && i < fields_.size() && code == EN_KILLFOCUS) leave(fields_[i]);
}

LRESULT OnePackWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(kEnter, DC_HASDEFID);
    case kTakePack: {
      std::unique_ptr<std::filesystem::path> pack(reinterpret_cast<std::filesystem::path*>(lp));
      form_.take_pack(op_, *pack);
      after_step();
      return 0;
    }
    case kRefocus: {
      auto edit = reinterpret_cast<HWND>(wp);
      SetFocus(edit);
      SendMessageW(edit, EM_SETSEL, 0, -1);
      return 0;
    }
    case kConverterDone:
      documents_done();
      return 0;
    case WM_CLOSE:
      // Closing by the frame is "Отмена".
      if (op_.ending()) {
        close_modal();
        return 0;
      }
      cancel();
      return 0;
  }
  return Window::handle(msg, wp, lp);
}

}  // namespace tolvex::win
