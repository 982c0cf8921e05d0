#include "app/startup.h"

#include "core/messages.h"
#include "runtime/file_error.h"
#include "runtime/paths.h"
#include "runtime/text_file.h"

namespace tolvex::app {

using namespace runtime::literals;

std::filesystem::path journal_path(const std::filesystem::path& folder) { return folder / "Report" / "tolvex.log"; }
std::filesystem::path settings_path(const std::filesystem::path& folder) { return folder / "tolvex.ini"; }

Program::Program(const std::filesystem::path& folder, core::Operator& op, core::Clock& clock,
                 core::ProgramRunner& programs, std::span<const core::DocumentKind> kinds)
    : folder_(folder), ini_(settings_path(folder)) {
  std::string program_folder = runtime::with_separator(runtime::path_to_ansi(folder));
  session_ = std::make_unique<core::Session>(ini_, journal_, op, clock, programs, kinds, program_folder);
  session_->load_settings();

  // The journal folder is made when it is missing; only a journal that still cannot be made
  // ends the program.
  std::filesystem::path log = journal_path(folder);
  std::string shown = "Report" + std::string(runtime::separator()) + "tolvex.log";
  std::error_code ec;
  std::filesystem::create_directories(log.parent_path(), ec);
  if (ec && !std::filesystem::is_directory(log.parent_path())) {
    core::show_warning(op, 4, shown, runtime::error_description(runtime::error_from_errno(ec.value())));
    throw core::ProgramEnd(std::string("Ошибка создания Файла!"_w), 3);
  }
  core::open_checked(
      op, shown, [&] { return journal_.file().open(log, true); },
      [&] { return runtime::LineWriter::create(log); });
  journal_.start(core::dd_mm_yyyy(session_->today));
}

Program::~Program() {
  pack_state_.out.close(false);
  journal_.file().close();
}

}  // namespace tolvex::app
