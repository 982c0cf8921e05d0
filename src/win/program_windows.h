// SPDX-License-Identifier: MIT
// The windows of the Windows desktop program: the information window (Splash_Pfr), the main
// window (Main) and the settings window (set_mode). What they show and do comes from src/app;
// here they are laid out, drawn, and their events forwarded.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/settings_form.h"
#include "core/conversion/one_pack.h"
#include "win/ui.h"
#include "win/win_operator.h"

namespace tolvex::win {

class SplashWindow : public Window {
 public:
  explicit SplashWindow(const core::ClockTime& today, HWND owner = nullptr);
  // Shows the window until it closes (five seconds, a click, a key, or the focus gone); its
  // position is kept in `ini` when given.
  void run(core::IniStore* ini, HWND owner);

 protected:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
  bool pre_translate(MSG& msg) override;

 private:
  std::vector<std::wstring> lines_;
  bool was_active_ = false;
};

class MainWindow : public Window {
 public:
  enum Id { kOnePack = 101, kBatch, kSettings, kSplash, kExit };
  MainWindow(core::Session& session, core::PackState& pack_state, WinOperator& op);

  // Restores the position and shows the window.
  void open();
  void one_pack(const std::optional<std::filesystem::path>& pack = std::nullopt);
  void batch();
  void settings();
  void splash();
  void guide();
  // Called every second while the window is open (the archivers started beside the program are
  // asked then).
  std::function<void()> every_second;

 protected:
  void layout(int width, int height) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
  bool pre_translate(MSG& msg) override;

 private:
  core::Session& s_;
  core::PackState& p_;
  WinOperator& op_;
  app::MainForm form_;
  std::map<int, HWND> buttons_;
  std::vector<HWND> reminders_;
  HWND tip_ = nullptr;
  HICON info_icon_ = nullptr;

 public:
  ~MainWindow() override;
};

class SettingsWindow : public Window {
 public:
  SettingsWindow(core::Session& session, WinOperator& op, HWND owner);
  ~SettingsWindow() override;
  void run(HWND owner);

 protected:
  void layout(int width, int height) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Field {
    const app::SettingsItem* item;
    HWND label = nullptr, edit = nullptr, browse = nullptr, check = nullptr, note = nullptr;
  };
  void show_page(int index);
  void command(int id, int code, HWND control);
  void leave(Field& f);
  void refresh();
  void finish();
  int page_height(std::size_t page, int width) const;
  void layout_page(std::size_t page, int width);

  core::Session& s_;
  WinOperator& op_;
  app::SettingsForm form_;
  HWND tabs_ = nullptr, ok_ = nullptr, cancel_ = nullptr, sample_ = nullptr;
  std::vector<Pane*> pages_;
  std::vector<std::vector<Field>> fields_;
  bool finished_ = false;
};

}  // namespace tolvex::win
