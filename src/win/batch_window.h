// SPDX-License-Identifier: MIT
// The batch window (all_pch) of the Windows desktop program: app::BatchForm laid out and drawn
// in Win32 controls. The batch runs on the window's thread; the windows paint and answer
// (the stop after the current pack) from its progress.
#pragma once

#include <string>
#include <vector>

#include "app/batch_form.h"
#include "win/ui.h"
#include "win/win_operator.h"

namespace tolvex::win {

class BatchWindow : public Window {
 public:
  BatchWindow(core::Session& session, core::PackState& pack_state, WinOperator& op, HWND owner);
  // Restores the position and runs the window until it closes.
  void run(HWND owner);

 protected:
  void layout(int width, int height) override;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  enum Id { kIn4 = 201, kOut7 };
  void draw();
  void start_batch();
  void cancel();
  void finish();

  core::Session& s_;
  WinOperator& op_;
  app::BatchForm form_;
  // The prompts, and the fields by the form's names.
  HWND mode_label_ = nullptr, in_label_ = nullptr, out_label_ = nullptr, count_label_ = nullptr,
       current_label_ = nullptr, name_label_ = nullptr, short_label_ = nullptr, size_label_ = nullptr,
       file_label_ = nullptr;
  HWND mode_ = nullptr, in_ = nullptr, out_ = nullptr, count_ = nullptr, current_ = nullptr, name_ = nullptr,
       short_ = nullptr, size_ = nullptr, file_ = nullptr;
  HWND in4_ = nullptr, out7_ = nullptr, ok_ = nullptr, cancel_ = nullptr, bar_ = nullptr, documents_ = nullptr;
  HWND tip_ = nullptr;
  int content_bottom_ = 0;  // below the line of documents, as laid out last
  bool finished_ = false;
};

}  // namespace tolvex::win
