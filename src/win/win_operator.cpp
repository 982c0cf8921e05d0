// SPDX-License-Identifier: MIT
// clang-format off
#include "win/system.h"  // first: the Windows headers before the core's
// clang-format on

#include "win/win_operator.h"

#include <vector>

#include "app/main_form.h"
#include "win/ui.h"
#include "win/wide.h"

namespace tolvex::win {

namespace {

// The window the boxes and dialogs belong to: the active one of the program.
HWND owner() { return GetActiveWindow(); }

// "Пачки|*.*" (the runtime's filter) as the dialog's one filter.
std::vector<std::wstring> filter_parts(std::string_view filter) {
  std::wstring f = w(filter);
  std::size_t bar = f.find(L'|');
  if (bar == std::wstring::npos) return {f, f};
  return {f.substr(0, bar), f.substr(bar + 1)};
}

// The item of a path, or nothing.
IShellItem* item_of(const std::filesystem::path& p) {
  IShellItem* item = nullptr;
  if (FAILED(SHCreateItemFromParsingName(p.c_str(), nullptr, IID_PPV_ARGS(&item)))) return nullptr;
  return item;
}

std::optional<std::filesystem::path> run_dialog(std::string_view title, const std::vector<std::wstring>* filter,
                                                const std::filesystem::path& start, bool folders) {
  IFileOpenDialog* dialog = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog))))
    return std::nullopt;
  std::wstring t = w(title);
  dialog->SetTitle(t.c_str());
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  options |= FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR | (folders ? FOS_PICKFOLDERS : FOS_FILEMUSTEXIST);
  dialog->SetOptions(options);
  if (filter) {
    COMDLG_FILTERSPEC types{(*filter)[0].c_str(), (*filter)[1].c_str()};
    dialog->SetFileTypes(1, &types);
  }
  // At a pack: its folder with it named; at a folder: that folder.
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::is_regular_file(start, ec) ? start.parent_path() : start;
  if (IShellItem* at = item_of(folder)) {
    dialog->SetFolder(at);
    at->Release();
  }
  if (!folders && std::filesystem::is_regular_file(start, ec)) dialog->SetFileName(start.filename().c_str());
  std::optional<std::filesystem::path> chosen;
  if (SUCCEEDED(dialog->Show(owner()))) {
    IShellItem* result = nullptr;
    if (SUCCEEDED(dialog->GetResult(&result))) {
      PWSTR name = nullptr;
      if (SUCCEEDED(result->GetDisplayName(SIGDN_FILESYSPATH, &name))) {
        chosen = std::filesystem::path(name);
        CoTaskMemFree(name);
      }
      result->Release();
    }
  }
  dialog->Release();
  return chosen;
}

}  // namespace

core::Button WinOperator::message(const core::MessageBox& box) {
  std::vector<core::Button> buttons = box.buttons.empty() ? std::vector<core::Button>{core::Button::ok} : box.buttons;
  std::vector<std::wstring> captions;
  for (core::Button b : buttons) captions.push_back(w(app::button_caption(b)));
  std::vector<TASKDIALOG_BUTTON> td_buttons;
  for (std::size_t i = 0; i < buttons.size(); ++i)
    td_buttons.push_back({static_cast<int>(100 + i), captions[i].c_str()});
  std::wstring title = w(box.title), text = w(box.text), details = w(box.details);
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = owner();
  // A box closed by its frame or Esc answers with its last button, as the system's boxes do.
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW | TDF_SIZE_TO_CONTENT;
  config.pszWindowTitle = title.c_str();
  config.pszMainIcon = box.icon == core::Icon::stop ? TD_ERROR_ICON : TD_INFORMATION_ICON;
  config.pszContent = text.c_str();
  if (!details.empty()) config.pszExpandedInformation = details.c_str();
  config.cButtons = static_cast<UINT>(td_buttons.size());
  config.pButtons = td_buttons.data();
  config.nDefaultButton = 100;
  int pressed = 0;
  if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) {
    // Without the task dialog: the system's box with its own captions.
    UINT type = box.icon == core::Icon::stop ? MB_ICONERROR : MB_ICONINFORMATION;
    std::wstring all = details.empty() ? text : text + L"\n\n" + details;
    int r = MessageBoxW(owner(), all.c_str(), title.c_str(), type | MB_OK);
    (void)r;
    return buttons.front();
  }
  if (pressed >= 100 && pressed < 100 + static_cast<int>(buttons.size())) return buttons[pressed - 100];
  return buttons.back();
}

std::optional<std::filesystem::path> WinOperator::file_dialog(std::string_view title, std::string_view filter,
                                                              const std::filesystem::path& start) {
  std::vector<std::wstring> f = filter_parts(filter);
  return run_dialog(title, &f, start, false);
}

std::optional<std::filesystem::path> WinOperator::choose_folder(std::string_view title,
                                                                const std::filesystem::path& start) {
  return run_dialog(title, nullptr, start, true);
}

void WinOperator::let_windows_paint() { pump_messages(); }

void WinOperator::close_windows(const core::ProgramEnd& end) { PostQuitMessage(end.exit_status()); }

}  // namespace tolvex::win
