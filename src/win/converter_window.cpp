// SPDX-License-Identifier: MIT

// clang-format off
#include "win/system.h"  // first: the Windows headers before the core's
// clang-format on

#include <algorithm>

#include "win/pack_windows.h"
#include "win/wide.h"

namespace tolvex::win {

namespace {

enum Id { kNext = 301, kTabs = 302 };
constexpr int kMostPairs = 3;
// A field wider than this takes a row of its own; narrower ones are sized for their width.
constexpr std::size_t kLongField = 40;
constexpr int kMostSampleChars = 24;

}  // namespace

ConverterWindow::ConverterWindow(core::DocumentRun& run, core::IniStore& ini, WinOperator& op, HWND owner,
                                 std::function<void()> ended)
    : form_(run), ini_(ini), op_(op), owner_(owner), ended_(std::move(ended)) {
  create(w(form_.view().title).c_str(), WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, WS_EX_DLGMODALFRAME, owner);
  for (std::string_view p : {app::kConverterStarted, app::kConverterElapsed})
    prompts_.push_back(control(WC_STATICW, w(p), SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 0));
  started_ = control(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 0);
  elapsed_ = control(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 0);
  progress_ = control(PROGRESS_CLASSW, L"", 0, 0);
  ShowWindow(progress_, SW_HIDE);
  // The bar draws no text: the count beside it.
  progress_text_ = control(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 0);
  if (app::has_next(form_.view()))
    next_ = control(WC_BUTTONW, w(form_.view().next_caption), WS_TABSTOP | BS_PUSHBUTTON, kNext);
  ok_ = control(WC_BUTTONW, w(app::kConverterOk), WS_TABSTOP | BS_PUSHBUTTON, IDOK);
  if (app::has_next(form_.view()))
    cancel_ = control(WC_BUTTONW, w(app::kConverterCancel), WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
  op_.set_documents_sink([this](long long done, long long announced) { progress(done, announced); });
  show_view();
  // As wide as the widest page's groups side by side, as high as they and their lists need.
  int width = px(640);
  for (std::size_t p = 0; p < groups_.size(); ++p) {
    for (const Shown& g : groups_[p]) width = std::max(width, group_width(g, kMostPairs) + px(40));
    // The lists with every column in sight, those beside each other together.
    int row = 0;
    for (std::size_t l = 0; l < lists_[p].size(); ++l) {
      const Shown& list = lists_[p][l];
      int columns = 0;
      for (int c = 0; c < static_cast<int>(form_.view().pages[p].lists[l].columns.size()); ++c)
        columns += static_cast<int>(SendMessageW(list.list, LVM_GETCOLUMNWIDTH, c, 0));
      int lw =
          columns + GetSystemMetricsForDpi(SM_CXVSCROLL, static_cast<UINT>(dpi())) + px(8) + (list.frame ? px(16) : 0);
      row = form_.view().pages[p].lists[l].beside ? row + px(6) + lw : lw;
      width = std::max(width, row + px(40));
    }
  }
  width = std::min(width, px(1300));
  int height = 0, bottom = line_height() + px(8) + px(11) * 3;
  for (std::size_t p = 0; p < groups_.size(); ++p) {
    int lists = 0;
    int h = layout_page(p, width - px(22) - (tabs_ ? px(12) : 0), 0, false, &lists);
    height = std::max(height, h + lists + (tabs_ ? line_height() + px(20) : 0));
  }
  fit_client(width, height + bottom);
  restore_position(ini_, form_.section(), true);
  EnableWindow(owner_, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(next_ ? next_ : ok_);  // the first action
}

ConverterWindow::~ConverterWindow() {
  op_.set_documents_sink(nullptr);
  clear();
}

void ConverterWindow::clear() {
  panes_.clear();  // their controls go with them
  if (tabs_) DestroyWindow(tabs_);
  tabs_ = nullptr;
  groups_.clear();
  lists_.clear();
}

void ConverterWindow::show_view() {
  const core::ConverterView& view = form_.view();
  SetWindowTextW(hwnd_, w(view.title).c_str());
  clear();
  if (app::is_tabbed(view)) {
    tabs_ = control(WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, kTabs);
    SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  for (std::size_t p = 0; p < view.pages.size(); ++p) {
    const core::ViewPage& page = view.pages[p];
    if (tabs_) {
      std::wstring caption = w(page.caption);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = caption.data();
      SendMessageW(tabs_, TCM_INSERTITEMW, p, reinterpret_cast<LPARAM>(&item));
    }
    panes_.push_back(std::make_unique<Pane>(hwnd_));
    HWND pane = panes_.back()->hwnd();
    std::vector<Shown> groups, lists;
    for (const core::ViewGroup& g : page.groups) {
      Shown s;
      if (!g.caption.empty()) s.frame = control(WC_BUTTONW, w(g.caption), BS_GROUPBOX, 0, pane);
      for (const core::ViewField& f : g.fields) {
        HWND prompt = control(WC_STATICW, w(f.prompt), SS_RIGHT | SS_NOPREFIX | SS_CENTERIMAGE, 0, pane);
        std::wstring value = w(f.value);
        if (!f.after.empty()) value += L" " + w(f.after);
        HWND edit = control(WC_EDITW, value, ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP, 0, pane, WS_EX_CLIENTEDGE);
        s.pairs.emplace_back(prompt, edit);
        s.widths.push_back(f.width ? f.width : f.value.size());
      }
      groups.push_back(std::move(s));
    }
    for (const core::ViewList& l : page.lists) {
      Shown s;
      if (!l.caption.empty()) s.frame = control(WC_BUTTONW, w(l.caption), BS_GROUPBOX, 0, pane);
      s.list = control(WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_NOSORTHEADER | LVS_SHOWSELALWAYS, 0, pane,
                       WS_EX_CLIENTEDGE);
      SendMessageW(s.list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
      for (std::size_t c = 0; c < l.columns.size(); ++c) {
        std::wstring caption = w(l.columns[c]);
        int cw = text_width(caption) + px(16);
        for (const auto& row : l.rows)
          if (c < row.size()) cw = std::max(cw, text_width(w(row[c])) + px(16));
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = caption.data();
        col.cx = cw;
        SendMessageW(s.list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
      }
      for (std::size_t r = 0; r < l.rows.size(); ++r)
        for (std::size_t c = 0; c < l.rows[r].size() && c < l.columns.size(); ++c) {
          std::wstring text = w(l.rows[r][c]);
          LVITEMW item{};
          item.mask = LVIF_TEXT;
          item.iItem = static_cast<int>(r);
          item.iSubItem = static_cast<int>(c);
          item.pszText = text.data();
          SendMessageW(s.list, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
        }
      lists.push_back(std::move(s));
    }
    groups_.push_back(std::move(groups));
    lists_.push_back(std::move(lists));
  }
  if (current_ >= static_cast<int>(panes_.size())) current_ = 0;
  if (tabs_) SendMessageW(tabs_, TCM_SETCURSEL, current_, 0);
  show_pane();
  SetWindowTextW(started_, w(form_.view().started).c_str());
  SetWindowTextW(elapsed_, w(form_.view().elapsed).c_str());
  RECT c;
  GetClientRect(hwnd_, &c);
  layout(c.right, c.bottom);
}

void ConverterWindow::show_pane() {
  for (std::size_t p = 0; p < panes_.size(); ++p)
    ShowWindow(panes_[p]->hwnd(), static_cast<int>(p) == current_ ? SW_SHOW : SW_HIDE);
  if (current_ < static_cast<int>(panes_.size()))
    SetWindowPos(panes_[current_]->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

int ConverterWindow::pair_value_width(const Shown& g, std::size_t i) const {
  std::size_t width = g.widths[i];
  int chars = std::clamp(static_cast<int>(width), 2, kMostSampleChars);
  int least = chars * text_width(width <= 8 ? L"Н" : L"0") + px(10);
  int len = GetWindowTextLengthW(g.pairs[i].second);
  std::wstring value(static_cast<std::size_t>(len) + 1, L'\0');
  value.resize(static_cast<std::size_t>(GetWindowTextW(g.pairs[i].second, value.data(), len + 1)));
  return std::max(least, text_width(value) + px(10));
}

int ConverterWindow::group_width(const Shown& g, int columns) const {
  std::vector<int> prompt(columns, 0), value(columns, 0);
  int column = 0, whole = 0, space = px(6);
  for (std::size_t i = 0; i < g.pairs.size(); ++i) {
    int pw = text_width(L"") + [&] {
      int len = GetWindowTextLengthW(g.pairs[i].first);
      std::wstring t(static_cast<std::size_t>(len) + 1, L'\0');
      t.resize(static_cast<std::size_t>(GetWindowTextW(g.pairs[i].first, t.data(), len + 1)));
      return text_width(t);
    }();
    if (g.widths[i] > kLongField) {
      whole = std::max(whole, pw + space + pair_value_width(g, i));
      column = 0;
      continue;
    }
    prompt[column] = std::max(prompt[column], pw);
    value[column] = std::max(value[column], pair_value_width(g, i));
    column = (column + 1) % columns;
  }
  int sum = 0;
  for (int c = 0; c < columns; ++c) sum += prompt[c] + value[c];
  return std::max(sum + (2 * columns - 1) * space, whole) + (g.frame ? px(16) : 0);
}

int ConverterWindow::layout_page(std::size_t page, int width, int height, bool place, int* lists_height) {
  int y = px(6), row = line_height() + px(7), gap = px(3), space = px(6), m = px(6);
  int room = width - 2 * m;
  std::vector<Shown>& groups = groups_[page];
  const std::vector<core::ViewGroup>& described = form_.view().pages[page].groups;
  auto place_group = [&](Shown& g, int x, int gy, int gw) {
    int inner = g.frame ? px(8) : 0, top = g.frame ? line_height() + px(2) : 0;
    int fw = gw - 2 * inner;
    int columns = kMostPairs;
    while (columns > 1 && group_width(g, columns) - (g.frame ? px(16) : 0) > fw) --columns;
    // Column widths: prompts and values as wide as their widest, the rest shared by the values.
    std::vector<int> prompt(columns, 0), value(columns, 0);
    int column = 0;
    for (std::size_t i = 0; i < g.pairs.size(); ++i) {
      if (g.widths[i] > kLongField) {
        column = 0;
        continue;
      }
      int len = GetWindowTextLengthW(g.pairs[i].first);
      std::wstring t(static_cast<std::size_t>(len) + 1, L'\0');
      t.resize(static_cast<std::size_t>(GetWindowTextW(g.pairs[i].first, t.data(), len + 1)));
      prompt[column] = std::max(prompt[column], text_width(t));
      value[column] = std::max(value[column], pair_value_width(g, i));
      column = (column + 1) % columns;
    }
    int used = (2 * columns - 1) * space;
    for (int c = 0; c < columns; ++c) used += prompt[c] + value[c];
    int extra = std::max(0, fw - used) / columns;
    int ry = gy + top + (g.frame ? px(4) : 0), rows = 0;
    column = 0;
    for (std::size_t i = 0; i < g.pairs.size(); ++i) {
      bool whole = g.widths[i] > kLongField;
      if (whole && column != 0) {
        ry += row + gap;
        column = 0;
      }
      int cx = x + inner;
      for (int c = 0; c < column; ++c) cx += prompt[c] + value[c] + extra + 2 * space;
      if (place) {
        int len = GetWindowTextLengthW(g.pairs[i].first);
        std::wstring t(static_cast<std::size_t>(len) + 1, L'\0');
        t.resize(static_cast<std::size_t>(GetWindowTextW(g.pairs[i].first, t.data(), len + 1)));
        int pw = whole ? text_width(t) : prompt[column];
        MoveWindow(g.pairs[i].first, cx, ry, pw, row, TRUE);
        int vw = whole ? x + gw - inner - (cx + pw + space) : value[column] + extra;
        MoveWindow(g.pairs[i].second, cx + pw + space, ry, vw, row, TRUE);
      }
      rows = 1;
      if (whole || ++column == columns) {
        ry += row + gap;
        column = 0;
        rows = 0;
      }
    }
    if (rows) ry += row + gap;
    int h = ry - gy + (g.frame ? px(6) : 0);
    if (place && g.frame) MoveWindow(g.frame, x, gy, gw, h, TRUE);
    return h;
  };
  // The groups side by side where one is marked to stand beside the one before and they fit.
  for (std::size_t i = 0; i < groups.size();) {
    std::size_t n = 1;
    while (i + n < groups.size() && described[i + n].beside) ++n;
    int share = (room - static_cast<int>(n - 1) * space) / static_cast<int>(n);
    bool fits = true;
    for (std::size_t g = i; g < i + n; ++g) fits = fits && group_width(groups[g], 1) <= share;
    if (n > 1 && fits) {
      int tallest = 0;
      for (std::size_t g = i; g < i + n; ++g)
        tallest = std::max(tallest, place_group(groups[g], m + static_cast<int>(g - i) * (share + space), y, share));
      y += tallest + gap;
    } else {
      for (std::size_t g = i; g < i + n; ++g) y += place_group(groups[g], m, y, room) + gap;
    }
    i += n;
  }
  // The lists under them, each on a row of its own (beside the one before when asked), sharing
  // the height left.
  std::vector<Shown>& lists = lists_[page];
  const std::vector<core::ViewList>& lists_described = form_.view().pages[page].lists;
  std::vector<std::vector<std::size_t>> rows;
  for (std::size_t i = 0; i < lists.size(); ++i) {
    if (rows.empty() || !lists_described[i].beside) rows.emplace_back();
    rows.back().push_back(i);
  }
  int wanted = 0;
  for (const auto& r : rows) {
    std::size_t most = 0;
    for (std::size_t i : r) most = std::max(most, lists_described[i].rows.size());
    wanted += (static_cast<int>(std::min<std::size_t>(most, 12)) + 2) * (line_height() + px(5)) +
              (lists[r.front()].frame ? line_height() + px(12) : 0) + gap;
  }
  if (lists_height) *lists_height = wanted;
  if (place && !rows.empty()) {
    int left = std::max(height - y - m, static_cast<int>(rows.size()) * px(60));
    int each = left / static_cast<int>(rows.size());
    for (const auto& r : rows) {
      int share = (room - static_cast<int>(r.size() - 1) * space) / static_cast<int>(r.size());
      for (std::size_t k = 0; k < r.size(); ++k) {
        Shown& l = lists[r[k]];
        int x = m + static_cast<int>(k) * (share + space);
        if (l.frame) {
          MoveWindow(l.frame, x, y, share, each - gap, TRUE);
          MoveWindow(l.list, x + px(8), y + line_height() + px(4), share - px(16), each - gap - line_height() - px(12),
                     TRUE);
        } else {
          MoveWindow(l.list, x, y, share, each - gap, TRUE);
        }
      }
      y += each;
    }
  }
  return y;
}

void ConverterWindow::layout(int width, int height) {
  if (panes_.empty() && !started_) return;
  int m = px(11), space = px(6), row = line_height() + px(8);
  int bottom = height - m - row;
  RECT area{m, m, width - m, bottom - m};
  if (tabs_) {
    MoveWindow(tabs_, m, m, width - 2 * m, bottom - 2 * m, TRUE);
    RECT r{m, m, width - m, bottom - m};
    SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    area = r;
  }
  for (std::size_t p = 0; p < panes_.size(); ++p) {
    MoveWindow(panes_[p]->hwnd(), area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    layout_page(p, area.right - area.left, area.bottom - area.top, true);
  }
  int x = m;
  auto place = [&](HWND c, int cw) {
    MoveWindow(c, x, bottom, cw, row, TRUE);
    x += cw + space;
  };
  place(prompts_[0], text_width(w(app::kConverterStarted)));
  place(started_, text_width(L"00:00:00") + px(6));
  x += px(10);
  place(prompts_[1], text_width(w(app::kConverterElapsed)));
  place(elapsed_, text_width(L"00:00:00") + px(6));
  x += px(10);
  int bw = std::max(px(88), text_width(w(form_.view().next_caption)) + px(24));
  int buttons = (next_ ? 3 : 1) * (bw + space);
  int count = text_width(w(app::documents_progress_text(9999, 9999))) + px(8);
  int bar = std::max(px(60), width - m - buttons - x - count - space);
  MoveWindow(progress_, x, bottom, bar, row, TRUE);
  MoveWindow(progress_text_, x + bar + space, bottom, count, row, TRUE);
  int bx = width - m - bw;
  for (HWND b : {cancel_, ok_, next_}) {
    if (!b) continue;
    MoveWindow(b, bx, bottom, bw, row, TRUE);
    bx -= bw + space;
  }
}

void ConverterWindow::progress(long long done, long long announced) {
  form_.progress(done, announced);
  for (HWND b : {next_, ok_, cancel_})
    if (b) EnableWindow(b, FALSE);
  ShowWindow(progress_, SW_SHOW);
  SendMessageW(progress_, PBM_SETRANGE32, 0, std::max(1LL, announced));
  SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(std::min(done, announced)), 0);
  SetWindowTextW(progress_text_, w(form_.progress_text()).c_str());
}

void ConverterWindow::press(std::optional<core::ConverterAction> action) {
  if (closed_) return;
  app::ConverterForm::Step step = form_.press(op_, action);
  if (step == app::ConverterForm::Step::shows_next) {
    show_view();
    return;
  }
  if (step != app::ConverterForm::Step::closes) return;
  closed_ = true;
  save_position(ini_, form_.section(), true);
  EnableWindow(owner_, TRUE);
  ShowWindow(hwnd_, SW_HIDE);
  ended_();  // the owner deletes this window once the button's work is done
}

LRESULT ConverterWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kNext:
          press(core::ConverterAction::next);
          return 0;
        case IDOK:
          press(core::ConverterAction::ok);
          return 0;
        case IDCANCEL:
          // Esc in a window of "&OK" alone is the frame's closing.
          press(cancel_ ? std::optional(core::ConverterAction::cancel) : std::nullopt);
          return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* n = reinterpret_cast<NMHDR*>(lp);
      if (tabs_ && n->hwndFrom == tabs_ && n->code == TCN_SELCHANGE) {
        current_ = static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
        show_pane();
      }
      return 0;
    }
    case WM_CLOSE:
      // The frame answers; whoever drives the run closes the window when the run ends.
      press(std::nullopt);
      return 0;
  }
  return Window::handle(msg, wp, lp);
}

}  // namespace tolvex::win
