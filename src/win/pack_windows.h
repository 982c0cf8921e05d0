// SPDX-License-Identifier: MIT
// The windows of one pack in the Windows desktop program: the one-pack window (odna_pch) and
// the converter window of the pack's kind. What they show and do comes from app::OnePackForm
// and app::ConverterForm; here they are laid out, drawn, and their events forwarded.
#pragma once

#include <filesystem>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/converter_form.h"
#include "app/one_pack_form.h"
#include "core/conversion/one_pack.h"
#include "win/ui.h"
#include "win/win_operator.h"

namespace tolvex::win {

// A converter window over the one-pack window. It opens on the run's first document and waits
// for no button: each button is passed to the form by the window's own handler; when the run
// no longer waits the window hides, keeps its position and calls `ended`.
class ConverterWindow : public Window {
 public:
  ConverterWindow(core::DocumentRun& run, core::IniStore& ini, WinOperator& op, HWND owner,
                  std::function<void()> ended);
  ~ConverterWindow() override;
  // The documents done of the announced ones, while "&OK" runs the rest.
  void progress(long long done, long long announced);

 protected:
  void layout(int width, int height) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Shown {
    HWND frame = nullptr;                      // a group's or a list's frame, or nothing
    std::vector<std::pair<HWND, HWND>> pairs;  // prompt, value (with the word after it in the value)
    std::vector<std::size_t> widths;           // the record fields' widths
    HWND list = nullptr;
  };
  void show_view();
  void show_pane();
  void clear();
  void press(std::optional<core::ConverterAction> action);
  // Places (or only measures, `place` false) a page's groups and lists in `width`; returns the
  // height the groups take and, in `lists_height`, what the lists would like.
  int layout_page(std::size_t page, int width, int height, bool place, int* lists_height = nullptr);
  int group_width(const Shown& g, int columns) const;
  int pair_value_width(const Shown& g, std::size_t i) const;

  app::ConverterForm form_;
  core::IniStore& ini_;
  WinOperator& op_;
  HWND owner_;
  std::function<void()> ended_;
  HWND tabs_ = nullptr, started_ = nullptr, elapsed_ = nullptr, progress_ = nullptr, progress_text_ = nullptr;
  HWND next_ = nullptr, ok_ = nullptr, cancel_ = nullptr;
  std::vector<HWND> prompts_;  // "Начало:", "Время:"
  std::vector<std::unique_ptr<Pane>> panes_;
  std::vector<std::vector<Shown>> groups_, lists_;  // per page
  int current_ = 0;
  bool closed_ = false;
};

class OnePackWindow : public Window {
 public:
  OnePackWindow(core::Session& session, core::PackState& pack_state, WinOperator& op, HWND owner);
  ~OnePackWindow() override;
  // Shows the window over `owner` until the procedure ends; a pack named (dropped on the main
  // window or given on the command line) is taken at once.
  void run(HWND owner, const std::optional<std::filesystem::path>& pack);

 protected:
  void layout(int width, int height) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
  bool pre_translate(MSG& msg) override;

 private:
  struct Field {
    std::string name;  // "IST4:INN", "TYP_PFR"
    std::size_t width = 0;
    HWND prompt = nullptr, edit = nullptr;
    bool entry = false;
  };
  struct Group {
    const app::HeaderGroup* group;
    HWND frame;
    std::vector<std::vector<std::size_t>> rows;  // indexes into fields_
  };
  int group_height(const Group& g) const;
  void layout_group(const Group& g, int x, int y, int width);
  void refresh(bool keep_entries = false);
  void after_step();
  void command(int id, int code, HWND control);
  bool leave(Field& f);
  void convert_pack();
  void documents_done();
  void cancel();
  void finish();
  std::string text_of(HWND edit) const;

  core::Session& s_;
  WinOperator& op_;
  app::OnePackForm form_;
  std::vector<Field> fields_;
  std::vector<Group> groups_;
  std::map<std::string, HWND> own_;  // the window's own fields: PATH_IN4, IN4_FILE ...
  std::vector<HWND> labels_;  // "Входной каталог:", "Выходной файл XML", "Начало:", "Время работы:"
  HWND in4_ = nullptr, out_ = nullptr, ok_ = nullptr, cancel_ = nullptr, status_ = nullptr, tip_ = nullptr;
  std::list<std::wstring> tips_;  // the tips' texts, kept while the window lives
  std::unique_ptr<ConverterWindow> converter_;
  bool finished_ = false;
};

}  // namespace tolvex::win
