// SPDX-License-Identifier: MIT
#include "app/converter_form.h"

#include <algorithm>

namespace tolvex::app {

using namespace runtime::literals;

bool is_tabbed(const core::ConverterView& view) {
  return view.pages.size() > 1 || (view.pages.size() == 1 && !view.pages.front().caption.empty());
}

std::string documents_progress_text(long long done, long long announced) {
  return std::string("документов "_w) + std::to_string(done) + std::string(" из "_w) + std::to_string(announced);
}

ConverterForm::Step ConverterForm::press(WindowOperator& op, std::optional<core::ConverterAction> action) {
  Step step = Step::ignored;
  op.guard([&] { step = press(action); });
  return step;
}

ConverterForm::Step ConverterForm::press(std::optional<core::ConverterAction> action) {
  if (busy_ || closed_) return Step::ignored;
  busy_ = true;
  struct Free {
    bool& b;
    ~Free() { b = false; }
  } free{busy_};
  run_.press(action.value_or(run_.frame_closing()));
  running_ = false;
  if (run_.waiting()) {
    view_ = run_.view();
    return Step::shows_next;
  }
  closed_ = true;
  return Step::closes;
}

void ConverterForm::progress(long long done, long long announced) {
  running_ = true;
  progress_ = documents_progress_text(std::min(done, announced), std::max(1LL, announced));
}

}  // namespace tolvex::app
